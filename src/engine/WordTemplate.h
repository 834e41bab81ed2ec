#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// One slot of a template: a text drawn among those that meet it.
struct TemplateSlot
{
    enum class Fill
    {
        Word,
        Digit,
        Symbol
    };
    Fill fill = Fill::Word;
    // As the user wrote it, for messages: {animal}, or an acrostic's letter.
    QString shown;
    // A word slot's rule, held beside every other rule given: a part of speech (WordKind bit), a
    // topic (WordFacts::topic) or the text the word starts with, compared as --start compares.
    quint8 wordKind = 0;
    int topic = 0;
    std::optional<QString> start;
};

// Literal bytes with slots between them; literals[i] stands before blanks[i], and the last literal
// after the last slot.
struct WordTemplate
{
    std::vector<QByteArray> literals;
    std::vector<TemplateSlot> blanks;
};

namespace WordTemplates {

// {noun}, {verb}, {adjective}, {adverb} (the parts of speech, which come before a topic of the
// same name), a topic's name, {digit} and {symbol} are slots; {{ and }} are braces and every other
// byte stands for itself. Throws RuleError naming what it cannot read, or for a text without a
// slot.
WordTemplate parse(const QByteArray& text);

// One slot per letter of word, each a word that starts with it, separator between them. Throws
// RuleError for an empty word or a character that is not a letter.
WordTemplate acrostic(const QString& word, const QByteArray& separator);

} // namespace WordTemplates
