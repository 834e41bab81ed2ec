#include "cli/Drawing.h"

#include "cli/Exit.h"
#include "cli/Output.h"
#include "engine/AcceptanceRules.h"
#include "engine/Entropy.h"
#include "engine/OptionTable.h"
#include "engine/SeededRandom.h"
#include "engine/SystemRandom.h"
#include "engine/WordDrawer.h"
#include "engine/WordList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <cstring>

namespace {

// A word as one JSON object: its text and the facts known of it, by name.
QString jsonObject(const QString& text, const WordSet& words, int row, const Request& request)
{
    QJsonObject object { { QStringLiteral("word"), text } };
    if (words.hasFacts()) {
        const WordFacts facts = words.facts(row);
        const auto names = [](OptionIds::Option option, quint8 bits) {
            QJsonArray array;
            for (const OptionTable::Choice& choice : OptionTable::row(option).choices)
                if (choice.name && choice.rule > 0 && (bits & choice.rule))
                    array.append(QLatin1String(choice.name));
            return array;
        };
        if (facts.level)
            object.insert(QStringLiteral("level"), facts.level);
        object.insert(QStringLiteral("kinds"), names(OptionIds::Kind, facts.kinds));
        if (request.language.hasSpellings())
            object.insert(
                QStringLiteral("spellings"), names(OptionIds::Spellings, facts.spellings));
        if (facts.topic >= 1 && facts.topic <= Topic::count)
            object.insert(QStringLiteral("topic"), QLatin1String(Topic::names[facts.topic - 1]));
        if (facts.syllables)
            object.insert(QStringLiteral("syllables"), facts.syllables);
        // The mark that leaves the word out by default: offensive, else mature (not for a class).
        if (facts.offensive)
            object.insert(QStringLiteral("mark"),
                facts.offensive & WordMark::Classroom && !(facts.offensive & WordMark::Offensive)
                    ? QStringLiteral("mature")
                    : QStringLiteral("offensive"));
        if (const QString definition = words.definition(row, request.options.rules.kinds);
            !definition.isEmpty())
            object.insert(request.language.translations ? QStringLiteral("translation")
                                                        : QStringLiteral("definition"),
                definition);
    }
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// A text on a line of its own that can be read back: control characters escaped as in messages,
// and a backslash doubled, so that a line feed and the two characters \n stay apart.
QString escaped(QString text)
{
    return oneLine(text.replace(u'\\', QStringLiteral("\\\\")));
}

// The text a word is delivered as, with its definition after a tab when asked for. The word and
// its definition come from whoever made the database: both are escaped, so that none reaches a
// terminal and each word stays on one line.
QString withDefinition(QString text, const WordSet& words, int row, const Request& request)
{
    if (request.json)
        return jsonObject(text, words, row, request);
    if (request.define) {
        const QString definition = escaped(words.definition(row, request.options.rules.kinds));
        // An English translation is no definition of the word: a reader is told which it is.
        text = escaped(text) + u'\t'
            + (request.language.translations && !definition.isEmpty()
                    ? QStringLiteral("translation: ") + definition
                    : definition);
    }
    return text;
}

QString deliveredText(const WordSet& words, int row, const Request& request)
{
    return withDefinition(
        AcceptanceRules::delivered(words.word(row), request.options), words, row, request);
}

// Whether deliveredText is the word as the list has it, which a long run then encodes straight
// from the list: false for anything deliveredText adds or changes.
bool writtenAsListed(const Request& request)
{
    return !request.define && !request.json && !request.options.properCase
        && request.options.wordCase == GenerationOptions::WordCase::AsListed;
}

// Writes text as UTF-8 at out, within room bytes, and returns how many it took; -1 when it does not
// fit or holds a lone surrogate, which the caller leaves to Qt's encoder. No string is built.
qsizetype encodeUtf8(QStringView text, char* out, qsizetype room)
{
    qsizetype used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t u = text[i].unicode();
        if (QChar::isSurrogate(u)) {
            if (!QChar::isHighSurrogate(u) || i + 1 == text.size() || !text[i + 1].isLowSurrogate())
                return -1;
            u = QChar::surrogateToUcs4(char16_t(u), text[++i].unicode());
        }
        const int size = u < 0x80 ? 1 : u < 0x800 ? 2 : u < 0x10000 ? 3 : 4;
        if (used + size > room)
            return -1;
        if (size == 1) {
            out[used++] = char(u);
            continue;
        }
        static constexpr unsigned char leads[] = { 0, 0, 0xC0, 0xE0, 0xF0 };
        for (int k = size - 1; k > 0; --k) {
            out[used + k] = char(0x80 | (u & 0x3F));
            u >>= 6;
        }
        out[used] = char(leads[size] | u);
        used += size;
    }
    return used;
}

// A definition or the facts are looked up for the texts written alone.
template <typename Next>
void writeDistinct(const WordSet& words, const DistinctTexts& distinct, const WordDrawer& drawer,
    const Request& request, Output& out, Next&& next)
{
    const std::vector<int> rows = drawer.distinctRows(int(request.wanted), next);
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t t = size_t(rows[i] - 1);
        out.put(withDefinition(distinct.texts[t], words, distinct.rows[t], request).toUtf8());
        if (i + 1 < rows.size())
            out.put(request.separator);
    }
}

