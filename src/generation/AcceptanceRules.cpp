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
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        const bool separator = u == u' ' || u == u'\t' || u == u'\n' || u == u'\v' || u == u'\f'
            || u == u'\r' || u == u'\0';
        if (c.isLetter())
            c = startOfWord ? c.toUpper() : c.toLower();
        startOfWord = separator;
    }
    return result;
}

} // namespace AcceptanceRules
