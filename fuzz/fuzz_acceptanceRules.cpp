// ProperCase and the acceptance rules: ProperCase keeps the length and every non-letter and cases
// each letter by whether it starts a word; a word meets the rules that name its own first, last
// and tested letter; the tested position never lies past the word.
#include "FuzzSupport.h"
#include "engine/AcceptanceRules.h"
#include "engine/NumericText.h"
#include "engine/PlatformError.h"

#include <QStringList>
#include <iterator>

namespace {

bool isSeparator(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\n' || c == U'\v' || c == U'\f' || c == U'\r'
        || c == U'\0';
}

// A word made of pieces whose case needs care: separators, letters that change length or have a
// title case, letters beyond the first 65536, lone surrogates, digits and marks.
QString trickyWord(FuzzedDataProvider& input)
{
    static const QString pieces[]
        = { QStringLiteral("a"), QStringLiteral("Z"), QStringLiteral(" "), QStringLiteral("\t"),
              QStringLiteral("\r"), QString(QChar(0)), QStringLiteral("-"), QStringLiteral("'"),
              QStringLiteral("7"), QStringLiteral("\u00df"), QStringLiteral("\u0130"),
              QStringLiteral("\u01c5"), QStringLiteral("\u00e9"), QStringLiteral("e\u0301"),
              QString::fromUcs4(U"\U00010428"), QString::fromUcs4(U"\U00010400"),
              QString::fromUcs4(U"\U0001D49C"), QString(QChar(0xD801)), QString(QChar(0xDC28)) };
    constexpr int last = int(std::size(pieces)) - 1;
    QString word;
    const int count = input.ConsumeIntegralInRange<int>(0, 12);
    for (int k = 0; k < count; ++k)
        word += pieces[input.ConsumeIntegralInRange<int>(0, last)];
    return word;
}

void checkProperCase(const QString& text)
{
    const QString proper = AcceptanceRules::ProperCase(text);
    Fuzz::check(proper.size() == text.size(), "ProperCase keeps the length", text);
    Fuzz::check(AcceptanceRules::ProperCase(proper) == proper, "ProperCase is idempotent", text);

    // Letter by letter, whole code points: upper case at the start of a word, lower elsewhere.
    const QList<uint> before = text.toUcs4();
    const QList<uint> after = proper.toUcs4();
    Fuzz::check(before.size() == after.size(), "ProperCase keeps the code points", text);
    bool startOfWord = true;
    for (qsizetype k = 0; k < before.size(); ++k) {
        const char32_t c = before[k];
        const char32_t p = after[k];
        if (QChar::isLetter(c))
            Fuzz::check(p == (startOfWord ? QChar::toUpper(c) : QChar::toLower(c)),
                "ProperCase cases each letter by its place in the word", text);
        else
            Fuzz::check(p == c, "ProperCase leaves non-letters alone", text);
        startOfWord = isSeparator(c);
    }
}

void checkRules(const QString& word, const QString& letterPosition)
{
    using namespace AcceptanceRules;
    WordRules start;
    start.start = word.left(1);
    WordRules end;
    end.end = word.right(1);
    Fuzz::check(judge(word, start).accepted, "a word starts with its first character", word);
    Fuzz::check(judge(word, end).accepted, "a word ends with its last character", word);

    const std::optional<int> position = letterPositionOf(letterPosition);
    const int tested = testedPosition(word, position);
    Fuzz::check(tested <= word.size(), "the tested position lies within the word",
        word + QLatin1Char('|') + letterPosition);
    if (letterPosition == QLatin1String("last"))
        Fuzz::check(tested == word.size(), "\"last\" tests the last letter", word);

    const auto judged = [&](LetterRule::Kind kind, const QString& letter) {
        WordRules rules;
        rules.letters = { LetterRule { position, kind, letter } };
        return judge(word, rules);
    };
    if (tested < 1) {
        Fuzz::check(!judged(LetterRule::Vowel, {}).letterFailure.isEmpty(),
            "a position below 1 cannot be taken", word + QLatin1Char('|') + letterPosition);
        return;
    }
    const QString letter = letterAt(word, tested);
    Fuzz::check(judged(LetterRule::Letter, word.mid(tested - 1, 1)).accepted,
        "a word meets the letter rule that names its own letter", word);
    Fuzz::check(
        judged(LetterRule::Vowel, {}).accepted != judged(LetterRule::Consonant, {}).accepted,
        "a letter is a vowel or a consonant", word);
    Fuzz::check(isVowel(letter) == QStringList({ "a", "e", "i", "o", "u" }).contains(letter),
        "the vowels are a, e, i, o and u", letter);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString word = input.ConsumeBool() ? trickyWord(input) : Fuzz::takeText(input, 256);
    const QString letterPosition
        = input.ConsumeBool() ? QStringLiteral("last") : Fuzz::takeText(input, 32);
    checkProperCase(word);
    checkRules(word, letterPosition);
    return 0;
}
