// tessavine-language-words --language CODE --name NAME --native NAME --vowels LETTERS
//     --words LIST [--stems DIC] [--frequency LIST] [--names LIST] [--freedict PREFIX]
//     [--hyphen DIC] [--offensive LIST] [--classroom LIST] [--wordnet DATA.NOUN] [--capital-nouns]
//     [--latin1] [--source TEXT] OUTPUT
// (target build_language_words)
//
// Decides which entries of a language's word list are words a reader of the language accepts, and
// their facts, and writes them for build_word_database --ready-facts: a line per word with level,
// kinds, marks, syllables and an English translation, tab-separated, then the rows of table about.
//
// An entry is kept when it is made of letters only, holds a vowel of the language, is not written
// in capitals throughout (an abbreviation) and is a dictionary form (a stem of the spelling
// dictionary's .dic) or a form the frequency list holds, so that rare inflections stay out. A
// capitalised entry is kept only where the language writes its nouns so (--capital-nouns) and then
// only when the translating dictionary calls it a noun, or it is a frequent form, not a name of
// the names list, that a case or plural ending makes of such a noun.
//
// Facts: the level from the word's rank in the frequency list (levelOfRank); kinds from the
// spelling dictionary's po: fields where it has them (the stem's kinds; names, po:npr, are left
// out; with --analysis, a morphological analyser's output tells noun from adjective), else from
// the analyser's output, else from a FreeDict dictionary (dictd files PREFIX.index and
// PREFIX.dict.dz), which gives the translation too; syllables from the vowel letters, apart where
// hyphenation patterns (the hyph_*.dic files of libhyphen) break them (syllablesOf); the offensive
// and classroom marks from the lists, matched without regard to case.

#include "engine/WordFacts.h"

#include <QChar>
#include <QString>
#include <QStringDecoder>

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr const char* toolName = "tessavine-language-words";

class BuildError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

struct Options
{
    std::string language;
    std::string name;
    std::string native;
    std::string vowels;
    std::string words;
    std::string stems;
    std::string frequency;
    std::string names;
    std::string freeDict;
    std::string hyphen;
    std::string offensive;
    std::string classroom;
    std::string analysis;
    std::string wordNet;
    std::string source;
    std::string output;
    bool capitalNouns = false;
    bool latin1 = false;
};

// The lines of a text file; Latin-1 files are turned into UTF-8.
std::vector<std::string> readLines(const std::string& path, bool latin1 = false)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        throw BuildError("cannot open " + path + ": " + std::strerror(errno));
    std::vector<std::string> lines;
    std::string line;
    char buffer[65536];
    size_t got;
    std::string text;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    const bool failed = std::ferror(file);
    std::fclose(file);
    if (failed)
        throw BuildError("cannot read " + path);
    if (latin1)
        text = QString::fromLatin1(text.data(), qsizetype(text.size())).toStdString();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view piece(text.data() + start, end - start);
        if (piece.ends_with('\r'))
            piece.remove_suffix(1);
        lines.emplace_back(piece);
        start = end + 1;
    }
    return lines;
}

std::string lower(const std::string& word)
{
    return QString::fromStdString(word).toLower().toStdString();
}

// The level a frequency rank stands for, on the scale of the English levels: everyday (20 or
// below) the 10,000 most frequent forms, common (35) the next 15,000, the rest of the list 50;
// 0 (no level) outside the list.
int levelOfRank(long rank)
{
    if (rank <= 0)
        return 0;
    if (rank <= 2000)
        return 10;
    if (rank <= 10000)
        return LevelTier::everyday;
    if (rank <= 25000)
        return LevelTier::common;
    return 50;
}

