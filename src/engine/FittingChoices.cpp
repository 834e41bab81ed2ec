#include "engine/FittingChoices.h"

#include "engine/RuleError.h"

#include <map>

namespace {

using Count = FittingChoices::Count;

[[noreturn]] void tooMany()
{
    throw RuleError(QStringLiteral("cannot count the outputs that fit exactly: ask for fewer words "
                                   "or a lower limit"));
}

Count times(Count a, Count b)
{
    Count product = 0;
    if (__builtin_mul_overflow(a, b, &product))
        tooMany();
    return product;
}

Count plus(Count a, Count b)
{
    Count sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        tooMany();
    return sum;
}

} // namespace

FittingChoices::FittingChoices(
    const std::vector<qsizetype>& lengths, int n, qsizetype budget, bool distinct)
    : m_n(n)
    , m_distinct(distinct)
{
    std::map<qsizetype, std::vector<int>> byLength;
    qsizetype longest = 0;
    for (size_t t = 0; t < lengths.size(); ++t) {
        byLength[lengths[t]].push_back(int(t));
        longest = std::max(longest, lengths[t]);
    }
    for (auto& [length, members] : byLength) {
        m_lengths.push_back(length);
        m_members.push_back(std::move(members));
    }
    // No choice is longer than n of the longest texts: a larger budget counts the same.
    m_budget = std::max<qsizetype>(0, std::min(budget, qsizetype(n) * longest));
    const double entries = double(m_lengths.size() + 1) * (n + 1) * double(m_budget + 1);
    if (entries > double(1 << 22))
        tooMany();
    m_table.assign(size_t(entries), 0);
    const size_t classes = m_lengths.size();
    for (qsizetype b = 0; b <= m_budget; ++b)
        m_table[index(classes, 0, b)] = 1;
    for (size_t k = classes; k-- > 0;) {
        for (int i = 0; i <= n; ++i) {
            for (qsizetype b = 0; b <= m_budget; ++b) {
                Count sum = 0;
                for (int j = fewest(k, i, b); j <= i && j * m_lengths[k] <= b; ++j) {
                    const Count rest = at(k + 1, i - j, b - j * m_lengths[k]);
                    if (rest != 0)
                        sum = plus(sum, times(ways(k, i, j), rest));
                }
                m_table[index(k, i, b)] = sum;
            }
        }
    }
}

int FittingChoices::fewest(size_t cls, int words, qsizetype budget) const
{
    // The classes after this one hold longer texts: what they take of the words left must fit.
    if (cls + 1 == m_lengths.size())
        return words;
    const qsizetype longer = m_lengths[cls + 1];
    const qsizetype over = qsizetype(words) * longer - budget;
    const qsizetype saved = longer - m_lengths[cls];
    return over <= 0 ? 0 : int(std::min<qsizetype>(words, (over + saved - 1) / saved));
}

Count FittingChoices::ways(size_t cls, int words, int j) const
{
    // C(words, j) places, times c^j texts drawn anew or c!/(c - j)! different ones.
    const Count c = m_members[cls].size();
    Count places = 1;
    // C(words, j) as C(words, words - j) where that is shorter, so that no step passes the result.
    for (int step = 1; step <= std::min(j, words - j); ++step)
        places = times(places, Count(words - step + 1)) / Count(step);
    Count texts = 1;
    for (int step = 1; step <= j; ++step) {
        if (m_distinct && c < Count(step))
            return 0;
        texts = times(texts, m_distinct ? c - Count(step - 1) : c);
    }
    return times(places, texts);
}

std::vector<int> FittingChoices::draw(const Bits& bits) const
{
    // One number picks how many texts each length class gives; the places and the texts within a
    // class are then drawn uniformly, which makes every fitting choice equally likely.
    Count r = uniformBelow(bits, count());
    int words = m_n;
    qsizetype budget = m_budget;
    std::vector<size_t> classOf;
    for (size_t k = 0; k < m_lengths.size(); ++k) {
        for (int j = fewest(k, words, budget); j <= words && j * m_lengths[k] <= budget; ++j) {
            const Count rest = at(k + 1, words - j, budget - j * m_lengths[k]);
            const Count term = rest == 0 ? 0 : ways(k, words, j) * rest;
            if (r < term) {
                r %= rest;
                classOf.insert(classOf.end(), size_t(j), k);
                words -= j;
                budget -= j * m_lengths[k];
                break;
            }
            r -= term;
        }
    }
    shuffle(bits, classOf);
    std::vector<std::vector<int>> left = m_members;
    std::vector<int> chosen;
    for (const size_t k : classOf) {
        std::vector<int>& members = left[k];
        const size_t at = size_t(uniformBelow(bits, members.size()));
        chosen.push_back(members[at]);
        if (m_distinct) {
            members[at] = members.back();
            members.pop_back();
        }
    }
    return chosen;
}

Count uniformBelow(const FittingChoices::Bits& bits, Count n)
{
    // Bits enough for n - 1, drawn again above it: fewer than half the draws are thrown away.
    int width = 0;
    while (width < 128 && (Count(1) << width) < n)
        ++width;
    if (width == 0)
        return 0;
    const Count mask = width == 128 ? ~Count(0) : (Count(1) << width) - 1;
    for (;;) {
        const Count high = bits();
        const Count value = ((high << 64) | bits()) & mask;
        if (value < n)
            return value;
    }
}
