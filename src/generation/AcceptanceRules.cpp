#include "generation/AcceptanceRules.h"

#include "generation/NumericText.h"
#include "platform/PlatformError.h"

#include <QLocale>

namespace AcceptanceRules {

namespace {

    QString lower(const QString& text)
    {
        static const QLocale locale;
        return locale.toLower(text);
    }

} // namespace

int testedPosition(const QString& word, const QString& letterPosition)
{
    const int length = int(word.size());
    if (letterPosition == QLatin1String("last"))
        return length;
    const auto number = NumericText::value(letterPosition);
    const qint32 p = NumericText::roundHalfEven32(
        number ? *number : NumericText::leadingNumber(letterPosition));
    return length < p ? length : p;
}

bool startRuleHolds(const QString& word, const QString& required)
{
    return lower(required) == lower(word.left(1));
}

bool endRuleHolds(const QString& word, const QString& required)
{
    return lower(required) == lower(word.right(1));
}

QString letterAt(const QString& word, int position)
{
    if (position < 1)
        throw PlatformError(QStringLiteral("Invalid procedure call or argument"));
    return lower(word.mid(position - 1, 1));
}

bool isVowel(const QString& letter)
{
    return letter.size() == 1 && QStringLiteral("aeiou").contains(letter.front());
}

bool letterRuleHolds(const QString& letter, const QString& required)
{
    if (required == QLatin1String("[vowel]"))
        return isVowel(letter);
    if (required == QLatin1String("[consonant]"))
        return !isVowel(letter);
    return lower(required) == letter;
}

QString ProperCase(const QString& text)
{
    QString result = text;
    bool startOfWord = true;
    for (qsizetype i = 0; i < result.size(); ++i) {
        // A letter beyond the first 65536 takes two units and is cased as one character.
        const bool pair = result[i].isHighSurrogate() && i + 1 < result.size()
            && result[i + 1].isLowSurrogate();
        char32_t u = pair ? QChar::surrogateToUcs4(result[i], result[i + 1]) : result[i].unicode();
        const bool separator = u == U' ' || u == U'\t' || u == U'\n' || u == U'\v' || u == U'\f'
            || u == U'\r' || u == U'\0';
        if (QChar::isLetter(u))
            u = startOfWord ? QChar::toUpper(u) : QChar::toLower(u);
        if (pair) {
            result[i] = QChar(QChar::highSurrogate(u));
            result[++i] = QChar(QChar::lowSurrogate(u));
        } else {
            result[i] = QChar(char16_t(u));
        }
        startOfWord = separator;
    }
    return result;
}

} // namespace AcceptanceRules