// Liang's hyphenation with a libhyphen pattern file: both levels of a two-level file are applied
// together, and the non-standard breaks (after a slash) are read as plain ones.
class Hyphenation
{
public:
    explicit Hyphenation(const std::string& path)
    {
        std::vector<std::string> lines = readLines(path);
        if (lines.empty())
            throw BuildError("no hyphenation patterns in " + path);
        // The first line names the file's encoding (UTF-8, ISO8859-1, ISO8859-2...).
        QString encoding = QString::fromStdString(lines.front()).trimmed();
        if (encoding.startsWith("ISO8859"))
            encoding.insert(3, '-');
        QStringDecoder decoder(encoding.toUtf8().constData());
        if (!decoder.isValid())
            throw BuildError("unknown encoding " + lines.front() + " of " + path);
        for (size_t i = 1; i < lines.size(); ++i) {
            std::string line = lines[i];
            if (line.empty() || line[0] == '%' || line[0] == '#')
                continue;
            if (const size_t slash = line.find('/'); slash != std::string::npos)
                line.resize(slash);
            const QString text
                = decoder.decode(QByteArrayView(line.data(), qsizetype(line.size())));
            if (text.isEmpty() || text.front().isUpper())
                continue; // keywords: LEFTHYPHENMIN, NEXTLEVEL, COMPOUND...
            std::u32string letters;
            std::vector<quint8> values(1, 0);
            for (const char32_t c : text.toLower().toStdU32String()) {
                if (c >= U'0' && c <= U'9')
                    values.back() = quint8(c - U'0');
                else {
                    letters.push_back(c);
                    values.push_back(0);
                }
            }
            if (letters.empty())
                continue;
            m_longest = std::max(m_longest, letters.size());
            auto& stored = m_patterns[letters];
            if (stored.empty())
                stored = values;
            else
                for (size_t k = 0; k < values.size(); ++k)
                    stored[k] = std::max(stored[k], values[k]);
        }
    }

    // Where the patterns break a word: before each letter marked true (every break, however
    // near an end).
    std::vector<bool> breaks(const std::u32string& word) const
    {
        const std::u32string text = U"." + word + U".";
        std::vector<quint8> values(text.size() + 1, 0);
        for (size_t start = 0; start < text.size(); ++start)
            for (size_t length = 1; length <= m_longest && start + length <= text.size();
                 ++length) {
                const auto found = m_patterns.find(text.substr(start, length));
                if (found == m_patterns.end())
                    continue;
                for (size_t k = 0; k < found->second.size(); ++k)
                    values[start + k] = std::max(values[start + k], found->second[k]);
            }
        std::vector<bool> result(word.size());
        // values[i + 1] sits before word[i] (text has the dot in front).
        for (size_t i = 1; i < word.size(); ++i)
            result[i] = values[i + 1] % 2 == 1;
        return result;
    }

private:
    std::unordered_map<std::u32string, std::vector<quint8>> m_patterns;
    size_t m_longest = 0;
};

// The letters of a mute ending of French: a final e or es (amure, journées), and a verb's ent
// after a consonant (agissent; not the adverbs' ment, nor client).
size_t frenchMuteEnding(const std::u32string& word, const std::vector<bool>& vowel)
{
    for (const std::u32string_view ending : { U"ent", U"es", U"e" })
        if (word.size() > ending.size() && word.ends_with(ending)
            && (ending != U"ent" || !(word.ends_with(U"ment") || vowel[word.size() - 4])))
            return ending.size();
    return 0;
}

