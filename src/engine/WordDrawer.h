#pragma once

#include "engine/GenerationOptions.h"
#include "engine/RandomInteger.h"
#include "engine/WordStore.h"

#include <vector>

// Draws rows of a word set among those that meet the rules: uniformly and with repetition, as if
// every row were drawn and the failing ones thrown away, but without the wasted draws.
class WordDrawer
{
public:
    // What to do with a word whose letter cannot be tested: Keep lets it be drawn, so that the
    // caller meets the failure as it would have by drawing every row.
    enum class Untestable
    {
        Keep,
        Drop
    };

    // Throws RuleError (AcceptanceRules::missingFactsText) when the rules need facts that the
    // words do not have; so does setRules.
    WordDrawer(const WordSet& words, const WordRules& rules, Untestable untestable);

    // Takes the rules for the next draws; the matching rows are found again only when they change.
    void setRules(const WordRules& rules);
    const WordRules& rules() const { return m_rules; }

    // The number of rows that meet the rules.
    int matchCount() const { return static_cast<int>(m_rows.size()); }
    // The row (1-based) that a uniform number u, 0 <= u < 1, picks among the matching rows.
    int row(double u) const { return rowAt(place(u)); }
    // The same in two halves: the place (0-based) of that row among the matching rows, and the
    // row at a place. A caller that keeps something per matching row indexes it by place.
    int place(double u) const { return RandomInteger(u, matchCount()) - 1; }
    int rowAt(int place) const { return m_rows[size_t(place)]; }
    // n different matching rows, picked with the uniform numbers next() gives (n at most
    // matchCount()).
    template <typename Next> std::vector<int> distinctRows(int n, Next&& next) const;
    // Leaves out the matching rows for which left(row) holds, once for all the draws that follow,
    // until the rules change.
    template <typename Left> void leaveOut(Left&& left) { std::erase_if(m_rows, left); }

private:
    void match();

    const WordSet& m_words;
    Untestable m_untestable;
    WordRules m_rules;
    std::vector<int> m_rows;
};

template <typename Next> std::vector<int> WordDrawer::distinctRows(int n, Next&& next) const
{
    // The first n places of a Fisher-Yates shuffle.
    std::vector<int> rows = m_rows;
    const int m = matchCount();
    for (int i = 0; i < n && i < m; ++i) {
        const int j = i + int(next() * (m - i));
        std::swap(rows[size_t(i)], rows[size_t(std::min(j, m - 1))]);
    }
    rows.resize(size_t(std::min(n, m)));
    return rows;
}
