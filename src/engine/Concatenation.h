#pragma once

#include "engine/FittingChoices.h"

#include <QByteArray>
#include <optional>
#include <vector>

// The texts made of a literal, a text of the first set, a literal, a text of the second set and
// so on to a last literal: how many different texts they give, and which choice stands for each.
// Sets that meet without a boundary to tell them apart can give one text two ways (a + ba and
// ab + a): the count is then of texts, counted exactly, and a choice drawn uniformly is kept only
// where it stands for its text, which leaves every text equally likely.
class Concatenation
{
public:
    using Count = FittingChoices::Count;

    // One more literal than sets; no set empty, no text twice in a set. Throws RuleError where
    // texts can be alike and counting them would pass 2^128 or a few million states, or where
    // most choices give a text that another gives too.
    Concatenation(std::vector<QByteArray> literals, std::vector<std::vector<QByteArray>> sets);

    size_t size() const { return m_sets.size(); }
    const QByteArray& literal(size_t i) const { return m_literals[i]; }
    // A set's texts, sorted; a choice is an index into each set.
    const std::vector<QByteArray>& set(size_t i) const { return m_sets[i]; }
    // The number of different texts; none where it passes 2^128, which only a count of choices
    // that are never alike can.
    std::optional<Count> texts() const { return m_texts; }
    // Its base-2 logarithm.
    double bits() const { return m_bits; }
    // Whether two choices can give one text.
    bool alike() const { return m_alike; }
    // Whether the choice is the one that stands for its text: of the choices that give it, the
    // first by the lengths of their parts, shortest first.
    bool standsForItsText(const std::vector<int>& chosen) const;

private:
    bool boundariesTellApart() const;
    Count countTexts() const;

    std::vector<QByteArray> m_literals;
    std::vector<std::vector<QByteArray>> m_sets;
    std::optional<Count> m_texts;
    double m_bits = 0;
    bool m_alike = false;
};
