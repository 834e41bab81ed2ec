#include "engine/AcceptanceRules.h"

#include "engine/NumericText.h"
#include "engine/RuleError.h"

#include <QLocale>
#include <algorithm>

namespace AcceptanceRules {

namespace {

    QString lower(const QString& text)
    {
        static const QLocale locale;
        // Plain ASCII lower-cases alike in every locale but those with a dotless i, without the
        // cost of the locale's full rules: most words of a run take this way.
        static const bool dotlessI
            = locale.language() == QLocale::Turkish || locale.language() == QLocale::Azerbaijani;
        if (!dotlessI
            && std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; }))
            return text.toLower();
        return locale.toLower(text);
    }

} // namespace

std::optional<int> letterPositionOf(const QString& letterPosition)
{
    if (letterPosition == QLatin1String("last"))
        return std::nullopt;
    const auto number = NumericText::value(letterPosition);
    return NumericText::roundHalfEven32(
        number ? *number : NumericText::leadingNumber(letterPosition));
}

int testedPosition(const QString& word, std::optional<int> position)
{
    const int length = int(characterCount(word));
    return !position || length < *position ? length : *position;
}

qsizetype characterCount(const QString& word)
{
    // A letter beyond the first 65536 takes two units and counts once.
    qsizetype count = word.size();
    for (const QChar c : word)
        count -= c.isLowSurrogate();
    return count;
}

namespace {

    // A required text already lower-cased, compared with the first (last) characters of a word.
    // Whether part, lower-cased, is the lowered text. Plain ASCII is compared in place, as lower()
    // would lower it: matching a whole word list then builds no string per word.
    bool lowersTo(QStringView part, const QString& lowered)
    {
        static const bool dotlessI = QLocale().language() == QLocale::Turkish
            || QLocale().language() == QLocale::Azerbaijani;
        if (dotlessI
            || !std::all_of(part.begin(), part.end(), [](QChar c) { return c.unicode() < 0x80; }))
            return lowered == lower(part.toString());
        if (part.size() != lowered.size())
            return false;
        for (qsizetype i = 0; i < part.size(); ++i) {
            const char16_t c = part[i].unicode();
            if ((c >= u'A' && c <= u'Z' ? c + 32 : c) != lowered[i].unicode())
                return false;
        }
        return true;
    }

    bool startsWithLowered(const QString& word, const QString& lowered, qsizetype size)
    {
        return lowersTo(
            QStringView(word).first(std::min(std::max<qsizetype>(1, size), word.size())), lowered);
    }

    bool endsWithLowered(const QString& word, const QString& lowered, qsizetype size)
    {
        return lowersTo(
            QStringView(word).last(std::min(std::max<qsizetype>(1, size), word.size())), lowered);
    }

    bool letterHoldsLowered(const QString& letter, const LetterRule& lowered, const QString& vowels)
    {
        switch (lowered.kind) {
        case LetterRule::Vowel:
            return isVowel(letter, vowels);
        case LetterRule::Consonant:
            return !isVowel(letter, vowels);
        case LetterRule::Letter:
            break;
        }
        return lowered.letter == letter;
    }

    // Pattern wildcards, beyond every character.
    constexpr char32_t oneCharacter = 0x110000;
    constexpr char32_t anyRun = 0x110001;

    std::vector<char32_t> characters(const QString& text)
    {
        const QList<uint> ucs4 = text.toUcs4();
        return { ucs4.begin(), ucs4.end() };
    }

    // Whether the whole word matches: a '*' that fails to match takes one more character instead,
    // back to the last '*' only, which keeps the time linear in practice.
    bool matchesPattern(const std::vector<char32_t>& pattern, const std::vector<char32_t>& word)
    {
        size_t p = 0;
        size_t w = 0;
        size_t star = pattern.size();
        size_t mark = 0;
        while (w < word.size()) {
            if (p < pattern.size() && (pattern[p] == oneCharacter || pattern[p] == word[w])) {
                ++p;
                ++w;
            } else if (p < pattern.size() && pattern[p] == anyRun) {
                star = p++;
                mark = w;
            } else if (star < pattern.size()) {
                p = star + 1;
                w = ++mark;
            } else {
                return false;
            }
        }
        while (p < pattern.size() && pattern[p] == anyRun)
            ++p;
        return p == pattern.size();
    }

    bool holdsAny(const std::vector<char32_t>& word, const std::vector<char32_t>& wanted)
    {
        return std::any_of(wanted.begin(), wanted.end(),
            [&word](char32_t c) { return std::find(word.begin(), word.end(), c) != word.end(); });
    }

    bool holdsAll(const std::vector<char32_t>& word, const std::vector<char32_t>& wanted)
    {
        return std::all_of(wanted.begin(), wanted.end(),
            [&word](char32_t c) { return std::find(word.begin(), word.end(), c) != word.end(); });
    }

} // namespace

