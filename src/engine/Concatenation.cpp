#include "engine/Concatenation.h"

#include "engine/RuleError.h"

#include <QByteArrayView>
#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <unordered_map>

namespace {

using Count = Concatenation::Count;

[[noreturn]] void tooMany()
{
    throw RuleError(QStringLiteral("cannot count its different texts exactly: put a literal "
                                   "between its slots"));
}

bool textBefore(const QByteArray& a, const QByteArray& b)
{
    return std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return uchar(x) < uchar(y); });
}

// The texts of [lo, hi), which share their first depth bytes, narrowed to those whose next byte
// is b; none of them ends at depth.
std::pair<int, int> narrowed(
    const std::vector<QByteArray>& texts, int lo, int hi, qsizetype depth, uchar b)
{
    const auto end = texts.begin() + hi;
    const auto from = std::partition_point(
        texts.begin() + lo, end, [&](const QByteArray& t) { return uchar(t[depth]) < b; });
    const auto to = std::partition_point(
        from, end, [&](const QByteArray& t) { return uchar(t[depth]) == b; });
    return { int(from - texts.begin()), int(to - texts.begin()) };
}

// A place in the texts being read: piece 2i is literal i, piece 2i + 1 set i; a place in a set
// is the range of its sorted texts that share the bytes read, and depth their number.
struct Place
{
    int piece;
    int lo;
    int hi;
    qsizetype depth;
    auto operator<=>(const Place&) const = default;
};

// The automaton that reads a text byte by byte in every way it can be made: a state is the set of
// places it can stand at, so that counting texts is counting paths to an end.
struct Reader
{
    const std::vector<QByteArray>& literals;
    const std::vector<std::vector<QByteArray>>& sets;

    int pieces() const { return int(2 * sets.size() + 1); }

    // Adds place and every place reached from it without reading a byte.
    void enter(std::vector<Place>& state, Place place) const
    {
        for (;;) {
            state.push_back(place);
            if (place.piece + 1 == pieces())
                return;
            if (place.piece % 2 == 0) {
                if (place.depth < literals[size_t(place.piece / 2)].size())
                    return;
                place = { place.piece + 1, 0, int(sets[size_t(place.piece / 2)].size()), 0 };
            } else {
                if (sets[size_t(place.piece / 2)][size_t(place.lo)].size() != place.depth)
                    return;
                place = { place.piece + 1, 0, 0, 0 };
            }
        }
    }

    bool ends(const std::vector<Place>& state) const
    {
        return std::any_of(state.begin(), state.end(), [&](const Place& p) {
            return p.piece + 1 == pieces() && p.depth == literals.back().size();
        });
    }

    // The states reached by reading one more byte, one for each byte some place can read.
    std::vector<std::vector<Place>> next(const std::vector<Place>& state) const
    {
        std::vector<std::pair<uchar, Place>> steps;
        for (const Place& p : state) {
            if (p.piece % 2 == 0) {
                const QByteArray& literal = literals[size_t(p.piece / 2)];
                if (p.depth < literal.size())
                    steps.push_back({ uchar(literal[p.depth]), { p.piece, 0, 0, p.depth + 1 } });
                continue;
            }
            const std::vector<QByteArray>& texts = sets[size_t(p.piece / 2)];
            int i = p.lo + (texts[size_t(p.lo)].size() == p.depth);
            while (i < p.hi) {
                const uchar b = uchar(texts[size_t(i)][p.depth]);
                const auto [from, to] = narrowed(texts, i, p.hi, p.depth, b);
                steps.push_back({ b, { p.piece, from, to, p.depth + 1 } });
                i = to;
            }
        }
        std::sort(steps.begin(), steps.end());
        std::vector<std::vector<Place>> states;
        for (size_t s = 0; s < steps.size(); ++s) {
            if (s == 0 || steps[s].first != steps[s - 1].first)
                states.emplace_back();
            enter(states.back(), steps[s].second);
        }
        for (std::vector<Place>& reached : states) {
            std::sort(reached.begin(), reached.end());
            reached.erase(std::unique(reached.begin(), reached.end()), reached.end());
        }
        return states;
    }

    // Eight bytes a place; a place beyond them cannot be counted.
    static std::string key(const std::vector<Place>& state)
    {
        std::string bytes;
        for (const Place& p : state) {
            if (p.piece >= 1 << 16 || p.lo >= 1 << 24 || p.depth >= 1 << 24)
                tooMany();
            const quint64 packed = quint64(p.piece) << 48 | quint64(p.lo) << 24 | quint64(p.depth);
            bytes.append(reinterpret_cast<const char*>(&packed), sizeof packed);
        }
        return bytes;
    }
};

} // namespace

Concatenation::Concatenation(
    std::vector<QByteArray> literals, std::vector<std::vector<QByteArray>> sets)
    : m_literals(std::move(literals))
    , m_sets(std::move(sets))
{
    for (std::vector<QByteArray>& texts : m_sets)
        std::sort(texts.begin(), texts.end(), textBefore);
    long double choices = 1;
    Count product = 1;
    bool fits = true;
    for (const std::vector<QByteArray>& texts : m_sets) {
        m_bits += std::log2(double(texts.size()));
        choices *= texts.size();
        fits = fits && !__builtin_mul_overflow(product, Count(texts.size()), &product);
    }
    if (boundariesTellApart()) {
        if (fits)
            m_texts = product;
        return;
    }
    const Count texts = countTexts();
    m_texts = texts;
    m_alike = !fits || texts != product;
    m_bits = double(std::log2(static_cast<long double>(texts)));
    // A choice is drawn again until it stands for its text: a draw must not take thousands.
    if (static_cast<long double>(texts) / choices < 1e-3L)
        throw RuleError(QStringLiteral("gives most of its texts in more than one way: put a "
                                       "literal between its slots"));
}

