#pragma once

#include "engine/GenerationOptions.h"
#include "engine/Language.h"

#include <QStringList>

class OptionsModel;

// What the options say, read alike by a run and by the status line, and the entries of the lists
// that name a letter rule.
namespace ShownOptions {

// The entries of the letter position list: the ordinals, "x" (asked for at Start) and "last".
const QStringList& positionTexts();
// The entries of the letter list before the letters themselves.
inline const QString vowel = QStringLiteral("[vowel]");
inline const QString consonant = QStringLiteral("[consonant]");

// The letter position that a position text other than "x" names: "last", the number of an
// ordinal, or else the number the text starts with.
QString letterPosition(const QString& positionText);

// The start, end and letter rules and the rules on word facts that the options give, the letter
// tested at the given position, for words of the language: a list for a fact its words lack
// keeps its entry for another language but sets no rule.
WordRules rules(
    const OptionsModel& options, std::optional<int> letterPosition, const Language& language);

// The word database of the chosen language, beside the program.
QString wordDatabase(const OptionsModel& options, const QString& programFolder);

// Whether a run raises the maximum length to the minimum before it draws: both bounds ticked, and
// the maximum's text less than the minimum's.
bool raisesMaximum(const OptionsModel& options);

} // namespace ShownOptions