template <typename DrawPlace>
void writeDrawn(const WordSet& words, const WordDrawer& drawer, const Request& request, Output& out,
    DrawPlace&& drawPlace)
{
    const QByteArray& between = request.separator;
    if (request.wanted < drawer.matchCount() / 8) {
        // A few words: each encoded as drawn, without a place kept for every matching word.
        for (qint64 i = 0; i < request.wanted; ++i) {
            out.put(deliveredText(words, drawer.rowAt(drawPlace()), request).toUtf8());
            if (i + 1 < request.wanted)
                out.put(between);
        }
        return;
    }
    // Each matching word is encoded once, on its first draw, with the separator after it, mostly
    // into a 16-byte slot of its own: a draw is then one read from a table small enough to stay
    // in the processor's caches, and one fixed-size copy. A longer text goes to one block, its
    // place in the slot; a long separator is written apart, so that memory does not grow with
    // both. Texts past a bound on the block (long definitions) are made again at each draw
    // instead: memory stays bounded, and the block's 32-bit places cannot wrap.
    struct Slot
    {
        char bytes[15];
        // 0 until the word is first drawn; inBlock for a text in the block, notKept for one made
        // at each draw.
        quint8 size = 0;
    };
    static_assert(sizeof(Slot) == 16);
    constexpr quint8 inBlock = 0xff;
    constexpr quint8 notKept = 0xfe;
    constexpr qsizetype mostKept = qsizetype(64) << 20;
    const bool joined = between.size() <= 64;
    const qsizetype tail = joined ? between.size() : 0;
    std::vector<Slot> cells(static_cast<size_t>(drawer.matchCount()));
    QByteArray block;
    // A word written as the list has it is encoded from the list's own text: a million words then
    // build no string at all.
    const bool asListed = writtenAsListed(request);
    const qsizetype room = qsizetype(sizeof(Slot::bytes)) - tail;
    // Returns the text when it is not kept.
    const auto fill = [&](Slot& slot, int place) {
        qsizetype size = asListed && room > 0
            ? encodeUtf8(words.wordText(drawer.rowAt(place)), slot.bytes, room)
            : -1;
        if (size < 0) {
            QByteArray bytes = deliveredText(words, drawer.rowAt(place), request).toUtf8();
            if (bytes.size() > room && block.size() + bytes.size() + tail > mostKept) {
                slot.size = notKept;
                return bytes;
            }
            if (bytes.size() > room) {
                const quint32 where[] = { quint32(block.size()), quint32(bytes.size() + tail) };
                std::memcpy(slot.bytes, where, sizeof where);
                block += bytes;
                if (joined)
                    block += between;
                slot.size = inBlock;
                return QByteArray();
            }
            std::memcpy(slot.bytes, bytes.constData(), size_t(bytes.size()));
            size = bytes.size();
        }
        std::memcpy(slot.bytes + size, between.constData(), size_t(tail));
        slot.size = quint8(size + tail);
        return QByteArray();
    };
    // A run that will all but surely draw every word encodes them all first, in the list's order,
    // which reads the list straight through rather than at random.
    if (asListed && request.wanted / 4 >= drawer.matchCount()) {
        for (int place = 0; place < drawer.matchCount(); ++place)
            fill(cells[size_t(place)], place);
    }
    // Draws are made a few words ahead, in the same order, and their slots fetched meanwhile: a
    // draw then seldom waits for memory.
    constexpr qint64 ahead = 16;
    int upcoming[ahead];
    for (qint64 k = 0; k < std::min(ahead, request.wanted); ++k) {
        upcoming[k] = drawPlace();
        __builtin_prefetch(&cells[size_t(upcoming[k])]);
    }
    for (qint64 i = 0; i < request.wanted; ++i) {
        const int drawn = upcoming[i % ahead];
        if (i + ahead < request.wanted) {
            upcoming[i % ahead] = drawPlace();
            __builtin_prefetch(&cells[size_t(upcoming[i % ahead])]);
        }
        Slot& slot = cells[size_t(drawn)];
        const bool last = i + 1 == request.wanted;
        if (slot.size == 0 || slot.size == notKept) {
            const QByteArray unkept = slot.size == 0
                ? fill(slot, drawn)
                : deliveredText(words, drawer.rowAt(drawn), request).toUtf8();
            if (slot.size == notKept) {
                out.put(unkept);
                if (!last)
                    out.put(between);
                continue;
            }
        }
        if (slot.size != inBlock) {
            out.putPadded(slot.bytes, slot.size - (last ? tail : 0));
        } else {
            quint32 place[2];
            std::memcpy(place, slot.bytes, sizeof place);
            out.put(block.constData() + place[0], place[1] - (last ? tail : 0));
        }
        if (!joined && !last)
            out.put(between);
    }
}

} // namespace

