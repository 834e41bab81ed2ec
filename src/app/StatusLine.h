#pragma once

#include "engine/GenerationOptions.h"
#include "engine/Language.h"

#include <QObject>
#include <QTimer>
#include <memory>

class CommandWindow;
class OptionsModel;
class WordSet;

// The line at the foot of the window: how many words of the database meet the options as they
// stand and how many bits a word drawn among them is worth, and after a run what it delivered. The
// count uses the engine's own rules on a list of every word, loaded once; changes to the options
// are counted together once typing pauses.
class StatusLine : public QObject
{
    Q_OBJECT
public:
    explicit StatusLine(CommandWindow& form);
    ~StatusLine() override;

    // Loads the word list and shows the first count; without a list the line stays empty.
    void load();
    // What a run delivered: the word count, whether the user stopped it or an error ended it, and
    // the file it wrote (empty for the list).
    void runEnded(int delivered, bool stopped, bool failed, const QString& file);
    // What another command did.
    void commandDone(const QString& text);

    // The rules the options in the window give for words of the language; nothing when they
    // cannot be counted (a length bound that is not a whole number).
    static std::optional<WordRules> rulesShown(
        const OptionsModel& options, const Language& language);

    // The texts the line shows.
    // bits: what one word drawn among the matching ones is worth to someone guessing it.
    static QString countText(int matching, int total, double bits);
    static QString runText(int delivered, bool stopped, bool failed, const QString& file);
    static QString copiedText(int rows);
    static QString savedText(int words, const QString& file);
    static QString exportedText(int rows);
    static QString clearedText();
    static QString deletedText(int rowsLeft);

private:
    void optionsChanged();
    void recount();
    void show(const QString& text);

    CommandWindow& m_form;
    std::unique_ptr<WordSet> m_words;
    Language m_language;
    // Whether the words were loaded once: a language restored at start-up waits for that load.
    bool m_loaded = false;
    QTimer m_recount;
};
