#pragma once

#include "engine/WordFacts.h"

#include <QString>
#include <optional>
#include <vector>

// The rule on one letter of a word.
struct LetterRule
{
    enum Kind
    {
        Vowel,
        Consonant,
        Letter
    };
    // Position of the tested letter from 1, or nothing for the last letter. A word shorter than
    // the position is tested at its last letter; a position below 1 cannot be tested.
    std::optional<int> position;
    Kind kind = Vowel;
    // For Letter: the text the tested letter must equal, both lower-cased.
    QString letter;

    bool operator==(const LetterRule&) const = default;
};

// The rules on a word's text. Judge tests every one of them; anything that asks whether a text
// rule is on compares with the defaults here, so that a rule added here is seen there too.
struct TextRules
{
    // Length bounds in characters, both inclusive.
    std::optional<qsizetype> minLength;
    std::optional<qsizetype> maxLength;
    // The text a word must start or end with, compared lower-cased. An empty text is compared
    // with the first (last) character, so it holds only for an empty word.
    std::optional<QString> start;
    std::optional<QString> end;
    // Every one must hold. The window sets one at most; the command line any number.
    std::vector<LetterRule> letters;
    // Characters each of which must be somewhere in the word, and characters none of which may
    // be; compared lower-cased, counted in characters.
    std::optional<QString> has;
    std::optional<QString> lacks;
    // The whole word against a pattern, compared lower-cased: '?' or '_' one character, '*' any
    // run of characters, none included.
    std::optional<QString> pattern;

    bool operator==(const TextRules&) const = default;
};

// What a word must meet to be delivered.
struct WordRules : TextRules
{
    // Rules on the word facts (WordFacts), which narrow the word set before the rules above. At
    // their defaults they hold for a word list without facts, where nothing is known of a word;
    // any other setting needs facts.
    // The highest SCOWL level a word may have (LevelTier); nothing for any word, SCOWL's or not.
    std::optional<int> maxLevel;
    // WordKind bits: the word must be a dictionary form of one of them. 0 for any word.
    quint8 kinds = 0;
    // Spelling bits: the word must be in one of these national lists. 0 for any.
    quint8 spellings = Spelling::American;
    // Whether words of every mark may be drawn, and whether words marked not for a class (and
    // not offensive) may.
    bool allowOffensive = false;
    bool allowMature = false;
    // Bit t for Topic t (WordFacts::topic): the word's topic must be one of them. 0 for any.
    quint64 topics = 0;
    // Syllable bounds, both inclusive; a word of unknown syllables meets neither.
    std::optional<int> minSyllables;
    std::optional<int> maxSyllables;
    // The words must rhyme with this one, by the pronouncing dictionary, and not be it.
    std::optional<QString> rhymesWith;
    // The letters the letter rule counts as vowels, lower case: those of the words' language.
    QString vowels = QStringLiteral("aeiou");

    bool needsFacts() const
    {
        return maxLevel || kinds || (spellings & ~Spelling::American) || topics || minSyllables
            || maxSyllables || rhymesWith;
    }

    bool operator==(const WordRules&) const = default;
};

// The options of a generation: filled from the window's controls at every attempt, or from the
// command line once.
struct GenerationOptions
{
    WordRules rules;
    // Deliver each word in proper case.
    bool properCase = false;
    // How the command line writes each word: as listed (or in proper case, above), all lower or
    // upper case, in proper case, or the first word of an output in proper case and the others
    // lower case (delivered lower case; the writer capitalises the first).
    enum class WordCase
    {
        AsListed,
        Lower,
        Upper,
        Proper,
        First
    };
    WordCase wordCase = WordCase::AsListed;

    bool operator==(const GenerationOptions&) const = default;
};