// Syllables as a reader speaks them: a group of vowel letters is one, and two or more where the
// patterns break it (Mu-se-um, dí-a). The pieces of the patterns alone undercount: they leave no
// single letter at an end of a line (a-beille), nor a mute ending apart.
//
// Spanish keeps two of the strong vowels a, e and o apart (ro-de-o, le-al), which its patterns
// do not always break.
//
// French spells more than it speaks, and with --language fr: u after q or g before a vowel is no
// vowel (quai); é or a diaeresis opens a vowel of its own (ré-u-nion, na-ïf), as does a vowel after
// y (pa-yer) or i and u after a consonant and l or r (peu-pli-er); the mute ending is not spoken,
// nor an e between single consonants with vowels on either side (griffon(ne)ment, ach(e)ver,
// chan(ge)ment).
int syllablesOf(const std::u32string& word, const std::vector<bool>& breaks,
    std::u32string_view vowels, std::string_view language)
{
    const bool french = language == "fr";
    const std::u32string_view strong = language == "es" ? U"aeoáéó" : U"";
    const size_t n = word.size();
    std::vector<bool> vowel(n);
    for (size_t i = 0; i < n; ++i)
        vowel[i] = vowels.find(word[i]) != std::u32string_view::npos;
    const auto is = [&](size_t i, std::u32string_view letters) {
        return letters.find(word[i]) != std::u32string_view::npos;
    };
    size_t end = n;
    if (french) {
        for (size_t i = 1; i + 1 < n; ++i)
            if (word[i] == U'u' && is(i - 1, U"qg") && vowel[i + 1])
                vowel[i] = false;
        end -= frenchMuteEnding(word, vowel);
    }
    int count = 0;
    for (size_t i = 0; i < end; ++i) {
        if (!vowel[i])
            continue;
        bool opens = i == 0 || !vowel[i - 1] || breaks[i] || (is(i, strong) && is(i - 1, strong));
        if (french && !opens)
            opens = is(i, U"ïëü") || word[i - 1] == U'é'
                || (i >= 2 && word[i - 1] == U'y' && vowel[i - 2])
                || (i >= 3 && is(i - 1, U"iu") && is(i - 2, U"lr") && !vowel[i - 3]
                    && !is(i - 3, U"lr"));
        count += opens;
    }
    if (french)
        for (size_t i = 2; i + 2 < end; ++i) {
            if (word[i] != U'e' || vowel[i - 1] || vowel[i + 1] || !vowel[i + 2])
                continue;
            // The consonant before may be written with two letters (nn, ch, qu), or follow the n
            // or m of a nasal vowel (chan(ge)ment).
            const std::u32string_view two(word.data() + i - 2, 2);
            const bool digraph = word[i - 1] == word[i - 2]
                || std::u32string_view(U"ch ph th gn qu gu").find(two) != std::u32string_view::npos;
            const bool nasal = i >= 3 && is(i - 2, U"nm") && vowel[i - 3];
            const long before = long(i) - (digraph || nasal ? 3 : 2);
            count -= before >= 0 && vowel[size_t(before)];
        }
    return std::max(count, 1);
}

// Whether an entry of the word list is kept as a word: letters only, a vowel of the language, not
// capitals throughout, and capitalised only where nouns are.
bool isWordShape(const std::u32string& word, std::u32string_view vowels, bool capitalNouns)
{
    if (word.empty()
        || !std::all_of(word.begin(), word.end(), [](char32_t c) { return QChar::isLetter(c); }))
        return false;
    const auto isUpper = [](char32_t c) { return QChar::isUpper(c) || QChar::isTitleCase(c); };
    if (std::any_of(word.begin() + 1, word.end(), isUpper))
        return false;
    if (isUpper(word.front()) && !capitalNouns)
        return false;
    return std::any_of(word.begin(), word.end(),
        [&](char32_t c) { return vowels.find(QChar::toLower(c)) != std::u32string_view::npos; });
}

// The endings German adds to a noun for its cases and plurals (Hauses, Bildern, Frauen).
constexpr std::string_view nounEndings[] = { "s", "es", "e", "n", "en", "er", "ern", "nen" };

struct StemTags
{
    quint8 kinds = 0;
    bool name = false;
};

// The kind a spelling dictionary's po: field names: nom, v1_..., adj, adv.
quint8 kindOfTag(std::string_view tag)
{
    return tag == "nom" ? WordKind::Noun
        : tag == "adj"  ? WordKind::Adjective
        : tag == "adv"  ? WordKind::Adverb
        : tag.size() > 1 && tag[0] == 'v' && std::isdigit((unsigned char)tag[1]) ? WordKind::Verb
                                                                                 : 0;
}

struct Translated
{
    quint8 kinds = 0;
    bool name = false;
    // Every translation of every entry is an English name (Afrika: Africa; Montag: Monday is not,
    // for WordNet holds it as a common noun).
    bool namedOnly = true;
    bool feminine = false;
    std::string translation;
};

