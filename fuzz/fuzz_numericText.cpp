// Number texts: value() against a reference grammar and the C library's conversion; rounding
// and leadingNumber() against their definitions; RandomInteger() stays within 1 to n.
#include "FuzzSupport.h"
#include "engine/NumericText.h"
#include "engine/RandomInteger.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace {

// The grammar once more, as a pattern: sign, digits with at most one separator (a digit at
// least), then an exponent.
QString numberPattern(QChar decimalPoint)
{
    const QString point = QRegularExpression::escape(QString(decimalPoint));
    return QStringLiteral("[+-]?(?:[0-9]+(?:%1[0-9]*)?|%1[0-9]+)(?:[eE][+-]?[0-9]+)?").arg(point);
}

// The C library's reading of a number that matched the pattern (the harness keeps the "C"
// locale, so strtod reads "." as the separator).
double referenceValue(QString number, QChar decimalPoint)
{
    number.replace(decimalPoint, QLatin1Char('.'));
    return std::strtod(number.toLatin1().constData(), nullptr);
}

// A whole text that is a number, with blanks and tabs around it.
QRegularExpression wholeText(QChar decimalPoint)
{
    return QRegularExpression(
        QStringLiteral("\\A[ \\t]*(%1)[ \\t]*\\z").arg(numberPattern(decimalPoint)));
}

// The text with every surrogate unit replaced by U+FFFD: the pattern matcher refuses ill-formed
// UTF-16 as a whole, and no surrogate can take part in a number.
QString matchable(QString text)
{
    for (QChar& c : text)
        if (c.isSurrogate())
            c = QChar::ReplacementCharacter;
    return text;
}

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

void checkRounding(double value)
{
    const qint32 rounded = NumericText::roundHalfEven32(value);
    const QString detail = QString::number(value, 'g', 17);
    if (std::isnan(value)) {
        Fuzz::check(rounded == 0, "NaN rounds to 0", detail);
        return;
    }
    constexpr double low = std::numeric_limits<qint32>::min();
    constexpr double high = std::numeric_limits<qint32>::max();
    if (value <= low || value >= high) {
        Fuzz::check(rounded
                == (value < 0 ? std::numeric_limits<qint32>::min()
                              : std::numeric_limits<qint32>::max()),
            "out-of-range values are clamped", detail);
        return;
    }
    const double distance = std::fabs(double(rounded) - value);
    Fuzz::check(distance <= 0.5, "rounded value lies within 0.5", detail);
    if (distance == 0.5)
        Fuzz::check(rounded % 2 == 0, "halves go to the even neighbour", detail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    static const QChar points[] = { QLatin1Char('.'), QLatin1Char(','), QChar(0x066B) };
    static const QRegularExpression wholeTexts[]
        = { wholeText(points[0]), wholeText(points[1]), wholeText(points[2]) };
    const int choice = input.ConsumeIntegralInRange<int>(0, 2);
    const QChar decimalPoint = points[choice];
    const double number = input.ConsumeFloatingPoint<double>();
    const double u = input.ConsumeProbability<double>();
    const int n = input.ConsumeIntegralInRange<int>(1, std::numeric_limits<int>::max());
    const QString text = input.ConsumeBool() ? Fuzz::numberLikeText(input, decimalPoint)
                                             : Fuzz::takeText(input, 4096);

    // value(): accepted exactly when the whole text, blanks and tabs around, matches the grammar;
    // its value is the correctly rounded one.
    const QRegularExpressionMatch match = wholeTexts[choice].match(matchable(text));
    const auto value = NumericText::value(text, decimalPoint);
    Fuzz::check(
        value.has_value() == match.hasMatch(), "value() accepts what the grammar accepts", text);
    if (value) {
        Fuzz::check(same(*value, referenceValue(match.captured(1), decimalPoint)),
            "value() gives the correctly rounded number", text);
        checkRounding(*value);
    }

    // leadingNumber(): the longest number after leading blanks, "." as separator, or 0.
    static const QRegularExpression leading(
        QStringLiteral("\\A[ \\t]*(%1)").arg(numberPattern(QLatin1Char('.'))));
    const QRegularExpressionMatch prefix = leading.match(matchable(text));
    const double expected
        = prefix.hasMatch() ? referenceValue(prefix.captured(1), QLatin1Char('.')) : 0.0;
    Fuzz::check(same(NumericText::leadingNumber(text), expected),
        "leadingNumber() reads the longest leading number", text);

    checkRounding(number);
    if (std::isfinite(number)) {
        const auto back
            = NumericText::value(NumericText::wholeNumberText(number), QLatin1Char('.'));
        Fuzz::check(back && *back == number, "wholeNumberText() reads back as the same number",
            NumericText::wholeNumberText(number));
    }

    if (u < 1.0) {
        const int row = RandomInteger(u, n);
        Fuzz::check(row >= 1 && row <= n, "RandomInteger(u, n) lies in 1..n",
            QStringLiteral("u=%1 n=%2").arg(u, 0, 'g', 17).arg(n));
    }
    return 0;
}
