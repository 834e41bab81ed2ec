#pragma once

#include "engine/WordStore.h"

#include <vector>

// A word set held in memory.
class WordList : public WordSet
{
public:
    explicit WordList(std::vector<QString> words)
        : m_words(std::move(words))
    { }
    int count() const override { return static_cast<int>(m_words.size()); }
    const QString& word(int r) const override;

private:
    std::vector<QString> m_words;
};
