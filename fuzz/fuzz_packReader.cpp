// PackedWordSet::fromPack: takes exactly the packs whose layout holds (magic, version, a size that
// matches the header, offsets that start at 0, never run backwards and end at the text's size), and
// every word and fact of a pack it takes reads inside it and gives back the pack's text.
#include "FuzzSupport.h"
#include "engine/PackedWordSet.h"
#include "engine/WordFacts.h"

#include <QtEndian>

namespace {

quint32 at(const QByteArray& bytes, qint64 position)
{
    return qFromLittleEndian<quint32>(bytes.constData() + position);
}

void append(QByteArray& bytes, quint32 value)
{
    value = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

bool wellFormed(const QByteArray& pack)
{
    if (pack.size() < WordPack::headerSize || at(pack, 0) != WordPack::magic
        || at(pack, 4) != WordPack::version)
        return false;
    const qint64 count = at(pack, 8);
    const qint64 textSize = at(pack, 12);
    const qint64 factBytes
        = (at(pack, 16) & WordPack::hasFacts) ? qint64(sizeof(WordFacts)) * count : 0;
    if (pack.size() != WordPack::headerSize + 4 * (count + 1) + 2 * textSize + factBytes)
        return false;
    for (qint64 i = 0; i <= count; ++i) {
        const qint64 offset = at(pack, WordPack::headerSize + 4 * i);
        const qint64 before = i == 0 ? 0 : at(pack, WordPack::headerSize + 4 * (i - 1));
        if (offset < before || (i == 0 && offset != 0) || (i == count && offset != textSize))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    QByteArray pack;
    // Mostly a header that passes the first checks, small sizes and offsets near the text's end:
    // random bytes would rarely get past the magic number.
    if (input.ConsumeBool()) {
        const quint32 count = input.ConsumeIntegralInRange<quint32>(0, 6);
        const quint32 textSize = input.ConsumeIntegralInRange<quint32>(0, 40);
        append(pack, WordPack::magic);
        append(pack, WordPack::version);
        append(pack, count);
        append(pack, textSize);
        append(pack, input.ConsumeIntegralInRange<quint32>(0, 3));
        for (quint32 i = 0; i <= count; ++i)
            append(pack, input.ConsumeIntegralInRange<quint32>(0, textSize + 1));
    }
    const std::string rest = input.ConsumeRemainingBytesAsString();
    pack.append(rest.data(), qsizetype(rest.size()));

    const auto set = PackedWordSet::fromPack(pack, nullptr);
    const QString shown = QString::fromLatin1(pack.toHex());
    Fuzz::check(bool(set) == wellFormed(pack), "taken exactly when the layout holds", shown);
    if (!set)
        return 0;
    QString text;
    for (int r = 1; r <= set->count(); ++r) {
        text += set->word(r);
        if (set->hasFacts())
            set->facts(r);
    }
    const qint64 textStart = WordPack::headerSize + 4 * (qint64(set->count()) + 1);
    Fuzz::check(QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)
            == pack.mid(textStart, 2 * qint64(at(pack, 12))),
        "the words give back the pack's text", shown);
    return 0;
}
