#include "engine/WordList.h"

#include "engine/PlatformError.h"

WordList::WordList(
    std::vector<QString> words, std::vector<WordFacts> facts, DefinitionLookup definitions)
    : m_words(std::move(words))
    , m_facts(std::move(facts))
    , m_definitions(std::move(definitions))
    , m_hasFacts(true)
{
    m_facts.resize(m_words.size());
}

QString WordList::definition(int r, quint8 kinds) const
{
    return m_definitions ? m_definitions(word(r), kinds) : QString();
}

const QString& WordList::word(int r) const
{
    if (r < 1 || r > count())
        throw PlatformError(
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    return m_words[static_cast<size_t>(r - 1)];
}
