#include "engine/WordDrawer.h"

#include "engine/AcceptanceRules.h"
#include "engine/RuleError.h"

#include <cstddef>
#include <cstring>

WordDrawer::WordDrawer(const WordSet& words, const WordRules& rules, Untestable untestable)
    : m_words(words)
    , m_untestable(untestable)
    , m_rules(rules)
{
    match();
}

void WordDrawer::setRules(const WordRules& rules)
{
    if (rules == m_rules)
        return;
    m_rules = rules;
    match();
}

void WordDrawer::match()
{
    const bool facts = m_words.hasFacts();
    if (!facts && m_rules.needsFacts())
        throw RuleError(AcceptanceRules::missingFactsText());
    m_rows.clear();
    m_rows.reserve(size_t(m_words.count()));
    const int n = m_words.count();
    // The ending a rhyme must share is looked up once, for any word of the list or the dictionary.
    quint16 rhyme = 0;
    if (m_rules.rhymesWith) {
        const std::optional<quint16> found = m_words.rhymeOf(*m_rules.rhymesWith);
        if (!found)
            throw RuleError(QStringLiteral("rhymes need a word database with pronunciations, "
                                           "which this one does not have"));
        if (!*found)
            throw RuleError(
                QStringLiteral("'%1' is neither in the word list nor in the pronouncing "
                               "dictionary, so what rhymes with it is not known")
                    .arg(*m_rules.rhymesWith));
        rhyme = *found;
    }
    const AcceptanceRules::Judge judge(m_rules, rhyme);
    // Without a rule on the text no word need be read, only its facts.
    const bool text = judge.judgesText();
    // Read in place where the set holds them in one block: a call per word costs more than the
    // test.
    const uchar* const block = facts ? m_words.factsBlock() : nullptr;
    const auto factsOf = [&](int r) {
        WordFacts held;
        if (!block)
            return m_words.facts(r);
        std::memcpy(&held, block + sizeof(WordFacts) * size_t(r - 1), sizeof held);
        return held;
    };
    // Only the facts decide: each row is written and kept when they hold, without a branch on
    // the words' facts, which no predictor guesses.
    const std::optional<quint8> marks = judge.marksAlone();
    if (block && !text && marks) {
        // The defaults: a test of two bytes, which one-word runs of a small list pay for.
        const quint8 spellings = m_rules.spellings;
        m_rows.resize(size_t(n));
        size_t kept = 0;
        for (int r = 1; r <= n; ++r) {
            const uchar* const facts = block + sizeof(WordFacts) * size_t(r - 1);
            m_rows[kept] = r;
            kept += (!spellings || (facts[offsetof(WordFacts, spellings)] & spellings))
                & !(facts[offsetof(WordFacts, offensive)] & *marks);
        }
        m_rows.resize(kept);
    } else if (block && !text && !rhyme) {
        m_rows.resize(size_t(n));
        size_t kept = 0;
        for (int r = 1; r <= n; ++r) {
            m_rows[kept] = r;
            kept += judge.factsHold(factsOf(r));
        }
        m_rows.resize(kept);
    } else {
        for (int r = 1; r <= n; ++r) {
            if (facts && !judge.factsHold(factsOf(r)))
                continue;
            // A word does not rhyme with itself.
            if (rhyme
                && QString::compare(m_words.wordText(r), *m_rules.rhymesWith, Qt::CaseInsensitive)
                    == 0)
                continue;
            if (!text) {
                m_rows.push_back(r);
                continue;
            }
            const auto verdict = judge(m_words.wordText(r));
            const bool untestable = !verdict.letterFailure.isEmpty();
            if (untestable ? m_untestable == Untestable::Keep : verdict.accepted)
                m_rows.push_back(r);
        }
    }
    // A database of an older build knows no word's syllables, nor topics: say so rather than
    // that nothing matches.
    if (m_rows.empty() && facts
        && (m_rules.topics || m_rules.minSyllables || m_rules.maxSyllables)) {
        bool counted = false;
        for (int r = 1; r <= n && !counted; ++r)
            counted = m_words.facts(r).syllables != 0;
        if (!counted)
            throw RuleError(QStringLiteral("topics and syllables need a word database built with "
                                           "them, which this one is not"));
    }
}
