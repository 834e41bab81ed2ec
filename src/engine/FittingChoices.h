#pragma once

#include <QtGlobal>
#include <functional>
#include <utility>
#include <vector>

// Ordered choices of n texts whose lengths add up to at most a budget: counted exactly, and drawn
// with every fitting choice equally likely, so that a length limit never cuts an output or tilts
// the draw towards short texts.
class FittingChoices
{
public:
    __extension__ using Count = unsigned __int128;
    // 64 uniform random bits a call.
    using Bits = std::function<quint64()>;

    // lengths[t] is the length of text t; distinct: no text twice in one choice. Throws RuleError
    // when the count passes 2^128 or its table would pass a few million entries.
    FittingChoices(const std::vector<qsizetype>& lengths, int n, qsizetype budget, bool distinct);

    Count count() const { return at(0, m_n, m_budget); }
    // The texts of one choice, by index, in their order.
    std::vector<int> draw(const Bits& bits) const;

private:
    size_t index(size_t cls, int words, qsizetype budget) const
    {
        return (cls * size_t(m_n + 1) + size_t(words)) * size_t(m_budget + 1) + size_t(budget);
    }
    Count at(size_t cls, int words, qsizetype budget) const
    {
        return m_table[index(cls, words, budget)];
    }
    // The fewest of the words left that class cls must take for the rest to fit in the budget.
    int fewest(size_t cls, int words, qsizetype budget) const;
    // The ways to give j of the words left to class cls: which places, and which of its texts.
    Count ways(size_t cls, int words, int j) const;

    // The texts grouped by length.
    std::vector<qsizetype> m_lengths;
    std::vector<std::vector<int>> m_members;
    int m_n;
    qsizetype m_budget;
    bool m_distinct;
    // For each class, words left and budget left: the fitting choices of the classes from it on.
    std::vector<Count> m_table;
};

// A whole number from 0 to n - 1 (n from 1), each exactly equally likely.
FittingChoices::Count uniformBelow(const FittingChoices::Bits& bits, FittingChoices::Count n);

// The items in a uniformly random order (Fisher-Yates).
template <typename T> void shuffle(const FittingChoices::Bits& bits, std::vector<T>& items)
{
    for (size_t i = items.size(); i > 1; --i)
        std::swap(items[i - 1], items[size_t(uniformBelow(bits, i))]);
}
