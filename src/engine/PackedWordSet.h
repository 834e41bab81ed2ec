#pragma once

#include "engine/WordStore.h"

#include <QByteArray>
#include <memory>
#include <unordered_map>

// The words of a word database in its compact layout (WordPack): loaded in one read, the words
// and their facts read in place.
class PackedWordSet : public WordSet
{
public:
    using Definitions = DefinitionLookup;
    // The set over a pack; nothing when the bytes are not a whole pack of a known version.
    // The bytes may lie in memory that storage owns, which the set then keeps.
    static std::unique_ptr<PackedWordSet> fromPack(
        QByteArray pack, Definitions definitions, std::shared_ptr<const void> storage = nullptr);

    int count() const override { return m_count; }
    const QString& word(int r) const override;
    QString wordText(int r) const override;
    bool hasFacts() const override { return m_facts != nullptr; }
    WordFacts facts(int r) const override;
    const uchar* factsBlock() const override { return m_facts; }
    QString definition(int r, quint8 kinds = 0) const override;

private:
    PackedWordSet() = default;
    quint32 offset(int index) const;

    std::shared_ptr<const void> m_storage;
    QByteArray m_pack;
    Definitions m_definitions;
    int m_count = 0;
    const uchar* m_offsets = nullptr;
    const QChar* m_text = nullptr;
    const uchar* m_facts = nullptr;
    // The words asked for so far; few for a short run, so a map rather than a slot per word.
    mutable std::unordered_map<int, QString> m_words;
};
