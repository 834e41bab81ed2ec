// Separator layouts: the pieces of a file concatenate to the words joined by the layout's joiner,
// and only the five list texts name a layout.
#include "FuzzSupport.h"
#include "engine/SeparatorLayout.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto layout
        = static_cast<SeparatorLayout::Position>(input.ConsumeIntegralInRange<int>(0, 4));
    const QString separatorX = Fuzz::takeText(input, 16);
    const QString shown = Fuzz::takeText(input, 64);
    QStringList words;
    const int count = input.ConsumeIntegralInRange<int>(0, 32);
    for (int k = 0; k < count; ++k)
        words << Fuzz::takeText(input, 32);

    const QString joiner = SeparatorLayout::joiner(layout, separatorX);
    static const QStringList joiners { QStringLiteral("\r\n"), QStringLiteral(" "),
        QStringLiteral(","), QStringLiteral(", ") };
    Fuzz::check(
        joiner == (layout == SeparatorLayout::TypedSeparator ? separatorX : joiners[layout]),
        "each layout has its joiner", separatorX);

    QString file;
    for (qsizetype k = 0; k < words.size(); ++k)
        file += SeparatorLayout::piece(words[k], k + 1 == words.size(), joiner);
    Fuzz::check(file == words.join(joiner), "the pieces join the words with the joiner",
        words.join(QLatin1Char('|')));

    const auto found = SeparatorLayout::fromText(shown);
    Fuzz::check(found.has_value() == SeparatorLayout::texts().contains(shown),
        "only a list text names a layout", shown);
    if (found)
        Fuzz::check(
            SeparatorLayout::texts()[*found] == shown, "a list text names its own layout", shown);
    return 0;
}
