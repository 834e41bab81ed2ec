#pragma once

#include <QString>

// The tests a drawn word must pass, and the case change of an accepted word.
namespace AcceptanceRules {

// The position of the letter to test: the word's length for "last" or for a word shorter than
// the position, otherwise the position rounded to a whole number.
int testedPosition(const QString& word, const QString& letterPosition);

// The whole required text, lower-cased, equals the word's first character, lower-cased.
bool startRuleHolds(const QString& word, const QString& required);
// The same with the word's last character.
bool endRuleHolds(const QString& word, const QString& required);

// The word's character at a 1-based position, lower-cased (empty past the end).
// Throws PlatformError for a position below 1.
QString letterAt(const QString& word, int position);

bool isVowel(const QString& letter);

// Whether the letter meets what Combo3 shows: "[vowel]", "[consonant]" or a letter.
bool letterRuleHolds(const QString& letter, const QString& required);

// First letter of each blank-separated word upper case, every other letter lower case.
QString ProperCase(const QString& text);

} // namespace AcceptanceRules
