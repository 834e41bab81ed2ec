#pragma once

#include "engine/WordFacts.h"

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>

// Looks up a word's short definition, that of its most used sense among the WordKind bits in
// kinds (0: of any part of speech); empty when there is none.
using DefinitionLookup = std::function<QString(const QString& word, quint8 kinds)>;

// Looks up the rhyme ending (WordFacts::rhyme) of a lower-cased word; 0 when the pronouncing
// dictionary lacks it.
using RhymeLookup = std::function<quint16(const QString& word)>;

// The rows one query returned, fixed when it was made.
class WordSet
{
public:
    virtual ~WordSet() = default;
    // Number of rows.
    virtual int count() const = 0;
    // Text of the word column in row r (1 to count); throws PlatformError outside that range.
    virtual const QString& word(int r) const = 0;
    // The same text for a single use while the set lives: a set that holds its words in another
    // form may hand out a view of them that it does not keep.
    virtual QString wordText(int r) const { return word(r); }
    // Whether the rows carry word facts (a word database built with them).
    virtual bool hasFacts() const { return false; }
    // The facts of row r (1 to count); only when hasFacts().
    virtual WordFacts facts(int) const { return {}; }
    // The facts of every row in order, in WordFacts' layout (its size a row), when the set holds
    // them in one block; null when only facts() gives them.
    virtual const uchar* factsBlock() const { return nullptr; }
    // A short definition of row r's word (1 to count), in one of the parts of speech of kinds
    // when it has one (WordKind bits, 0 for any); empty when there is none.
    virtual QString definition(int, quint8 = 0) const { return {}; }
    // The rhyme ending of any word of the database's pronouncing dictionary, in the set or not;
    // 0 for a word it lacks, nothing for a set without pronunciations.
    std::optional<quint16> rhymeOf(const QString& word) const
    {
        return m_rhymes ? std::optional<quint16>(m_rhymes(word.toLower())) : std::nullopt;
    }
    void setRhymeLookup(RhymeLookup lookup) { m_rhymes = std::move(lookup); }
    // Whether the definitions are English translations of another language's words.
    bool definitionsTranslate() const { return m_translate; }
    void setDefinitionsTranslate(bool translate) { m_translate = translate; }

private:
    RhymeLookup m_rhymes;
    bool m_translate = false;
};

// One open connection to the word database; closed when destroyed.
class WordConnection
{
public:
    virtual ~WordConnection() = default;
    // Runs a read-only query and loads every row; throws PlatformError with the engine's message.
    virtual std::unique_ptr<WordSet> query(const QString& sql) = 0;
    // Every word of the table words with its facts and definitions where the database has them,
    // in table order, loaded the fastest way the database allows.
    virtual std::unique_ptr<WordSet> allWords() = 0;
    // The rows of table about (key to value), which names a language's database; empty for a
    // database without it. Throws PlatformError when it cannot be read.
    virtual std::map<QString, QString> about() { return {}; }
};

// The query that gives every word of the table words, with its facts.
inline const QString allWordsQuery = QStringLiteral("select * from words");

// Opens word databases. Each run opens its own connection.
class WordStore
{
public:
    virtual ~WordStore() = default;
    // Opens the database file read-only; throws PlatformError when it cannot be opened.
    virtual std::unique_ptr<WordConnection> open(const QString& path) = 0;
};