// A FreeDict headword line: "Haus /haʊs/ <n, neut, sg>"; the tags give the kinds, "prop" a name.
void readHeadword(std::string_view line, std::string& word, Translated& facts)
{
    const size_t slash = line.find(" /");
    const size_t tag = line.find(" <");
    word = std::string(line.substr(0, std::min(slash, tag)));
    if (tag == std::string_view::npos)
        return;
    const std::string_view tags = line.substr(tag + 2, line.find('>', tag) - tag - 2);
    size_t start = 0;
    while (start <= tags.size()) {
        size_t end = tags.find(',', start);
        if (end == std::string_view::npos)
            end = tags.size();
        std::string_view t = tags.substr(start, end - start);
        while (t.starts_with(' '))
            t.remove_prefix(1);
        facts.kinds |= t == "n" ? WordKind::Noun
            : t == "v"          ? WordKind::Verb
            : t == "adj"        ? WordKind::Adjective
            : t == "adv"        ? WordKind::Adverb
                                : 0;
        facts.name |= t == "prop" || t == "pn";
        facts.feminine |= t == "fem";
        start = end + 1;
    }
}

// The first sense's translations, without FreeDict's labels ([coll.]), tags (<n>), numbering,
// notes and pronunciations (/.../).
std::string translationOf(std::string_view sense)
{
    std::string text;
    int depth = 0;
    bool pronunciation = false;
    for (const char c : sense) {
        if (c == '/' && depth == 0)
            pronunciation = !pronunciation;
        else if (pronunciation)
            continue;
        else if (c == '[' || c == '<' || c == '(')
            ++depth;
        else if ((c == ']' || c == '>' || c == ')') && depth > 0)
            --depth;
        else if (depth == 0)
            text.push_back(c);
    }
    size_t first = text.find_first_not_of(" \t");
    if (first != std::string::npos && first + 1 < text.size()
        && std::isdigit((unsigned char)text[first]) && text.compare(first + 1, 2, ". ") == 0)
        first += 3;
    text = first == std::string::npos ? std::string() : text.substr(first);
    std::string cleaned;
    for (const char c : text)
        if (!(c == ' ' && (cleaned.empty() || cleaned.back() == ' ')))
            cleaned.push_back(c);
    while (!cleaned.empty() && (cleaned.back() == ' ' || cleaned.back() == ','))
        cleaned.pop_back();
    // Commas left doubled by a removed label.
    for (size_t at; (at = cleaned.find(" ,")) != std::string::npos;)
        cleaned.erase(at, 1);
    for (size_t at; (at = cleaned.find(",,")) != std::string::npos;)
        cleaned.erase(at, 1);
    return cleaned;
}

// Translations cut at a comma to at most about 60 characters, as the shown one is.
std::string shortened(std::string translations)
{
    while (translations.size() > 60) {
        const size_t comma = translations.rfind(',');
        if (comma == std::string::npos || comma == 0)
            break;
        translations.resize(comma);
    }
    return translations;
}

// WordNet's nouns in lower case: the lemmas of synsets that are instances of another (@i: Africa,
// Thames) are names, the rest common nouns (Monday, Canadian, lake).
struct EnglishNouns
{
    std::unordered_set<std::string> names;
    std::unordered_set<std::string> common;
};

// Whether an English translation is a name: one WordNet holds only as a name, or, where WordNet
// lacks it, capitalised throughout but for the small words of names (Bridge of Sighs) with no word
// a common noun (Monday Mon, Murder Squad).
bool isEnglishName(std::string_view text, const EnglishNouns& nouns)
{
    const std::string folded = lower(std::string(text));
    if (nouns.common.contains(folded))
        return false;
    if (nouns.names.contains(folded))
        return true;
    static const std::unordered_set<std::string_view> small = { "of", "the", "and", "on", "de" };
    bool any = false;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty() || !std::isalpha((unsigned char)word[0]))
            continue;
        if (!std::isupper((unsigned char)word[0]) && !small.contains(word))
            return false;
        if (nouns.common.contains(lower(std::string(word))))
            return false;
        any = true;
    }
    return any;
}

