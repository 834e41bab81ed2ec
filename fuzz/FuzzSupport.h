#pragma once

#include <QString>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace Fuzz {

// A text from the input: mostly UTF-8, so that short inputs reach plain texts, sometimes raw
// UTF-16 units, so that lone surrogates and any other code unit are reached too.
inline QString takeText(FuzzedDataProvider& input, size_t maxBytes = 512)
{
    const bool raw = input.ConsumeBool();
    const std::string bytes = input.ConsumeRandomLengthString(maxBytes);
    if (!raw)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(char16_t));
    return QString::fromUtf16(units.data(), qsizetype(units.size()));
}

// A text shaped like a number, with runs of digits long enough to leave the range of a double
// at either end, and a few stray characters: random bytes rarely get that far.
inline QString numberLikeText(FuzzedDataProvider& input, QChar decimalPoint)
{
    const QString pieces[] = { QStringLiteral(" "), QStringLiteral("\t"), QStringLiteral("+"),
        QStringLiteral("-"), QStringLiteral("e"), QStringLiteral("E"), QStringLiteral("x"),
        QString(decimalPoint) };
    QString text;
    const int parts = input.ConsumeIntegralInRange<int>(1, 8);
    for (int k = 0; k < parts; ++k) {
        if (input.ConsumeBool()) {
            const QChar digit = QLatin1Char(char('0' + input.ConsumeIntegralInRange<int>(0, 9)));
            const int longest = input.ConsumeBool() ? 6 : 400;
            text += QString(input.ConsumeIntegralInRange<int>(1, longest), digit);
        } else {
            text += pieces[input.ConsumeIntegralInRange<int>(0, 7)];
        }
    }
    return text;
}

// Ends the run as a finding, naming the broken property and the text it broke on.
[[noreturn]] inline void fail(const char* property, const QString& detail)
{
    // Printable ASCII as it is, every other unit escaped, so that the input can be read back.
    std::string shown;
    for (QChar c : detail.left(2000)) {
        char escaped[8];
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f && c != QLatin1Char('\\'))
            shown += char(c.unicode());
        else if (std::snprintf(escaped, sizeof escaped, "\\u%04x", c.unicode()) > 0)
            shown += escaped;
    }
    std::fprintf(stderr, "Property broken: %s\nInput: \"%s\"\n", property, shown.c_str());
    std::abort();
}

inline void check(bool holds, const char* property, const QString& detail)
{
    if (!holds)
        fail(property, detail);
}

} // namespace Fuzz