DistinctTexts distinctTexts(const WordSet& words, const WordDrawer& drawer, const Request& request)
{
    DistinctTexts distinct;
    QSet<QString> seen;
    // Alike by the word alone: two words that differ only in their definitions are one word.
    for (int place = 0; place < drawer.matchCount(); ++place) {
        const int row = drawer.rowAt(place);
        QString text = AcceptanceRules::delivered(words.word(row), request.options);
        if (!seen.contains(text)) {
            seen.insert(text);
            distinct.texts.push_back(std::move(text));
            distinct.rows.push_back(row);
        }
    }
    return distinct;
}

void writeWords(const WordSet& words, const WordDrawer& drawer, const Request& request,
    const DistinctTexts& distinct)
{
    // A seed gives the same words again, for tests and examples; every other draw comes from
    // the system's cryptographic source.
    SeededRandom seededRandom;
    seededRandom.seed(request.seed.value_or(0));
    SystemRandom systemRandom;
    RandomSource& random = request.seed ? static_cast<RandomSource&>(seededRandom) : systemRandom;
    const auto next = [&random] { return random.next(); };
    // The place of a drawn word among the matching ones; unseeded from as few bytes as it needs.
    // One loop for each source, so that a draw is a few inlined instructions.
    const quint32 matches = quint32(drawer.matchCount());
    // The distinct texts as a list of their own, made once for every output.
    const WordList list(request.unique ? distinct.texts : std::vector<QString>());
    const WordDrawer distinctDrawer(list, WordRules {}, WordDrawer::Untestable::Drop);
    Output out(request.output);
    // JSON: an array whose objects the separator parts, a line each; with --outputs, an array of
    // outputs, each an array on its line.
    if (request.json)
        out.put("[\n", 2);
    const bool nested = request.json && request.outputsGiven;
    // No words, no output: not even the lines between outputs.
    const qint64 outputs = request.wanted > 0 || request.json ? request.outputs : 0;
    for (qint64 k = 0; k < outputs; ++k) {
        if (k > 0)
            out.put(request.json ? QByteArray(",\n") : QByteArray("\n"));
        if (nested)
            out.put("[", 1);
        if (request.unique)
            writeDistinct(words, distinct, distinctDrawer, request, out, next);
        else if (request.seed)
            writeDrawn(
                words, drawer, request, out, [&] { return drawer.place(seededRandom.next()); });
        else
            writeDrawn(
                words, drawer, request, out, [&] { return int(systemRandom.below(matches)); });
        if (nested)
            out.put("]", 1);
    }
    if (request.json)
        out.put("\n]", 2);
    if (outputs > 0 || request.json)
        out.put("\n", 1);
    out.commit();
}

QString entropyText(const WordSet& words, const WordDrawer& drawer, const Request& request,
    const DistinctTexts& distinct)
{
    const qint64 wanted = request.wanted;
    QString text;
    if (request.unique) {
        const qint64 texts = qint64(distinct.texts.size());
        text = QStringLiteral("%1 bits of entropy: %2 different words of %3")
                   .arg(Entropy::outputBits(texts, wanted, true), 0, 'f', 2)
                   .arg(wanted)
                   .arg(texts);
    } else {
        // Each word drawn anew among the matching rows; rows that give the same text (two entries
        // of a list, two words that proper case makes alike) are one output, more likely. Counted
        // by the words alone, as definitions are looked up only for the words written: where rows
        // that give one word could differ in their definitions or facts, the figure is a bound.
        qint64 texts = 0;
        const double bits = Entropy::bitsPerDraw(
            drawer.matchCount(),
            [&](int place) {
                return AcceptanceRules::delivered(words.word(drawer.rowAt(place)), request.options);
            },
            &texts);
        const bool atLeast = (request.define || request.json) && texts < drawer.matchCount();
        text = QStringLiteral("%1%2 bits of entropy: %3 %4, each one of %5 (%6 bits a word)")
                   .arg(atLeast ? QStringLiteral("at least ") : QString())
                   .arg(double(wanted) * bits, 0, 'f', 2)
                   .arg(wanted)
                   .arg(wanted == 1 ? QStringLiteral("word") : QStringLiteral("words"))
                   .arg(texts)
                   .arg(bits, 0, 'f', 2);
    }
    // Anyone who has the seed has the words.
    if (request.seed)
        text += QStringLiteral("; seeded, so no secret");
    return text;
}