std::unordered_map<std::string, Translated> readFreeDict(
    const std::string& prefix, const EnglishNouns& nouns)
{
    const std::string path = prefix + ".dict.dz";
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file)
        throw BuildError("cannot open " + path);
    std::string text;
    char buffer[1 << 16];
    int got;
    while ((got = gzread(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(got));
    const bool failed = got < 0;
    gzclose(file);
    if (failed)
        throw BuildError("cannot read " + path);
    // The index gives each entry's place as base-64 offset and length.
    const auto number = [](std::string_view digits) {
        static const std::string_view alphabet
            = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        size_t value = 0;
        for (const char c : digits)
            value = value * 64 + alphabet.find(c);
        return value;
    };
    std::unordered_map<std::string, Translated> entries;
    for (const std::string& line : readLines(prefix + ".index")) {
        const size_t tab = line.find('\t');
        const size_t tab2 = line.find('\t', tab + 1);
        if (tab == std::string::npos || tab2 == std::string::npos || line.starts_with("00-"))
            continue;
        const size_t offset = number(std::string_view(line).substr(tab + 1, tab2 - tab - 1));
        const size_t length = number(std::string_view(line).substr(tab2 + 1));
        if (offset >= text.size())
            continue;
        const std::string_view entry = std::string_view(text).substr(offset, length);
        const size_t end = entry.find('\n');
        if (end == std::string_view::npos)
            continue;
        std::string word;
        Translated facts;
        readHeadword(entry.substr(0, end), word, facts);
        // Several entries share a headword (Laufen the noun and laufen the verb are apart, but
        // a word may have an entry per sense): kinds add up.
        const size_t next = entry.find('\n', end + 1);
        const std::string_view sense = entry.substr(end + 1, next - end - 1);
        const std::string all = translationOf(sense);
        facts.translation = shortened(all);
        Translated& known = entries[word];
        known.kinds |= facts.kinds;
        known.name |= facts.name && !facts.kinds;
        known.feminine |= facts.feminine;
        for (size_t start = 0; start < all.size();) {
            size_t comma = all.find(',', start);
            if (comma == std::string::npos)
                comma = all.size();
            std::string_view one = std::string_view(all).substr(start, comma - start);
            while (one.starts_with(' '))
                one.remove_prefix(1);
            known.namedOnly = known.namedOnly && isEnglishName(one, nouns);
            start = comma + 1;
        }
        // The shortest translation is most often the plain sense (house, not establishment).
        if (!facts.translation.empty()
            && (known.translation.empty() || facts.translation.size() < known.translation.size()))
            known.translation = facts.translation;
    }
    return entries;
}

// Apertium's analyses (lt-proc -a), a line per word: ^surface/lemma<tag><tag>.../...$. A word
// has the kinds of the analyses whose lemma is the word itself, so that an inflected form has none
// (as in English); the first tag names the part of speech.
std::unordered_map<std::string, quint8> readAnalysis(const std::string& path)
{
    std::unordered_map<std::string, quint8> kinds;
    for (const std::string& line : readLines(path)) {
        if (!line.starts_with('^') || !line.ends_with('$'))
            continue;
        const std::string_view body = std::string_view(line).substr(1, line.size() - 2);
        const size_t slash = body.find('/');
        if (slash == std::string_view::npos)
            continue;
        const std::string surface(body.substr(0, slash));
        quint8& known = kinds[surface];
        for (size_t start = slash + 1; start < body.size();) {
            size_t end = body.find('/', start);
            if (end == std::string_view::npos)
                end = body.size();
            const std::string_view analysis = body.substr(start, end - start);
            const size_t tag = analysis.find('<');
            if (tag != std::string_view::npos && analysis.substr(0, tag) == surface) {
                const std::string_view first
                    = analysis.substr(tag + 1, analysis.find('>', tag) - tag - 1);
                known |= first == "n"         ? WordKind::Noun
                    : first.starts_with("vb") ? WordKind::Verb
                    : first == "adj"          ? WordKind::Adjective
                    : first == "adv"          ? WordKind::Adverb
                                              : 0;
            }
            start = end + 1;
        }
    }
    return kinds;
}

EnglishNouns readEnglishNouns(const std::string& path)
{
    EnglishNouns nouns;
    for (const std::string& line : readLines(path)) {
        if (line.empty() || line[0] == ' ')
            continue;
        auto& into = line.find(" @i ") != std::string::npos ? nouns.names : nouns.common;
        // offset lex_filenum ss_type w_cnt (hex), then w_cnt pairs of word and lex_id.
        size_t at = 0;
        for (int field = 0; field < 3 && at != std::string::npos; ++field)
            at = line.find(' ', at) + 1;
        const size_t countEnd = line.find(' ', at);
        if (at == 0 || countEnd == std::string::npos)
            continue;
        long count = std::strtol(line.c_str() + at, nullptr, 16);
        for (at = countEnd + 1; count > 0; --count) {
            const size_t end = line.find(' ', at);
            if (end == std::string::npos)
                break;
            std::string lemma = line.substr(at, end - at);
            std::replace(lemma.begin(), lemma.end(), '_', ' ');
            into.insert(lower(lemma));
            at = line.find(' ', end + 1) + 1; // past the lex_id
        }
    }
    // A lemma that is also a common noun (Mercury, mercury) is not taken for a name.
    for (const std::string& lemma : nouns.common)
        nouns.names.erase(lemma);
    return nouns;
}

// A list of words, one a line, matched in lower case; blank lines and # comments skipped.
std::unordered_set<std::string> readSet(const std::string& path)
{
    std::unordered_set<std::string> set;
    for (const std::string& line : readLines(path))
        if (!line.empty() && line[0] != '#')
            set.insert(lower(line));
    return set;
}

const char* const usage
    = "usage: %s --language CODE --name NAME --native NAME --vowels LETTERS --words LIST\n"
      "  [--stems DIC] [--frequency LIST] [--names LIST] [--freedict PREFIX] [--hyphen DIC]\n"
      "  [--offensive LIST] [--classroom LIST] [--analysis FILE] [--wordnet DATA.NOUN]\n"
      "  [--capital-nouns] [--latin1]\n"
      "  [--source TEXT] OUTPUT\n";

std::optional<Options> optionsOf(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        std::string* value = argument == "--language" ? &options.language
            : argument == "--name"                    ? &options.name
            : argument == "--native"                  ? &options.native
            : argument == "--vowels"                  ? &options.vowels
            : argument == "--words"                   ? &options.words
            : argument == "--stems"                   ? &options.stems
            : argument == "--frequency"               ? &options.frequency
            : argument == "--names"                   ? &options.names
            : argument == "--freedict"                ? &options.freeDict
            : argument == "--hyphen"                  ? &options.hyphen
            : argument == "--offensive"               ? &options.offensive
            : argument == "--classroom"               ? &options.classroom
            : argument == "--analysis"                ? &options.analysis
            : argument == "--wordnet"                 ? &options.wordNet
            : argument == "--source"                  ? &options.source
                                                      : nullptr;
        if (argument == "--capital-nouns")
            options.capitalNouns = true;
        else if (argument == "--latin1")
            options.latin1 = true;
        else if (value && i + 1 < argc)
            *value = argv[++i];
        else if (value || argument.starts_with("--") || !options.output.empty())
            return std::nullopt;
        else
            options.output = argument;
    }
    if (options.language.empty() || options.name.empty() || options.native.empty()
        || options.vowels.empty() || options.words.empty() || options.output.empty())
        return std::nullopt;
    return options;
}

