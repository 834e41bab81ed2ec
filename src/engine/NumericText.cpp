#include "engine/NumericText.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace NumericText {

QChar localeDecimalPoint()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

namespace {

    bool isBlank(QChar c)
    {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t');
    }

    bool isDigit(QChar c)
    {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    }

    // Scans a number at position pos; returns its end, or -1 when there is none. The text it covers
    // is appended to out with "." as separator.
    qsizetype scanNumber(const QString& text, qsizetype pos, QChar decimalPoint, QString& out)
    {
        const qsizetype size = text.size();
        if (pos < size && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-')))
            out += text[pos++];
        qsizetype digits = 0;
        while (pos < size && isDigit(text[pos])) {
            out += text[pos++];
            ++digits;
        }
        if (pos < size && text[pos] == decimalPoint) {
            out += QLatin1Char('.');
            ++pos;
            while (pos < size && isDigit(text[pos])) {
                out += text[pos++];
                ++digits;
            }
        }
        if (digits == 0)
            return -1;
        if (pos < size && (text[pos] == QLatin1Char('e') || text[pos] == QLatin1Char('E'))) {
            qsizetype p = pos + 1;
            QString exponent = QStringLiteral("e");
            if (p < size && (text[p] == QLatin1Char('+') || text[p] == QLatin1Char('-')))
                exponent += text[p++];
            const qsizetype first = p;
            while (p < size && isDigit(text[p]))
                exponent += text[p++];
            if (p > first) {
                out += exponent;
                pos = p;
            }
        }
        return pos;
    }

    double toDouble(const QString& number)
    {
        bool ok = false;
        const double value = number.toDouble(&ok);
        if (ok)
            return value;
        // toDouble refuses values beyond the range of a double; they are still numbers. It gives
        // an infinity for one too large and zero for one too small: the exponent's sign alone
        // cannot tell (555...5e-0 is too large, 0.000...01 too small).
        const bool negative = number.startsWith(QLatin1Char('-'));
        if (std::isinf(value))
            return negative ? -std::numeric_limits<double>::infinity()
                            : std::numeric_limits<double>::infinity();
        return negative ? -0.0 : 0.0;
    }

} // namespace

std::optional<double> value(const QString& text, QChar decimalPoint)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    QString number;
    number.reserve(end - begin);
    const QString trimmed = text.mid(begin, end - begin);
    if (scanNumber(trimmed, 0, decimalPoint, number) != trimmed.size())
        return std::nullopt;
    return toDouble(number);
}

qint32 roundHalfEven32(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<qint32>::min();
    constexpr double high = std::numeric_limits<qint32>::max();
    if (value <= low)
        return std::numeric_limits<qint32>::min();
    if (value >= high)
        return std::numeric_limits<qint32>::max();
    // nearbyint follows the default rounding mode: to nearest, ties to even.
    return static_cast<qint32>(std::nearbyint(value));
}

double leadingNumber(const QString& text)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    QString number;
    if (scanNumber(text, pos, QLatin1Char('.'), number) < 0)
        return 0;
    return toDouble(number);
}

QString wholeNumberText(double value)
{
    return QString::number(value, 'g', 17);
}

std::optional<bool> isLess(const QString& a, const QString& b)
{
    const auto x = value(a);
    const auto y = value(b);
    if (!x || !y)
        return std::nullopt;
    return *x < *y;
}

bool isWholeNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = t.startsWith(QLatin1Char('+')) || t.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (i == t.size())
        return false;
    for (; i < t.size(); ++i) {
        if (t[i] < QLatin1Char('0') || t[i] > QLatin1Char('9'))
            return false;
    }
    return true;
}

std::optional<quint64> digitsValue(const QString& text, quint64 max)
{
    if (text.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : text) {
        const auto digit = quint64(c.unicode() - u'0');
        if (!isDigit(c) || digit > max || value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

} // namespace NumericText
