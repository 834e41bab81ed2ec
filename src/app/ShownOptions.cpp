#include "app/ShownOptions.h"

#include "app/OptionsModel.h"
#include "engine/NumericText.h"
#include "engine/WordDatabasePath.h"

namespace ShownOptions {

namespace {

    constexpr int ordinalCount = 4;

} // namespace

const QStringList& positionTexts()
{
    static const QStringList texts { QStringLiteral("1st"), QStringLiteral("2nd"),
        QStringLiteral("3rd"), QStringLiteral("4rd"), QStringLiteral("x"), QStringLiteral("last") };
    return texts;
}

QString letterPosition(const QString& positionText)
{
    if (positionText == QLatin1String("last"))
        return positionText;
    const qsizetype ordinal = positionTexts().indexOf(positionText);
    return ordinal >= 0 && ordinal < ordinalCount
        ? QString::number(ordinal + 1)
        : NumericText::wholeNumberText(NumericText::leadingNumber(positionText));
}

WordRules rules(
    const OptionsModel& options, std::optional<int> letterPosition, const Language& language)
{
    using O = OptionsModel;
    WordRules rules;
    if (options.ticked(O::MustStart))
        rules.start = options.text(O::StartLetter);
    if (options.ticked(O::MustEnd))
        rules.end = options.text(O::EndLetter);
    if (options.ticked(O::LetterRule)) {
        LetterRule letter { letterPosition, LetterRule::Letter, options.text(O::LetterKind) };
        if (letter.letter == vowel)
            letter.kind = LetterRule::Vowel;
        else if (letter.letter == consonant)
            letter.kind = LetterRule::Consonant;
        rules.letters = { letter };
    }
    for (const O::Option list :
        { O::Commonness, O::Kind, O::Spellings, O::LeaveOutOffensive, O::Topic, O::Syllables })
        if (language.has(QLatin1String(OptionTable::row(list).fact)))
            OptionTable::setChosenEntry(rules, list, options.state(list));
    language.applyTo(rules);
    return rules;
}

QString wordDatabase(const OptionsModel& options, const QString& programFolder)
{
    const QString code = options.text(OptionsModel::Language);
    return languageDatabasePath(programFolder, code.isEmpty() ? QStringLiteral("en") : code);
}

bool raisesMaximum(const OptionsModel& options)
{
    using O = OptionsModel;
    return options.ticked(O::MinBound) && options.ticked(O::MaxBound)
        && NumericText::isLess(options.text(O::MaxLength), options.text(O::MinLength))
               .value_or(false);
}

} // namespace ShownOptions