QString letterAt(const QString& word, int position)
{
    if (position < 1)
        throw RuleError(QStringLiteral("Invalid procedure call or argument"));
    // Counted in characters, as lengths are: a letter beyond the first 65536 takes two units.
    const auto units = [&word](qsizetype at) {
        return at + 1 < word.size() && word[at].isHighSurrogate() && word[at + 1].isLowSurrogate()
            ? 2
            : 1;
    };
    qsizetype at = 0;
    for (int n = 1; n < position && at < word.size(); ++n)
        at += units(at);
    return lower(word.mid(at, units(at)));
}

bool isVowel(const QString& letter, const QString& vowels)
{
    return letter.size() == 1 && vowels.contains(letter.front());
}

Judge::Judge(const WordRules& rules, quint16 rhyme)
    : m_rules(rules)
    , m_rhyme(rhyme)
{
    if (m_rules.start) {
        m_startSize = m_rules.start->size();
        m_rules.start = lower(*m_rules.start);
    }
    if (m_rules.end) {
        m_endSize = m_rules.end->size();
        m_rules.end = lower(*m_rules.end);
    }
    for (LetterRule& letter : m_rules.letters)
        letter.letter = lower(letter.letter);
    if (m_rules.has)
        m_has = characters(lower(*m_rules.has));
    if (m_rules.lacks)
        m_lacks = characters(lower(*m_rules.lacks));
    if (m_rules.pattern) {
        m_pattern = characters(lower(*m_rules.pattern));
        for (char32_t& c : m_pattern)
            c = c == U'?' || c == U'_' ? oneCharacter : c == U'*' ? anyRun : c;
    }
    m_charactersRules = m_rules.has || m_rules.lacks || m_rules.pattern;
}

Verdict Judge::operator()(const QString& word) const
{
    Verdict verdict;
    if (m_rules.minLength || m_rules.maxLength) {
        const qsizetype length = characterCount(word);
        if ((m_rules.minLength && length < *m_rules.minLength)
            || (m_rules.maxLength && length > *m_rules.maxLength))
            verdict.accepted = false;
    }
    if (m_rules.start && !startsWithLowered(word, *m_rules.start, m_startSize))
        verdict.accepted = false;
    if (m_rules.end && !endsWithLowered(word, *m_rules.end, m_endSize))
        verdict.accepted = false;
    if (m_charactersRules) {
        const std::vector<char32_t> lowered = characters(lower(word));
        if ((m_rules.has && !holdsAll(lowered, m_has))
            || (m_rules.lacks && holdsAny(lowered, m_lacks))
            || (m_rules.pattern && !matchesPattern(m_pattern, lowered)))
            verdict.accepted = false;
    }
    for (const LetterRule& letter : m_rules.letters) {
        try {
            if (!letterHoldsLowered(
                    letterAt(word, testedPosition(word, letter.position)), letter, m_rules.vowels))
                verdict.accepted = false;
        } catch (const RuleError& error) {
            if (verdict.letterFailure.isEmpty())
                verdict.letterFailure = error.description();
        }
    }
    return verdict;
}

Verdict Judge::operator()(const QString& word, const WordFacts& facts) const
{
    Verdict verdict = (*this)(word);
    verdict.accepted = verdict.accepted && factsHold(facts);
    return verdict;
}

bool Judge::judgesText() const
{
    return static_cast<const TextRules&>(m_rules) != TextRules {};
}

QString missingFactsText()
{
    return QStringLiteral(
        "level, kind, spelling, topic, syllables and rhymes need word facts, which this word list "
        "does not have");
}

QString delivered(const QString& word, const GenerationOptions& options)
{
    using Case = GenerationOptions::WordCase;
    switch (options.wordCase) {
    case Case::Lower:
    case Case::First:
        return word.toLower();
    case Case::Upper:
        return word.toUpper();
    case Case::Proper:
        return ProperCase(word);
    case Case::AsListed:
        break;
    }
    return options.properCase ? ProperCase(word) : word;
}

QString ProperCase(const QString& text)
{
    QString result = text;
    bool startOfWord = true;
    for (qsizetype i = 0; i < result.size(); ++i) {
        // A letter beyond the first 65536 takes two units and is cased as one character.
        const bool pair = result[i].isHighSurrogate() && i + 1 < result.size()
            && result[i + 1].isLowSurrogate();
        char32_t u = pair ? QChar::surrogateToUcs4(result[i], result[i + 1]) : result[i].unicode();
        const bool separator = u == U' ' || u == U'\t' || u == U'\n' || u == U'\v' || u == U'\f'
            || u == U'\r' || u == U'\0';
        if (QChar::isLetter(u))
            u = startOfWord ? QChar::toUpper(u) : QChar::toLower(u);
        if (pair) {
            result[i] = QChar(QChar::highSurrogate(u));
            result[++i] = QChar(QChar::lowSurrogate(u));
        } else {
            result[i] = QChar(char16_t(u));
        }
        startOfWord = separator;
    }
    return result;
}

} // namespace AcceptanceRules
