#pragma once

#include "engine/WordStore.h"

#include <vector>

// A word set held in memory, with the words' facts when the rows had them.
class WordList : public WordSet
{
public:
    explicit WordList(std::vector<QString> words)
        : m_words(std::move(words))
    { }
    // Facts for every word, and where to look their definitions up (may be empty).
    WordList(
        std::vector<QString> words, std::vector<WordFacts> facts, DefinitionLookup definitions);
    int count() const override { return static_cast<int>(m_words.size()); }
    const QString& word(int r) const override;
    bool hasFacts() const override { return m_hasFacts; }
    WordFacts facts(int r) const override { return m_facts[size_t(r - 1)]; }
    const uchar* factsBlock() const override
    {
        return m_facts.empty() ? nullptr : reinterpret_cast<const uchar*>(m_facts.data());
    }
    QString definition(int r, quint8 kinds = 0) const override;

private:
    std::vector<QString> m_words;
    std::vector<WordFacts> m_facts;
    DefinitionLookup m_definitions;
    bool m_hasFacts = false;
};
