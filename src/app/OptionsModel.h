#pragma once

#include <QObject>
#include <QString>
#include <array>

// Every option the window shows, as the commands and the status line read it: a text, a check
// state, a selected choice or a list's chosen entry. The window keeps it in step with its
// controls both ways; listeners hear of each change.
class OptionsModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    enum Option
    {
        // Texts.
        HowMany,
        MinLength,
        StartLetter,
        EndLetter,
        Folder,
        MaxLength,
        // Tick boxes: their check state.
        UpperCaseFirst,
        MustStart,
        MustEnd,
        LetterRule,
        MaxBound,
        MinBound,
        // The two output choices: selected or not.
        ListOutput,
        FileOutput,
        // Lists: the chosen entry's index (-1 for none) and its text.
        Layout,
        LetterPosition,
        LetterKind,
        OptionCount
    };
    Q_ENUM(Option)

    QString text(Option option) const { return m_values[option].text; }
    // The check state, 1 for a selected choice, or the chosen entry's index.
    int state(Option option) const { return m_values[option].state; }
    // A tick box counts as ticked only when it is fully ticked.
    bool ticked(Option option) const { return state(option) == Qt::Checked; }
    bool unticked(Option option) const { return state(option) == Qt::Unchecked; }
    bool chosen(Option option) const { return state(option) != 0; }

    void setText(Option option, const QString& text);
    void setState(Option option, int state);
    void setEntry(Option option, int index, const QString& text);

    // The key the option is stored under.
    static const QString& keyOf(Option option);
    // Whether the option shapes which words match, and so the count of matching words.
    static bool isWordRule(Option option);

signals:
    void changed(OptionsModel::Option option);

private:
    struct Value
    {
        QString text;
        int state = 0;
    };
    std::array<Value, OptionCount> m_values;
};
