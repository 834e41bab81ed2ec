#include "engine/PackedWordSet.h"

#include "engine/PlatformError.h"
#include "engine/WordFacts.h"

#include <QSysInfo>
#include <QtEndian>
#include <cstring>

namespace {

quint32 at(const QByteArray& bytes, qsizetype position)
{
    return qFromLittleEndian<quint32>(bytes.constData() + position);
}

} // namespace

std::unique_ptr<PackedWordSet> PackedWordSet::fromPack(
    QByteArray pack, Definitions definitions, std::shared_ptr<const void> storage)
{
    if (pack.size() < WordPack::headerSize || at(pack, 0) != WordPack::magic
        || at(pack, 4) != WordPack::version)
        return nullptr;
    const qint64 count = at(pack, 8);
    const qint64 textSize = at(pack, 12);
    const bool facts = at(pack, 16) & WordPack::hasFacts;
    const qint64 offsets = WordPack::headerSize;
    const qint64 text = offsets + 4 * (count + 1);
    const qint64 end = text + 2 * textSize + (facts ? qint64(sizeof(WordFacts)) * count : 0);
    // The text is read in place, which needs a little-endian machine; others read the table.
    if (QSysInfo::ByteOrder != QSysInfo::LittleEndian || count > std::numeric_limits<int>::max()
        || end != pack.size())
        return nullptr;
    // Offsets that run backwards or past the text would read outside the pack.
    quint32 previous = 0;
    for (qint64 i = 0; i <= count; ++i) {
        const quint32 offset = at(pack, offsets + 4 * i);
        if (offset < previous || offset > textSize || (i == 0 && offset != 0))
            return nullptr;
        previous = offset;
    }
    if (previous != textSize)
        return nullptr;

    std::unique_ptr<PackedWordSet> set(new PackedWordSet);
    set->m_storage = std::move(storage);
    set->m_pack = std::move(pack);
    set->m_definitions = std::move(definitions);
    set->m_count = int(count);
    const char* base = set->m_pack.constData();
    set->m_offsets = reinterpret_cast<const uchar*>(base + offsets);
    set->m_text = reinterpret_cast<const QChar*>(base + text);
    set->m_facts = facts ? reinterpret_cast<const uchar*>(base + text + 2 * textSize) : nullptr;
    return set;
}

quint32 PackedWordSet::offset(int index) const
{
    return qFromLittleEndian<quint32>(m_offsets + 4 * index);
}

const QString& PackedWordSet::word(int r) const
{
    const auto found = m_words.find(r);
    if (found != m_words.end())
        return found->second;
    // A string of its own, which a caller may keep after the set is gone.
    const QString text = wordText(r);
    return m_words.emplace(r, QString(text.constData(), text.size())).first->second;
}

QString PackedWordSet::wordText(int r) const
{
    if (r < 1 || r > m_count)
        throw PlatformError(
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    // The pack outlives every word taken from it, so the text need not be copied.
    return QString::fromRawData(m_text + offset(r - 1), offset(r) - offset(r - 1));
}

WordFacts PackedWordSet::facts(int r) const
{
    // The pack is read only on a little-endian machine, which wrote it in this layout.
    WordFacts facts;
    std::memcpy(&facts, m_facts + sizeof(WordFacts) * size_t(r - 1), sizeof facts);
    return facts;
}

QString PackedWordSet::definition(int r, quint8 kinds) const
{
    return m_facts && m_definitions ? m_definitions(word(r), kinds) : QString();
}
