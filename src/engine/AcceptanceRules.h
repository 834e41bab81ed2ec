#pragma once

#include "engine/GenerationOptions.h"

#include <QString>
#include <optional>
#include <vector>

// The tests a drawn word must pass, and the form in which an accepted word is delivered.
namespace AcceptanceRules {

// The outcome of the rules for one word.
struct Verdict
{
    bool accepted = true;
    // Why a letter rule could not be tested (a position below 1), the first one's; the letter
    // then counts as met. Empty when every one could.
    QString letterFailure;
};

// Judges words by every rule that is on. The letter rule is tested even when another rule has
// already failed, so a letter that cannot be tested is always noticed.
class Judge
{
public:
    // rhyme: the rhyme ending (WordFacts::rhyme) of the word the rules' rhymesWith names.
    explicit Judge(const WordRules& rules, quint16 rhyme = 0);
    Verdict operator()(const QString& word) const;
    // The same for a word with its facts.
    Verdict operator()(const QString& word, const WordFacts& facts) const;
    // Whether the facts meet the rules on them; inline and every rule tested, without a branch
    // on the facts, as it runs once per word of a list.
    bool factsHold(const WordFacts& facts) const;
    // Whether any rule looks at the word's text: without one, only the facts decide.
    bool judgesText() const;
    // The marks that leave a word out, when the facts rules look at the marks and the spellings
    // alone, as the defaults do; nothing when others are set.
    std::optional<quint8> marksAlone() const
    {
        if (m_rules.maxLevel || m_rules.kinds || m_rules.topics || m_rules.minSyllables
            || m_rules.maxSyllables || m_rules.rhymesWith)
            return std::nullopt;
        return quint8(
            m_rules.allowOffensive ? 0 : ~(m_rules.allowMature ? WordMark::Classroom : 0));
    }

private:
    // The rules, with their texts lower-cased once for all the words judged.
    WordRules m_rules;
    // How many characters of a word the start and end rules compare: the texts' own lengths.
    qsizetype m_startSize = 0;
    qsizetype m_endSize = 0;
    quint16 m_rhyme = 0;
    // The has, lacks and pattern rules as lower-cased characters, the pattern's wildcards as
    // values no character takes.
    std::vector<char32_t> m_has;
    std::vector<char32_t> m_lacks;
    std::vector<char32_t> m_pattern;
    bool m_charactersRules = false;
};

inline bool Judge::factsHold(const WordFacts& facts) const
{
    return (!m_rules.maxLevel || (facts.level && facts.level <= *m_rules.maxLevel))
        & (!m_rules.kinds || (facts.kinds & m_rules.kinds))
        & (!m_rules.spellings || (facts.spellings & m_rules.spellings))
        & (m_rules.allowOffensive
            || !(facts.offensive & ~(m_rules.allowMature ? WordMark::Classroom : 0)))
        & (!m_rules.topics || (facts.topic < 64 && (m_rules.topics >> facts.topic & 1)))
        & (!m_rules.minSyllables || facts.syllables >= *m_rules.minSyllables)
        & (!m_rules.maxSyllables || (facts.syllables && facts.syllables <= *m_rules.maxSyllables))
        & (!m_rules.rhymesWith || (facts.rhyme && facts.rhyme == m_rhyme));
}

inline Verdict judge(const QString& word, const WordRules& rules)
{
    return Judge(rules)(word);
}

// Why rules cannot be judged on a word list without facts (WordRules::needsFacts).
QString missingFactsText();

// The word as delivered: in the case asked for.
QString delivered(const QString& word, const GenerationOptions& options);

// The number of characters, as the word database counts them.
qsizetype characterCount(const QString& word);

// The position a LetterPosition text names: nothing for "last", otherwise the number (or the
// number its text starts with) rounded to a whole number.
std::optional<int> letterPositionOf(const QString& letterPosition);

// The position of the letter to test: the word's length for the last letter or for a word
// shorter than the position, otherwise the position.
int testedPosition(const QString& word, std::optional<int> position);

// The word's character at a 1-based position counted in characters (a letter beyond the first
// 65536 is one), lower-cased (empty past the end).
// Throws RuleError for a position below 1.
QString letterAt(const QString& word, int position);

// Whether the lower-cased letter is one of vowels (English's by default).
bool isVowel(const QString& letter, const QString& vowels = QStringLiteral("aeiou"));

// First letter of each blank-separated word upper case, every other letter lower case.
QString ProperCase(const QString& text);

} // namespace AcceptanceRules
