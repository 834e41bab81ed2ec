#include "app/ShownOptions.h"

#include "app/OptionsModel.h"
#include "engine/NumericText.h"

#include <iterator>

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

const QStringList& commonnessTexts()
{
    static const QStringList texts { QStringLiteral("any level"), QStringLiteral("everyday words"),
        QStringLiteral("common words") };
    return texts;
}

const QStringList& kindTexts()
{
    static const QStringList texts { QStringLiteral("any kind"), QStringLiteral("nouns"),
        QStringLiteral("verbs"), QStringLiteral("adjectives"), QStringLiteral("adverbs") };
    return texts;
}

const QStringList& spellingTexts()
{
    static const QStringList texts { QStringLiteral("American spelling"),
        QStringLiteral("British spelling"), QStringLiteral("Canadian spelling"),
        QStringLiteral("any spelling") };
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

WordRules rules(const OptionsModel& options, std::optional<int> letterPosition)
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
        rules.letter = letter;
    }
    // Indexes as the lists above give them.
    static constexpr std::optional<int> levels[]
        = { std::nullopt, LevelTier::everyday, LevelTier::common };
    static constexpr quint8 kinds[]
        = { 0, WordKind::Noun, WordKind::Verb, WordKind::Adjective, WordKind::Adverb };
    static constexpr quint8 spellings[]
        = { Spelling::American, Spelling::British, Spelling::Canadian, 0 };
    const auto entry = [&](O::Option option, const auto& values) {
        const int index = options.state(option);
        return values[index > 0 && size_t(index) < std::size(values) ? index : 0];
    };
    rules.maxLevel = entry(O::Commonness, levels);
    rules.kinds = entry(O::Kind, kinds);
    rules.spellings = entry(O::Spellings, spellings);
    // Only a clear box lets them in.
    rules.offensive = options.unticked(O::LeaveOutOffensive);
    return rules;
}

bool raisesMaximum(const OptionsModel& options)
{
    using O = OptionsModel;
    return options.ticked(O::MinBound) && options.ticked(O::MaxBound)
        && NumericText::isLess(options.text(O::MaxLength), options.text(O::MinLength))
               .value_or(false);
}

} // namespace ShownOptions