std::string clean(std::string text)
{
    // Tabs and line feeds would break the line format.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n'; }, ' ');
    return text;
}

int run(const Options& options)
{
    const std::u32string vowels = QString::fromStdString(options.vowels).toStdU32String();
    // The stems with the kinds their po: fields give, where the dictionary has them.
    std::unordered_map<std::string, StemTags> stems;
    bool stemsTagged = false;
    if (!options.stems.empty())
        for (const std::string& line : readLines(options.stems)) {
            // A .dic line: WORD/FLAGS FIELDS, after a first line with the count.
            const std::string word = line.substr(0, line.find_first_of("/\t "));
            if (word.empty() || std::isdigit((unsigned char)word[0]))
                continue;
            StemTags& tags = stems[word];
            for (size_t at = line.find(" po:"); at != std::string::npos;
                 at = line.find(" po:", at + 1)) {
                stemsTagged = true;
                const std::string_view tag = std::string_view(line).substr(at + 4);
                tags.kinds |= kindOfTag(tag.substr(0, tag.find_first_of(" \t")));
                tags.name |= tag.starts_with("npr") || tag.starts_with("patr");
            }
        }
    std::unordered_map<std::string, long> ranks;
    if (!options.frequency.empty())
        for (const std::string& line : readLines(options.frequency))
            ranks.emplace(lower(line), long(ranks.size()) + 1);
    const std::unordered_set<std::string> names
        = options.names.empty() ? std::unordered_set<std::string>() : readSet(options.names);
    const std::unordered_set<std::string> offensive = options.offensive.empty()
        ? std::unordered_set<std::string>()
        : readSet(options.offensive);
    const std::unordered_set<std::string> classroom = options.classroom.empty()
        ? std::unordered_set<std::string>()
        : readSet(options.classroom);
    const auto analysed = options.analysis.empty() ? std::unordered_map<std::string, quint8>()
                                                   : readAnalysis(options.analysis);
    const EnglishNouns englishNouns
        = options.wordNet.empty() ? EnglishNouns() : readEnglishNouns(options.wordNet);
    const auto translated = options.freeDict.empty() ? std::unordered_map<std::string, Translated>()
                                                     : readFreeDict(options.freeDict, englishNouns);
    const std::optional<Hyphenation> hyphenation = options.hyphen.empty()
        ? std::nullopt
        : std::optional<Hyphenation>(std::in_place, options.hyphen);

    std::FILE* out = std::fopen(options.output.c_str(), "wb");
    if (!out)
        throw BuildError("cannot create " + options.output + ": " + std::strerror(errno));
    std::unordered_set<std::string> seen;
    long kept = 0, levels[3] = {}, kinds[4] = {}, marked[2] = {}, withTranslation = 0;
    const std::vector<std::string> entries = readLines(options.words, options.latin1);
    const std::unordered_set<std::string> listed(entries.begin(), entries.end());
    for (const std::string& word : entries) {
        const std::u32string letters = QString::fromStdString(word).toStdU32String();
        if (!isWordShape(letters, vowels, options.capitalNouns) || !seen.insert(word).second)
            continue;
        const std::string folded = lower(word);
        const auto rank = ranks.find(folded);
        if (stems.find(word) == stems.end() && rank == ranks.end())
            continue;
        const auto known = translated.find(word);
        const auto stem = stems.find(word);
        // Names of the spelling dictionary (po:npr) are left out whatever their case.
        if (stem != stems.end() && stem->second.name && !stem->second.kinds)
            continue;
        const bool capitalised = QChar::isUpper(letters.front());
        // A capitalised entry is a noun when the dictionary says so; one the dictionary holds
        // as something else (Boston) or does not hold at all is a name, unless it is a frequent
        // form not in the names list that a case or plural ending makes of a noun of the
        // dictionary (Hauses, Bildern; subtitles' names such as Karin or Reagan are not).
        // With WordNet, a noun whose every translation is an English name (Afrika, Schlesien) is
        // a name too, and so are its forms (Englands).
        if (capitalised) {
            const auto isNoun = [&](const std::string& form) {
                const auto found = translated.find(form);
                if (found == translated.end() || !(found->second.kinds & WordKind::Noun))
                    return false;
                // One for a person of a place has a feminine form (Rheinländerin, Korsin).
                const Translated& facts = found->second;
                return englishNouns.common.empty() || facts.translation.empty() || !facts.namedOnly
                    || listed.contains(form + "in")
                    || (form.ends_with('e')
                        && listed.contains(form.substr(0, form.size() - 1) + "in"));
            };
            // A feminine -in takes -nen alone (Christin, Christinnen: Christine is a name).
            const auto takes = [&](const std::string& base, std::string_view ending) {
                const auto found = translated.find(base);
                return ending == "nen" || !base.ends_with("in") || found == translated.end()
                    || !found->second.feminine;
            };
            const bool inflection = known == translated.end() && rank != ranks.end()
                && !names.contains(folded)
                && std::any_of(
                    std::begin(nounEndings), std::end(nounEndings), [&](std::string_view ending) {
                        if (word.size() <= ending.size() || !word.ends_with(ending))
                            return false;
                        const std::string base = word.substr(0, word.size() - ending.size());
                        return takes(base, ending) && isNoun(base);
                    });
            if (!isNoun(word) && !inflection)
                continue;
        }
        const int wordLevel = levelOfRank(rank == ranks.end() ? 0 : rank->second);
        const auto analysis = analysed.find(word);
        const quint8 analyserKinds = analysis == analysed.end() ? 0 : analysis->second;
        quint8 wordKinds = 0;
        if (stemsTagged) {
            // A stem the dictionary calls both noun and adjective (mécanicien, omniscient) keeps
            // those of the two the analyser gives it, where it gives either.
            constexpr quint8 both = WordKind::Noun | WordKind::Adjective;
            wordKinds = stem == stems.end() ? 0 : stem->second.kinds;
            if ((wordKinds & both) == both && (analyserKinds & both))
                wordKinds = quint8((wordKinds & ~both) | (analyserKinds & both));
        } else if (!analysed.empty())
            wordKinds = analyserKinds;
        else if (known != translated.end()) {
            // FreeDict tags an adjective used as an adverb (schnell) with both; it is an
            // adjective, as German grammar counts it.
            wordKinds = known->second.kinds;
            if (wordKinds & WordKind::Adjective)
                wordKinds &= quint8(~WordKind::Adverb);
        }
        const int marks
            = (offensive.contains(folded) ? 1 : 0) | (classroom.contains(folded) ? 2 : 0);
        const std::u32string lowered
            = QString::fromStdU32String(letters).toLower().toStdU32String();
        const int syllables = hyphenation
            ? syllablesOf(lowered, hyphenation->breaks(lowered), vowels, options.language)
            : 0;
        const std::string translation
            = known == translated.end() ? std::string() : clean(known->second.translation);
        std::fprintf(out, "%s\t%d\t%d\t%d\t%d\t%s\n", word.c_str(), wordLevel, wordKinds, marks,
            syllables, translation.c_str());
        ++kept;
        levels[0] += wordLevel && wordLevel <= LevelTier::everyday;
        levels[1] += wordLevel > LevelTier::everyday && wordLevel <= LevelTier::common;
        levels[2] += wordLevel > LevelTier::common;
        for (int k = 0; k < 4; ++k)
            kinds[k] += (wordKinds >> k) & 1;
        marked[0] += marks & 1;
        marked[1] += (marks & 2) >> 1;
        withTranslation += !translation.empty();
    }
    std::string facts;
    for (const auto& [has, fact] : { std::pair { !ranks.empty(), "level" },
             std::pair { !translated.empty() || stemsTagged || !analysed.empty(), "kinds" },
             std::pair { bool(hyphenation), "syllables" },
             std::pair { !offensive.empty(), "offensive" },
             std::pair { !classroom.empty(), "classroom" },
             std::pair { !translated.empty(), "definitions" } })
        if (has)
            facts += (facts.empty() ? "" : ",") + std::string(fact);
    // The tool knows which source gave the kinds; the build names the rest.
    std::string kindsSource = stemsTagged ? ". Kinds: the spelling dictionary's po: fields"
        : !analysed.empty()               ? ". Kinds: Apertium's analyses"
        : !translated.empty()             ? ". Kinds: FreeDict's headword tags"
                                          : "";
    if (stemsTagged && !analysed.empty())
        kindsSource += ", noun or adjective by Apertium's analyses";
    const std::pair<const char*, std::string> about[] = { { "language", options.language },
        { "name", options.name }, { "native", options.native }, { "facts", facts },
        { "definitions", translated.empty() ? "" : "translation" }, { "vowels", options.vowels },
        { "source", options.source + kindsSource } };
    // A row without a value (no translations, no source named) is left out rather than empty.
    for (const auto& [key, value] : about)
        if (!value.empty())
            std::fprintf(out, "#about\t%s\t%s\n", key, clean(value).c_str());
    const bool failed = std::ferror(out);
    if (std::fclose(out) != 0 || failed)
        throw BuildError("cannot write " + options.output);
    std::printf("%s: %s: %ld words: %ld everyday, %ld common, %ld rarer; %ld noun, %ld verb, %ld "
                "adjective, %ld adverb; %ld offensive, %ld classroom; %ld with a translation\n",
        toolName, options.language.c_str(), kept, levels[0], levels[1], levels[2], kinds[0],
        kinds[1], kinds[2], kinds[3], marked[0], marked[1], withTranslation);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::optional<Options> options = optionsOf(argc, argv);
    if (!options) {
        std::fprintf(stderr, usage, toolName);
        return 2;
    }
    try {
        return run(*options);
    } catch (const std::exception& error) {
        std::remove(options->output.c_str());
        std::fprintf(stderr, "%s: %s\n", toolName, error.what());
        return 1;
    }
}
