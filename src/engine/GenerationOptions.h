#pragma once

#include <QString>
#include <optional>

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

// What a word must meet to be delivered.
struct WordRules
{
    // Length bounds in characters, both inclusive.
    std::optional<qsizetype> minLength;
    std::optional<qsizetype> maxLength;
    // The text a word must start or end with, compared lower-cased. An empty text is compared
    // with the first (last) character, so it holds only for an empty word.
    std::optional<QString> start;
    std::optional<QString> end;
    std::optional<LetterRule> letter;

    bool operator==(const WordRules&) const = default;
};

// The options of a generation: filled from the window's controls at every attempt, or from the
// command line once.
struct GenerationOptions
{
    WordRules rules;
    // Deliver each word in proper case.
    bool properCase = false;

    bool operator==(const GenerationOptions&) const = default;
};
