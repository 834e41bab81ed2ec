// NormalizeFolderPath: keeps every other character in order, makes a leading run of separators
// exactly two and halves every inner run (rounding up), and changes nothing more once no inner
// run is left to halve.
#include "FuzzSupport.h"
#include "engine/FolderPath.h"

#include <QList>

namespace {

// The lengths of the runs of "/" in a text, in order.
QList<qsizetype> runs(const QString& text)
{
    QList<qsizetype> lengths;
    for (qsizetype i = 0; i < text.size();) {
        if (text[i] != QLatin1Char('/')) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < text.size() && text[i] == QLatin1Char('/'))
            ++i;
        lengths << i - start;
    }
    return lengths;
}

QString withoutSeparators(QString text)
{
    return text.remove(QLatin1Char('/'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString path = Fuzz::takeText(input, 4096);
    const QString normalized = NormalizeFolderPath(path);

    Fuzz::check(withoutSeparators(normalized) == withoutSeparators(path),
        "every other character is kept in order", path);

    QList<qsizetype> expected = runs(path);
    const bool leadingRun = path.startsWith(QLatin1Char('/'));
    for (qsizetype k = 0; k < expected.size(); ++k)
        expected[k] = (k == 0 && leadingRun) ? 2 : (expected[k] + 1) / 2;
    Fuzz::check(runs(normalized) == expected,
        "a leading run becomes two, every inner run half its length rounded up", path);

    if (normalized.indexOf(QStringLiteral("//"), 1) < 0)
        Fuzz::check(NormalizeFolderPath(normalized) == normalized,
            "a path without inner doubled separators stays as it is", path);
    return 0;
}
