#pragma once

#include <QChar>
#include <QString>
#include <QtGlobal>
#include <optional>

// Number texts as the user types them: blanks around, an optional sign, digits with at most
// one decimal separator (at least one digit), an optional exponent.
namespace NumericText {

// The decimal separator of the user's locale.
QChar localeDecimalPoint();

// The value of a numeric text, or nothing when the text is not numeric.
std::optional<double> value(const QString& text, QChar decimalPoint);
inline std::optional<double> value(const QString& text)
{
    return value(text, localeDecimalPoint());
}

inline bool isNumeric(const QString& text, QChar decimalPoint)
{
    return value(text, decimalPoint).has_value();
}
inline bool isNumeric(const QString& text)
{
    return value(text).has_value();
}

// Whether the number in a is smaller than the number in b; nothing when either is not numeric.
std::optional<bool> isLess(const QString& a, const QString& b);

// Digits only, with an optional sign and blanks around: a text that can stand as a number in a
// query as it is.
bool isWholeNumber(const QString& text);

// The value of a text of digits alone (no sign, blanks or separator) up to max; nothing for any
// other text, so that a stray character is refused rather than read as something not meant.
std::optional<quint64> digitsValue(const QString& text, quint64 max);

// Rounds to the nearest whole number, halves to the even neighbour, kept within 32 bits.
qint32 roundHalfEven32(double value);

// The number read from the start of a text: blanks skipped, reading stops at the first character
// that cannot continue a number; 0 when there is none. Always uses "." as the separator.
double leadingNumber(const QString& text);

// A whole number written the way the settings and positions hold it.
QString wholeNumberText(double value);

} // namespace NumericText