bool Concatenation::boundariesTellApart() const
{
    // A byte that no text holds marks, wherever a literal has it, how long the texts before it
    // are together; so does the first byte of a set's texts where every text of every set holds
    // as many bytes of that kind as the others of its set (title case: one capital, at the
    // start). Between two marks, texts of one length each leave at most one text's length open,
    // and so tell where each text ends.
    bool held[256] = {};
    for (const std::vector<QByteArray>& texts : m_sets) {
        for (const QByteArray& text : texts) {
            for (const char c : text)
                held[uchar(c)] = true;
        }
    }
    const auto startsMarked = [&](const std::vector<QByteArray>& starting) {
        bool first[256] = {};
        for (const QByteArray& text : starting) {
            if (text.isEmpty())
                return false;
            first[uchar(text[0])] = true;
        }
        const auto count = [&first](const QByteArray& text) {
            return std::count_if(
                text.begin(), text.end(), [&first](char c) { return first[uchar(c)]; });
        };
        return std::all_of(m_sets.begin(), m_sets.end(), [&](const std::vector<QByteArray>& texts) {
            return std::all_of(texts.begin(), texts.end(),
                [&](const QByteArray& t) { return count(t) == count(texts.front()); });
        });
    };
    int open = 0;
    for (size_t i = 0; i < m_sets.size(); ++i) {
        if (std::any_of(m_literals[i].begin(), m_literals[i].end(),
                [&held](char c) { return !held[uchar(c)]; })
            || (open > 0 && startsMarked(m_sets[i])))
            open = 0;
        const std::vector<QByteArray>& texts = m_sets[i];
        open += std::any_of(texts.begin(), texts.end(),
            [&](const QByteArray& t) { return t.size() != texts.front().size(); });
        if (open > 1)
            return false;
    }
    return true;
}

Count Concatenation::countTexts() const
{
    // Depth first over the automaton's states, each counted once: the texts from a state on are
    // those it ends plus those of each state one byte on.
    constexpr size_t mostStates = size_t(1) << 20;
    const Reader reader { m_literals, m_sets };
    struct Frame
    {
        std::string key;
        std::vector<std::vector<Place>> next;
        size_t done = 0;
        Count sum = 0;
    };
    std::unordered_map<std::string, Count> counted;
    std::vector<Frame> stack;
    // The count of a state already known, or none once its frame is opened.
    const auto open = [&](const std::vector<Place>& state) -> std::optional<Count> {
        std::string key = Reader::key(state);
        if (const auto found = counted.find(key); found != counted.end())
            return found->second;
        stack.push_back({ std::move(key), reader.next(state), 0, Count(reader.ends(state)) });
        return std::nullopt;
    };
    std::vector<Place> start;
    reader.enter(start, { 0, 0, 0, 0 });
    open(start);
    for (;;) {
        Frame& top = stack.back();
        if (top.done < top.next.size()) {
            const std::vector<Place> state = std::move(top.next[top.done++]);
            if (const std::optional<Count> known = open(state)) {
                Frame& same = stack.back();
                if (__builtin_add_overflow(same.sum, *known, &same.sum))
                    tooMany();
            }
            continue;
        }
        const Count sum = top.sum;
        counted.emplace(std::move(top.key), sum);
        stack.pop_back();
        if (counted.size() > mostStates)
            tooMany();
        if (stack.empty())
            return sum;
        if (__builtin_add_overflow(stack.back().sum, sum, &stack.back().sum))
            tooMany();
    }
}

bool Concatenation::standsForItsText(const std::vector<int>& chosen) const
{
    if (!m_alike)
        return true;
    QByteArray text = m_literals[0];
    for (size_t i = 0; i < m_sets.size(); ++i)
        text += m_sets[i][size_t(chosen[i])] + m_literals[i + 1];
    // The first way to read the text, shorter parts first; a set that cannot be read from a place
    // once is not tried there again.
    std::set<std::pair<size_t, qsizetype>> dead;
    std::vector<qsizetype> lengths;
    const auto read = [&](const auto& self, size_t i, qsizetype at) -> bool {
        if (i == m_sets.size())
            return at == text.size();
        if (dead.count({ i, at }))
            return false;
        const std::vector<QByteArray>& texts = m_sets[i];
        const QByteArray& after = m_literals[i + 1];
        int lo = 0;
        int hi = int(texts.size());
        for (qsizetype depth = 0; lo < hi; ++depth) {
            if (texts[size_t(lo)].size() == depth) {
                if (QByteArrayView(text).sliced(at + depth).startsWith(after)) {
                    lengths.push_back(depth);
                    if (self(self, i + 1, at + depth + after.size()))
                        return true;
                    lengths.pop_back();
                }
                ++lo;
            }
            if (lo == hi || at + depth == text.size())
                break;
            std::tie(lo, hi) = narrowed(texts, lo, hi, depth, uchar(text[at + depth]));
        }
        dead.insert({ i, at });
        return false;
    };
    read(read, 0, m_literals[0].size());
    for (size_t i = 0; i < m_sets.size(); ++i) {
        if (lengths[i] != m_sets[i][size_t(chosen[i])].size())
            return false;
    }
    return true;
}
