// tessavine-build-words [--keep-all] [--british LIST] [--canadian LIST]
//                       [--scowl FOLDER --wordnet FOLDER [--offensive LIST] [--classroom LIST]]
//                       INPUT OUTPUT
//                       | --ready-facts INPUT OUTPUT
// (target build_word_database)
//
// Reads a UTF-8 word list (one word a line) and writes the SQLite word database the program
// draws from: table `words` with the column `word TEXT`, one row per distinct word in the order of
// first appearance. Possessive forms and capitalised entries (names, abbreviations) are left out,
// and so, unless --keep-all is given, are the entries a reader would not call words: a capital
// inside (eBay), single letters other than "a", Roman numerals and entries without a vowel
// (kg, brr). The British and Canadian lists add their own words after INPUT's.
//
// With SCOWL and WordNet the table also holds each word's facts: `level` (SCOWL's size level,
// NULL outside it), `kinds` (bits: 1 noun, 2 verb, 4 adjective, 8 adverb), `spellings` (bits:
// 1 American, 2 British, 4 Canadian), `offensive` (1 or 0) and `classroom` (1 for a word not
// for a class that is not offensive, else 0); table `definitions` holds a gloss
// per word (that of its most used sense; capitalised WordNet entries, names, are left out), and
// table `kind_definitions` one per part of speech of a word that has several. Table `word_pack`
// holds a compact copy of it all that the program loads at once. OUTPUT is replaced only once the
// new database is complete.
//
// With --ready-facts, INPUT holds words whose facts another tool has decided (a language other
// than English, see LanguageWords.cpp): a line per word, tab-separated word, level, kinds, marks
// (1 offensive, 2 classroom), syllables and an English translation; lines "#about KEY VALUE" fill
// table about. The words are stored as they stand.

#include "Pronunciations.h"
#include "WordNet.h"
#include "engine/WordFacts.h"

#include <QChar>
#include <QString>

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

constexpr const char* toolName = "tessavine-build-words";

struct Counts
{
    long lines = 0;
    long stored = 0;
    long blank = 0;
    long duplicate = 0;
    long possessive = 0;
    long capitalised = 0;
    long innerCapital = 0;
    long singleLetter = 0;
    long romanNumeral = 0;
    long noVowel = 0;
    long invalidUtf8 = 0;
    long crLf = 0;
    // Words no list before this one held.
    long added = 0;
};

class BuildError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

std::string systemError(const std::string& what, const std::string& path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

// Decodes the whole line strictly: overlong forms, surrogates, code points past U+10FFFF,
// truncated sequences and NUL are refused. Returns the code points, or nothing when the line
// is not acceptable text.
std::optional<std::u32string> decodeUtf8(std::string_view text)
{
    std::u32string decoded;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        char32_t cp = 0;
        size_t length = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            cp = lead;
            length = 1;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            length = 2;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            length = 3;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            length = 4;
            minimum = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + length > text.size())
            return std::nullopt;
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0)
            return std::nullopt;
        decoded.push_back(cp);
        i += length;
    }
    return decoded;
}

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t\v\f") == std::string_view::npos;
}

bool isPossessive(std::string_view word)
{
    // Lists written by hand may use the typographic apostrophe (U+2019) as well.
    return word.ends_with("'s") || word.ends_with("\u2019s");
}

bool isCapital(char32_t letter)
{
    const QChar::Category category = QChar::category(letter);
    return category == QChar::Letter_Uppercase || category == QChar::Letter_Titlecase;
}

bool hasCapital(std::u32string_view word)
{
    return std::any_of(word.begin(), word.end(), isCapital);
}

bool isSingleLetter(std::u32string_view word)
{
    return word.size() == 1 && word != U"a" && QChar::isLetter(word.front());
}

// Only the canonical form counts (subtractive pairs IV IX XL XC CD CM, at most three repeats),
// so words that merely use the numeral letters, like dim, mild, civil, lid or vim, stay. Of the
// canonical forms in the usual English lists, three are words in their own right and stay too.
bool isRomanNumeral(std::string_view word)
{
    static const std::regex numeral("m{0,3}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})");
    static constexpr std::string_view words[] = { "mix", "mi", "xi" };
    return !word.empty() && std::find(std::begin(words), std::end(words), word) == std::end(words)
        && std::regex_match(word.begin(), word.end(), numeral);
}

// Accented vowels count by their base letter (é is e); ligatures and ø have none, so they are
// named.
bool hasVowel(std::u32string_view word)
{
    return std::any_of(word.begin(), word.end(), [](char32_t letter) {
        const QString decomposed = QChar::decomposition(letter);
        const char32_t base = decomposed.isEmpty() ? letter : decomposed.front().unicode();
        return std::u32string_view(U"aeiouy\u00e6\u00f8\u0153").find(base)
            != std::u32string_view::npos;
    });
}

class InputFile
{
public:
    explicit InputFile(const std::string& path)
        : m_path(path)
        , m_file(std::fopen(path.c_str(), "rb"))
    {
        if (!m_file)
            throw BuildError(systemError("cannot open word list", path));
    }
    ~InputFile()
    {
        std::free(m_buffer);
        if (m_file)
            std::fclose(m_file);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The next line without its line feed; nothing at the end of the file.
    std::optional<std::string_view> nextLine()
    {
        ssize_t length = ::getline(&m_buffer, &m_capacity, m_file);
        if (length < 0) {
            if (std::ferror(m_file))
                throw BuildError(systemError("cannot read word list", m_path));
            return std::nullopt;
        }
        if (length > 0 && m_buffer[length - 1] == '\n')
            --length;
        return std::string_view(m_buffer, static_cast<size_t>(length));
    }

private:
    std::string m_path;
    std::FILE* m_file;
    char* m_buffer = nullptr;
    size_t m_capacity = 0;
};

class Database
{
public:
    explicit Database(const std::string& path)
    {
        const int rc = sqlite3_open_v2(path.c_str(), &m_db,
            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc != SQLITE_OK) {
            const std::string message = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            throw BuildError("cannot create " + path + ": " + message);
        }
    }
    ~Database() { sqlite3_close_v2(m_db); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void execute(const char* sql) { check(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr)); }

    // Runs a prepared statement once per call of bind, which binds its values.
    template <typename Bind> void insert(const char* sql, Bind&& bind)
    {
        sqlite3_stmt* statement = nullptr;
        check(sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr));
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(statement, sqlite3_finalize);
        while (bind(statement)) {
            if (sqlite3_step(statement) != SQLITE_DONE)
                check(SQLITE_ERROR);
            check(sqlite3_reset(statement));
        }
    }
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            throw BuildError(std::string("database error: ") + sqlite3_errmsg(m_db));
    }

    bool hasColumn(const char* table, const char* column)
    {
        sqlite3_stmt* statement = nullptr;
        check(sqlite3_prepare_v2(
            m_db, "SELECT 1 FROM pragma_table_info(?1) WHERE name = ?2", -1, &statement, nullptr));
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(statement, sqlite3_finalize);
        check(sqlite3_bind_text(statement, 1, table, -1, SQLITE_STATIC));
        check(sqlite3_bind_text(statement, 2, column, -1, SQLITE_STATIC));
        return sqlite3_step(statement) == SQLITE_ROW;
    }

    void close()
    {
        const int rc = sqlite3_close(m_db);
        if (rc != SQLITE_OK)
            throw BuildError(std::string("cannot close the database: ") + sqlite3_errstr(rc));
        m_db = nullptr;
    }

private:
    sqlite3* m_db = nullptr;
};

struct Entry
{
    std::string word;
    WordFacts facts;
    std::string definition;
    // The definition of each part of speech of a word that has several, the most used first.
    std::vector<std::pair<quint8, std::string>> kindDefinitions;
};

struct Sources
{
    bool keepAll = false;
    bool readyFacts = false;
    std::string input;
    std::string output;
    std::string british;
    std::string canadian;
    std::string scowl;
    std::string wordNet;
    std::string offensive;
    std::string classroom;
    std::string cmu;
    std::string espeak;
};

// Adds the kept words of a list to entries, in the order of first appearance; a word already
// there only gains the list's spelling.
Counts readList(const std::string& path, quint8 spelling, bool keepAll, std::vector<Entry>& entries,
    std::unordered_map<std::string, size_t>& places)
{
    InputFile input(path);
    Counts counts;
    std::unordered_set<std::string> seen;
    while (const auto next = input.nextLine()) {
        std::string_view line = *next;
        ++counts.lines;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
            ++counts.crLf;
        }
        // A byte-order mark left by some editors is not part of the first word.
        if (counts.lines == 1 && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);

        const std::optional<std::u32string> word = decodeUtf8(line);
        if (isBlank(line))
            ++counts.blank;
        else if (!word)
            ++counts.invalidUtf8;
        else if (isPossessive(line))
            ++counts.possessive;
        else if (isCapital(word->front()))
            ++counts.capitalised;
        else if (!keepAll && hasCapital(*word))
            ++counts.innerCapital;
        else if (!keepAll && isSingleLetter(*word))
            ++counts.singleLetter;
        else if (!keepAll && isRomanNumeral(line))
            ++counts.romanNumeral;
        else if (!keepAll && !hasVowel(*word))
            ++counts.noVowel;
        else if (!seen.emplace(line).second)
            ++counts.duplicate;
        else {
            const auto [place, added] = places.emplace(line, entries.size());
            if (added)
                entries.push_back({ std::string(line), {}, {}, {} });
            entries[place->second].facts.spellings |= spelling;
            ++counts.stored;
            counts.added += added;
        }
    }
    return counts;
}

// The lowest SCOWL level of each word in the English, American, British and Canadian word lists
// of folder (files NAME-words.LEVEL).
std::unordered_map<std::string, quint8> readLevels(const std::string& folder)
{
    std::unordered_map<std::string, quint8> levels;
    int files = 0;
    for (const char* name : { "english", "american", "british", "canadian" }) {
        for (const int level : { 10, 20, 35, 40, 50, 55, 60, 70, 80, 95 }) {
            const std::string path = folder + "/" + name + "-words." + std::to_string(level);
            if (::access(path.c_str(), F_OK) != 0)
                continue;
            ++files;
            InputFile input(path);
            while (const auto line = input.nextLine()) {
                const auto [place, added] = levels.emplace(std::string(*line), quint8(level));
                if (!added && place->second > level)
                    place->second = quint8(level);
            }
        }
    }
    if (files == 0)
        throw BuildError("no SCOWL word lists (english-words.10 and the like) in " + folder);
    return levels;
}

// The abbreviations that SCOWL's English and American lists of folder (NAME-abbreviations.LEVEL)
// write in capitals up to the common tier (ID, PA), lower-cased.
std::unordered_set<std::string> readAbbreviations(const std::string& folder)
{
    std::unordered_set<std::string> abbreviations;
    for (const char* name : { "english", "american" })
        for (const int level : { 10, 20, 35 }) {
            const std::string path
                = folder + "/" + name + "-abbreviations." + std::to_string(level);
            if (::access(path.c_str(), F_OK) != 0)
                continue;
            InputFile input(path);
            while (const auto line = input.nextLine()) {
                std::string word(*line);
                if (word.empty() || !std::all_of(word.begin(), word.end(), [](char c) {
                        return c >= 'A' && c <= 'Z';
                    }))
                    continue;
                for (char& c : word)
                    c = char(c - 'A' + 'a');
                abbreviations.insert(word);
            }
        }
    return abbreviations;
}

// A list of words, one a line; blank lines and lines starting with # are left out.
std::unordered_set<std::string> readWordSet(const std::string& path)
{
    InputFile input(path);
    std::unordered_set<std::string> words;
    while (const auto line = input.nextLine())
        if (!isBlank(*line) && !line->starts_with('#'))
            words.emplace(*line);
    return words;
}

// The word without accents (café: cafe), as WordNet spells its lemmas.
std::string withoutAccents(const std::string& word)
{
    const QString decomposed
        = QString::fromStdString(word).normalized(QString::NormalizationForm_D);
    QString plain;
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    return plain.toStdString();
}

struct FactCounts
{
    long everyday = 0;
    long common = 0;
    long kinds[4] = {};
    long inflected = 0;
    long spellings[3] = {};
    long offensive = 0;
    long offensiveByWordNet = 0;
    long offensiveByList = 0;
    long classroom = 0;
    long classroomByWordNet = 0;
    long classroomByList = 0;
    long defined = 0;
    long definedPerKind = 0;
    long topics[Topic::count + 1] = {};
    // Syllables: words the dictionary counts, and how the estimate does on them.
    long pronounced = 0;
    long spoken = 0;
    long fromBase = 0;
    long estimateExact = 0;
    long estimateWithinOne = 0;
};

// The pronouncing dictionary's rhyme endings, numbered from 1 in the order of their text, so that
// a build from the same sources numbers them alike.
std::unordered_map<std::string, quint16> rhymeIds(const Pronunciations& pronunciations)
{
    std::vector<std::string> endings;
    for (const auto& [word, entry] : pronunciations.entries())
        endings.push_back(entry.rhyme);
    std::sort(endings.begin(), endings.end());
    endings.erase(std::unique(endings.begin(), endings.end()), endings.end());
    if (endings.size() > 0xffff)
        throw BuildError("the pronouncing dictionary has more rhyme endings than an id can number");
    std::unordered_map<std::string, quint16> ids;
    for (size_t i = 0; i < endings.size(); ++i)
        ids.emplace(endings[i], quint16(i + 1));
    return ids;
}

// The syllables and rhyme of every entry. Where the dictionary is silent, those of a form of a
// word it holds (shticks) from that word and its ending, else as espeak-ng says the word, else
// syllables estimated; a rhyme ending the dictionary's words lack is numbered after theirs. The
// estimate is measured on the words it is not.
void addSounds(std::vector<Entry>& entries, std::unordered_map<std::string, quint16>& rhymes,
    const Pronunciations* pronunciations, const Sources& sources, const std::string& prefix,
    FactCounts& counts)
{
    std::vector<std::string> unknown;
    std::unordered_set<std::string> words;
    for (const Entry& entry : entries) {
        words.insert(entry.word);
        if (!pronunciations || !pronunciations->find(withoutAccents(entry.word)))
            unknown.push_back(entry.word);
    }
    const auto spoken = sources.espeak.empty() ? std::unordered_map<std::string, Spoken>()
                                               : spokenWords(unknown, sources.espeak, prefix);
    counts.spoken = long(spoken.size());
    const auto isWord = [&](const std::string& word) { return words.count(word) > 0; };
    for (Entry& entry : entries) {
        const std::string plain = withoutAccents(entry.word);
        const int estimate = estimatedSyllables(plain);
        const Pronunciations::Entry* known = pronunciations ? pronunciations->find(plain) : nullptr;
        const Pronunciations::Entry form = known || !pronunciations
            ? Pronunciations::Entry()
            : pronunciations->inflected(plain, isWord);
        const auto said = known ? spoken.end() : spoken.find(entry.word);
        const int syllables = known ? known->syllables
            : form.syllables > 0    ? form.syllables
            : said != spoken.end()  ? said->second.syllables
                                    : estimate;
        entry.facts.syllables = quint8(std::min(syllables, 255));
        entry.facts.rhyme = known ? rhymes.at(known->rhyme) : 0;
        counts.fromBase += form.syllables > 0;
        const std::string& sounds
            = form.rhyme.empty() && said != spoken.end() ? said->second.rhyme : form.rhyme;
        if (!known && !sounds.empty() && rhymes.size() < 0xffff)
            entry.facts.rhyme
                = rhymes.try_emplace(sounds, quint16(rhymes.size() + 1)).first->second;
        if (known) {
            ++counts.pronounced;
            counts.estimateExact += estimate == syllables;
            counts.estimateWithinOne += std::abs(estimate - syllables) <= 1;
        }
    }
}

// A list of words to mark, as the offensive and the classroom lists are: it also marks the
// inflected forms of its words (plural, verb and comparative endings) and those in -ly, -ity and
// -ness (sensually, from sensual), so it need name only
// dictionary forms and the derived words that no rule forms (whorehouse). Lines starting with "!"
// keep a word that WordNet would mark (and its inflected forms), or that the list's rules would
// (damning, although damn is listed).
class MarkList
{
public:
    MarkList(const std::string& path, const WordNet& wordNet)
        : m_wordNet(wordNet)
    {
        for (const std::string& word :
            path.empty() ? std::unordered_set<std::string>() : readWordSet(path))
            (word.starts_with('!') ? m_kept : m_listed).insert(word.substr(word.starts_with('!')));
    }

    bool kept(const std::string& word) const
    {
        const std::string base = m_wordNet.baseForm(word);
        return m_kept.count(word) || (!base.empty() && m_kept.count(base));
    }

    bool listed(const std::string& word) const
    {
        if (m_kept.count(word))
            return false;
        if (m_listed.count(word))
            return true;
        for (const auto& [suffix, ending] :
            std::initializer_list<std::pair<std::string, std::string>> { { "s", "" }, { "es", "" },
                { "ed", "" }, { "ed", "e" }, { "ing", "" }, { "ing", "e" }, { "ies", "y" },
                { "ier", "y" }, { "iest", "y" }, { "ly", "" }, { "ity", "" }, { "ness", "" } })
            if (word.size() > suffix.size() + 1 && word.ends_with(suffix)) {
                const std::string stem = word.substr(0, word.size() - suffix.size());
                // A derived form only of a word of some length (not holy from ho).
                if ((suffix == "ly" || suffix == "ity" || suffix == "ness") && stem.size() < 4)
                    continue;
                // A doubled last consonant comes from the ending (cumming), or belongs (kissing).
                const bool doubled = stem.size() > 2 && stem.back() == stem[stem.size() - 2];
                if (m_listed.count(stem + ending)
                    || (doubled && m_listed.count(stem.substr(0, stem.size() - 1) + ending)))
                    return true;
            }
        const std::string base = m_wordNet.baseForm(word);
        return !base.empty() && m_listed.count(base);
    }

private:
    const WordNet& m_wordNet;
    std::unordered_set<std::string> m_listed;
    std::unordered_set<std::string> m_kept;
};

// The facts of every entry from SCOWL, WordNet and the offensive and classroom lists.
FactCounts addFacts(std::vector<Entry>& entries, const Sources& sources)
{
    const auto levels = readLevels(sources.scowl);
    const auto abbreviations = readAbbreviations(sources.scowl);
    const WordNet wordNet(sources.wordNet, &levels);
    const MarkList offensiveList(sources.offensive, wordNet);
    const MarkList classroomList(sources.classroom, wordNet);

    FactCounts counts;
    for (Entry& entry : entries) {
        WordFacts& facts = entry.facts;
        const auto level = levels.find(entry.word);
        facts.level = level == levels.end() ? 0 : level->second;
        const std::string plain = withoutAccents(entry.word);
        // An abbreviation (id: ID) is a noun only by a sense that tagged text uses.
        facts.kinds = abbreviations.count(plain) && !wordNet.uses(plain) ? 0 : wordNet.kinds(plain);
        // A word outside the common tier is met mostly in whatever offensive sense it has.
        const bool rare = !facts.level || facts.level > LevelTier::common;
        const bool byWordNet = wordNet.offensive(plain, rare) && !offensiveList.kept(plain);
        const bool byList = offensiveList.listed(plain);
        // A word carries one mark, the stronger.
        const bool classroomByWordNet = wordNet.classroom(plain) && !classroomList.kept(plain);
        const bool classroomByList = classroomList.listed(plain);
        const bool classroom = !(byWordNet || byList) && (classroomByWordNet || classroomByList);
        facts.offensive = quint8((byWordNet || byList ? WordMark::Offensive : 0)
            | (classroom ? WordMark::Classroom : 0));
        entry.definition = wordNet.definition(plain, 0, &facts.topic);
        entry.kindDefinitions = wordNet.kindDefinitions(plain);
        ++counts.topics[facts.topic];

        counts.everyday += facts.level && facts.level <= LevelTier::everyday;
        counts.common += facts.level && facts.level <= LevelTier::common;
        for (int k = 0; k < 4; ++k)
            counts.kinds[k] += (facts.kinds >> k) & 1;
        counts.inflected += !facts.kinds && !wordNet.baseForm(plain).empty();
        for (int s = 0; s < 3; ++s)
            counts.spellings[s] += (facts.spellings >> s) & 1;
        counts.offensive += byWordNet || byList;
        counts.offensiveByWordNet += byWordNet;
        counts.offensiveByList += byList;
        counts.classroom += classroom;
        counts.classroomByWordNet += classroom && classroomByWordNet;
        counts.classroomByList += classroom && classroomByList;
        counts.defined += !entry.definition.empty();
        counts.definedPerKind += !entry.kindDefinitions.empty();
    }
    return counts;
}

void appendWord(std::string& bytes, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(char((value >> (8 * i)) & 0xFF));
}

// The compact copy of the table (WordPack in engine/WordFacts.h), which the program loads in one
// read instead of a row at a time.
std::string packOf(const std::vector<Entry>& entries, bool withFacts)
{
    std::vector<std::u16string> texts;
    for (const Entry& entry : entries)
        texts.push_back(QString::fromStdString(entry.word).toStdU16String());
    std::string pack;
    appendWord(pack, WordPack::magic);
    appendWord(pack, WordPack::version);
    appendWord(pack, quint32(entries.size()));
    size_t textSize = 0;
    for (const std::u16string& text : texts)
        textSize += text.size();
    appendWord(pack, quint32(textSize));
    appendWord(pack, withFacts ? WordPack::hasFacts : 0);
    quint32 offset = 0;
    for (const std::u16string& text : texts) {
        appendWord(pack, offset);
        offset += quint32(text.size());
    }
    appendWord(pack, offset);
    for (const std::u16string& text : texts)
        for (const char16_t unit : text) {
            pack.push_back(char(unit & 0xFF));
            pack.push_back(char(unit >> 8));
        }
    for (const Entry& entry : entries)
        if (withFacts)
            pack.append(reinterpret_cast<const char*>(&entry.facts), sizeof entry.facts);
    return pack;
}

// Every word of the pronouncing dictionary with its rhyme ending, so that a rhyme can be sought for
// any word it holds, and every word of the list it rhymes for (café, by cafe), and the endings'
// sounds.
void writeRhymes(Database& database, const Pronunciations& pronunciations,
    const std::unordered_map<std::string, quint16>& rhymes, const std::vector<Entry>& entries)
{
    database.execute(
        "CREATE TABLE rhyme_keys (word TEXT PRIMARY KEY, rhyme INTEGER NOT NULL) WITHOUT ROWID");
    auto next = pronunciations.entries().begin();
    database.insert("INSERT INTO rhyme_keys VALUES (?1, ?2)", [&](sqlite3_stmt* statement) {
        if (next == pronunciations.entries().end())
            return false;
        const auto& [word, entry] = *next++;
        database.check(
            sqlite3_bind_text(statement, 1, word.data(), int(word.size()), SQLITE_STATIC));
        database.check(sqlite3_bind_int(statement, 2, rhymes.at(entry.rhyme)));
        return true;
    });
    auto listed = entries.begin();
    database.insert("INSERT INTO rhyme_keys VALUES (?1, ?2)", [&](sqlite3_stmt* statement) {
        while (
            listed != entries.end() && (!listed->facts.rhyme || pronunciations.find(listed->word)))
            ++listed;
        if (listed == entries.end())
            return false;
        const Entry& entry = *listed++;
        database.check(sqlite3_bind_text(
            statement, 1, entry.word.data(), int(entry.word.size()), SQLITE_STATIC));
        database.check(sqlite3_bind_int(statement, 2, entry.facts.rhyme));
        return true;
    });
    database.execute(
        "CREATE TABLE rhyme_endings (rhyme INTEGER PRIMARY KEY, sounds TEXT NOT NULL)");
    auto ending = rhymes.begin();
    database.insert("INSERT INTO rhyme_endings VALUES (?1, ?2)", [&](sqlite3_stmt* statement) {
        if (ending == rhymes.end())
            return false;
        const auto& [sounds, id] = *ending++;
        database.check(sqlite3_bind_int(statement, 1, id));
        database.check(
            sqlite3_bind_text(statement, 2, sounds.data(), int(sounds.size()), SQLITE_STATIC));
        return true;
    });
}

// A language's words carry a classroom mark and the rows of table about beside the facts.
struct LanguageExtras
{
    std::vector<std::string> classroom;
    std::vector<std::pair<std::string, std::string>> about;
};

void writeLanguageExtras(Database& database, const LanguageExtras& extras)
{
    // Added only where the table does not have the column already.
    database.execute("CREATE TEMP TABLE classroom_words (word TEXT)");
    auto next = extras.classroom.begin();
    database.insert("INSERT INTO classroom_words VALUES (?1)", [&](sqlite3_stmt* statement) {
        if (next == extras.classroom.end())
            return false;
        database.check(
            sqlite3_bind_text(statement, 1, next->data(), int(next->size()), SQLITE_STATIC));
        ++next;
        return true;
    });
    if (!database.hasColumn("words", "classroom"))
        database.execute("ALTER TABLE words ADD COLUMN classroom INTEGER NOT NULL DEFAULT 0");
    database.execute(
        "UPDATE words SET classroom = 1 WHERE word IN (SELECT word FROM classroom_words)");
    database.execute("DROP TABLE classroom_words");
    database.execute("CREATE TABLE about (key TEXT PRIMARY KEY, value TEXT)");
    auto row = extras.about.begin();
    database.insert("INSERT INTO about VALUES (?1, ?2)", [&](sqlite3_stmt* statement) {
        if (row == extras.about.end())
            return false;
        database.check(sqlite3_bind_text(
            statement, 1, row->first.data(), int(row->first.size()), SQLITE_STATIC));
        database.check(sqlite3_bind_text(
            statement, 2, row->second.data(), int(row->second.size()), SQLITE_STATIC));
        ++row;
        return true;
    });
}

void writeDatabase(const std::vector<Entry>& entries, const std::string& path, bool withFacts,
    const Pronunciations* pronunciations, const std::unordered_map<std::string, quint16>& rhymes,
    const LanguageExtras* extras = nullptr)
{
    Database database(path);
    // The journal only matters for a rollback, and a failed build discards the whole file.
    database.execute("PRAGMA journal_mode=MEMORY");
    // Large pages: the compact copy is read in a few calls instead of one per 4 KiB.
    database.execute("PRAGMA page_size=65536");
    database.execute("BEGIN");
    // Duplicates are removed here rather than by a UNIQUE constraint: its index would double the
    // file and leave the query planner free to return the words sorted instead of in list order.
    database.execute(withFacts ? "CREATE TABLE words (word TEXT, level INTEGER, kinds INTEGER, "
                                 "spellings INTEGER, offensive INTEGER, topic INTEGER, syllables "
                                 "INTEGER, rhyme INTEGER, classroom INTEGER)"
                               : "CREATE TABLE words (word TEXT)");
    size_t next = 0;
    database.insert(withFacts ? "INSERT INTO words VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"
                              : "INSERT INTO words VALUES (?1)",
        [&](sqlite3_stmt* statement) {
            if (next == entries.size())
                return false;
            const Entry& entry = entries[next++];
            database.check(sqlite3_bind_text(
                statement, 1, entry.word.data(), int(entry.word.size()), SQLITE_STATIC));
            if (withFacts) {
                if (entry.facts.level)
                    database.check(sqlite3_bind_int(statement, 2, entry.facts.level));
                else
                    database.check(sqlite3_bind_null(statement, 2));
                database.check(sqlite3_bind_int(statement, 3, entry.facts.kinds));
                database.check(sqlite3_bind_int(statement, 4, entry.facts.spellings));
                database.check(sqlite3_bind_int(
                    statement, 5, (entry.facts.offensive & WordMark::Offensive) != 0));
                database.check(sqlite3_bind_int(statement, 6, entry.facts.topic));
                database.check(sqlite3_bind_int(statement, 7, entry.facts.syllables));
                database.check(sqlite3_bind_int(statement, 8, entry.facts.rhyme));
                database.check(sqlite3_bind_int(
                    statement, 9, (entry.facts.offensive & WordMark::Classroom) != 0));
            }
            return true;
        });
    if (withFacts) {
        // Keyed by the word, so that a definition stays with its word whatever happens to rows.
        database.execute("CREATE TABLE definitions (word TEXT PRIMARY KEY, definition TEXT NOT "
                         "NULL) WITHOUT ROWID");
        next = 0;
        database.insert("INSERT INTO definitions VALUES (?1, ?2)", [&](sqlite3_stmt* statement) {
            while (next < entries.size() && entries[next].definition.empty())
                ++next;
            if (next == entries.size())
                return false;
            const Entry& entry = entries[next++];
            database.check(sqlite3_bind_text(
                statement, 1, entry.word.data(), int(entry.word.size()), SQLITE_STATIC));
            database.check(sqlite3_bind_text(statement, 2, entry.definition.data(),
                int(entry.definition.size()), SQLITE_STATIC));
            return true;
        });
    }
    if (withFacts) {
        // The definition a word has in each of its parts of speech, when it has several: rank 0
        // is the most used part, whose definition table definitions holds too.
        database.execute("CREATE TABLE kind_definitions (word TEXT, rank INTEGER, kind INTEGER, "
                         "definition TEXT NOT NULL, PRIMARY KEY (word, rank)) WITHOUT ROWID");
        size_t rank = 0;
        next = 0;
        database.insert(
            "INSERT INTO kind_definitions VALUES (?1, ?2, ?3, ?4)", [&](sqlite3_stmt* statement) {
                while (next < entries.size() && rank == entries[next].kindDefinitions.size()) {
                    ++next;
                    rank = 0;
                }
                if (next == entries.size())
                    return false;
                const Entry& entry = entries[next];
                const auto& [kind, definition] = entry.kindDefinitions[rank];
                database.check(sqlite3_bind_text(
                    statement, 1, entry.word.data(), int(entry.word.size()), SQLITE_STATIC));
                database.check(sqlite3_bind_int(statement, 2, int(rank++)));
                database.check(sqlite3_bind_int(statement, 3, kind));
                database.check(sqlite3_bind_text(
                    statement, 4, definition.data(), int(definition.size()), SQLITE_STATIC));
                return true;
            });
    }
    if (pronunciations)
        writeRhymes(database, *pronunciations, rhymes, entries);
    // Before the triggers, which would take the marking of rows for a change by hand.
    if (extras)
        writeLanguageExtras(database, *extras);
    database.execute("CREATE TABLE word_pack (data BLOB)");
    const std::string pack = packOf(entries, withFacts);
    bool packed = false;
    database.insert("INSERT INTO word_pack VALUES (?1)", [&](sqlite3_stmt* statement) {
        if (packed)
            return false;
        packed = true;
        database.check(
            sqlite3_bind_blob(statement, 1, pack.data(), int(pack.size()), SQLITE_STATIC));
        return true;
    });
    // A change to the table by hand makes the copy stale: the copy then goes, and the program
    // reads the table itself.
    for (const char* trigger : WordPack::staleTriggers)
        database.execute(trigger);
    database.execute("COMMIT");
    database.close();
}

// The words and facts a language tool decided, checked as they are read: a bad line ends the build
// naming its number.
std::vector<Entry> readReadyFacts(const std::string& path, LanguageExtras& extras)
{
    InputFile input(path);
    std::vector<Entry> entries;
    std::unordered_set<std::string> seen;
    long number = 0;
    while (const auto next = input.nextLine()) {
        ++number;
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab; (tab = next->find('\t', start)) != std::string_view::npos; start = tab + 1)
            fields.emplace_back(next->substr(start, tab - start));
        fields.emplace_back(next->substr(start));
        const auto bad = [&](const char* why) {
            return BuildError(
                path + " line " + std::to_string(number) + ": " + why + " (" + fields[0] + ")");
        };
        if (fields[0] == "#about") {
            if (fields.size() != 3)
                throw bad("an about line needs a key and a value");
            extras.about.emplace_back(fields[1], fields[2]);
            continue;
        }
        if (fields.size() != 6)
            throw bad("a word line needs six fields");
        if (fields[0].empty() || !decodeUtf8(fields[0]))
            throw bad("the word is empty or not UTF-8");
        if (!seen.insert(fields[0]).second)
            throw bad("the word is there twice");
        int numbers[4];
        for (int i = 0; i < 4; ++i) {
            char* end = nullptr;
            errno = 0;
            const long value = std::strtol(fields[size_t(i) + 1].c_str(), &end, 10);
            if (fields[size_t(i) + 1].empty() || *end || errno || value < 0 || value > 255)
                throw bad("a fact is not a number from 0 to 255");
            numbers[i] = int(value);
        }
        Entry entry { fields[0], {}, fields[5], {} };
        entry.facts.level = quint8(numbers[0]);
        entry.facts.kinds = quint8(numbers[1]);
        // Both marks, as the pack carries them: the classroom one left out by default too.
        entry.facts.offensive = quint8(numbers[2] & (WordMark::Offensive | WordMark::Classroom));
        entry.facts.syllables = quint8(numbers[3]);
        if (numbers[2] & 2)
            extras.classroom.push_back(entry.word);
        entries.push_back(std::move(entry));
    }
    if (entries.empty())
        throw BuildError("no words to store in " + path);
    return entries;
}

void printSummary(const Counts& c, const char* list)
{
    std::printf("%s: %s%ld lines read, %ld words stored; skipped: %ld blank, %ld duplicate, "
                "%ld possessive, %ld capitalised, %ld inner capital, %ld single letter, "
                "%ld Roman numeral, %ld without vowel, %ld invalid UTF-8; %ld CR LF line ends\n",
        toolName, list, c.lines, c.stored, c.blank, c.duplicate, c.possessive, c.capitalised,
        c.innerCapital, c.singleLetter, c.romanNumeral, c.noVowel, c.invalidUtf8, c.crLf);
}

void printFacts(const FactCounts& c, size_t words)
{
    std::printf(
        "%s: word facts of %zu words: %ld everyday (SCOWL level %d or below), %ld common "
        "(level %d or below); %ld noun, %ld verb, %ld adjective, %ld adverb, %ld "
        "inflected form (no part of speech); %ld American, %ld British, %ld Canadian; "
        "%ld offensive (%ld by WordNet's usage labels and glosses, %ld by the offensive list); "
        "%ld not for a class (%ld by WordNet's glosses and hypernyms, %ld by the classroom "
        "list); %ld with a definition, %ld with one per part of speech\n",
        toolName, words, c.everyday, LevelTier::everyday, c.common, LevelTier::common, c.kinds[0],
        c.kinds[1], c.kinds[2], c.kinds[3], c.inflected, c.spellings[0], c.spellings[1],
        c.spellings[2], c.offensive, c.offensiveByWordNet, c.offensiveByList, c.classroom,
        c.classroomByWordNet, c.classroomByList, c.defined, c.definedPerKind);
    std::printf("%s: topics:", toolName);
    for (int t = 1; t <= Topic::count; ++t)
        if (Topic::holds[t - 1])
            std::printf(" %s %ld,", Topic::names[t - 1], c.topics[t]);
    std::printf(" none %ld\n", c.topics[0]);
    if (c.pronounced)
        std::printf("%s: syllables of %ld words (%.1f%%) from the pronouncing dictionary, %ld "
                    "from a word it holds, the others as espeak-ng says them (%ld) or "
                    "estimated; on the dictionary's words the estimate is exact for %.1f%%, "
                    "within one for %.1f%%\n",
            toolName, c.pronounced, 100.0 * double(c.pronounced) / double(words), c.fromBase,
            c.spoken, 100.0 * double(c.estimateExact) / double(c.pronounced),
            100.0 * double(c.estimateWithinOne) / double(c.pronounced));
}

const char* const usage
    = "usage: %s [--keep-all] [--british LIST] [--canadian LIST] [--scowl FOLDER --wordnet "
      "FOLDER [--offensive LIST] [--classroom LIST] [--cmu DICT] [--espeak PROGRAM]] INPUT "
      "OUTPUT\n"
      "--keep-all keeps inner capitals, single letters, Roman numerals and entries without a "
      "vowel;\npossessive and capitalised entries are left out either way. INPUT counts as "
      "American,\n--british and --canadian add their lists' words; --scowl (SCOWL's final "
      "lists) and --wordnet\n(WordNet's dict folder) add the word facts, --offensive a list of "
      "words to mark offensive,\n--classroom a list of words to mark not for a class, --cmu the "
      "CMU Pronouncing Dictionary (festlex-cmu's "
      "cmudict-0.4.out) the syllables and "
      "rhymes,\n--espeak espeak-ng, which says the words the dictionary lacks for their "
      "syllables\n"
      "   or: %s --ready-facts INPUT OUTPUT\n"
      "INPUT then holds a language's words with their facts, one word a line: word, level, "
      "kinds,\nmarks, syllables and translation, tab-separated; lines #about KEY VALUE fill "
      "table about\n";

// The sources named on the command line; nothing for a usage error.
std::optional<Sources> sourcesOf(int argc, char* argv[])
{
    Sources sources;
    std::vector<std::string> paths;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        std::string* value = argument == "--british" ? &sources.british
            : argument == "--canadian"               ? &sources.canadian
            : argument == "--scowl"                  ? &sources.scowl
            : argument == "--wordnet"                ? &sources.wordNet
            : argument == "--offensive"              ? &sources.offensive
            : argument == "--classroom"              ? &sources.classroom
            : argument == "--cmu"                    ? &sources.cmu
            : argument == "--espeak"                 ? &sources.espeak
                                                     : nullptr;
        if (argument == "--keep-all")
            sources.keepAll = true;
        else if (argument == "--ready-facts")
            sources.readyFacts = true;
        else if (value && i + 1 < argc && !std::string_view(argv[i + 1]).empty())
            *value = argv[++i];
        else if (value || (argument.starts_with("--") && paths.size() < 2))
            return std::nullopt;
        else
            paths.emplace_back(argument);
    }
    if (paths.size() != 2 || sources.scowl.empty() != sources.wordNet.empty()
        || (sources.scowl.empty()
            && (!sources.offensive.empty() || !sources.classroom.empty() || !sources.cmu.empty()
                || !sources.espeak.empty()))
        || (sources.readyFacts
            && (sources.keepAll || !sources.scowl.empty() || !sources.british.empty()
                || !sources.canadian.empty())))
        return std::nullopt;
    sources.input = paths[0];
    sources.output = paths[1];
    return sources;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::optional<Sources> sources = sourcesOf(argc, argv);
    if (!sources) {
        std::fprintf(stderr, usage, toolName, toolName);
        return 2;
    }
    const std::string& outputPath = sources->output;
    // Built beside OUTPUT so that the final rename stays within one file system.
    const std::string temporaryPath = outputPath + ".tmp-" + std::to_string(::getpid());

    try {
        if (sources->readyFacts) {
            LanguageExtras extras;
            const std::vector<Entry> entries = readReadyFacts(sources->input, extras);
            std::remove(temporaryPath.c_str());
            writeDatabase(entries, temporaryPath, true, nullptr, {}, &extras);
            if (std::rename(temporaryPath.c_str(), outputPath.c_str()) != 0)
                throw BuildError(systemError("cannot rename the new database onto", outputPath));
            std::printf("%s: %zu words stored with their facts\n", toolName, entries.size());
            return 0;
        }
        std::vector<Entry> entries;
        std::unordered_map<std::string, size_t> places;
        const Counts counts
            = readList(sources->input, Spelling::American, sources->keepAll, entries, places);
        if (counts.stored == 0)
            throw BuildError("no words to store in " + sources->input);
        std::vector<std::pair<Counts, std::string>> more;
        for (const auto& [path, spelling, name] :
            { std::tuple { sources->british, Spelling::British, "British list: " },
                std::tuple { sources->canadian, Spelling::Canadian, "Canadian list: " } })
            if (!path.empty())
                more.emplace_back(
                    readList(path, spelling, sources->keepAll, entries, places), name);
        const bool withFacts = !sources->scowl.empty();
        FactCounts facts = withFacts ? addFacts(entries, *sources) : FactCounts();
        const std::unique_ptr<Pronunciations> pronunciations
            = sources->cmu.empty() ? nullptr : std::make_unique<Pronunciations>(sources->cmu);
        auto rhymes = pronunciations ? rhymeIds(*pronunciations)
                                     : std::unordered_map<std::string, quint16>();
        if (withFacts)
            addSounds(entries, rhymes, pronunciations.get(), *sources, temporaryPath, facts);

        std::remove(temporaryPath.c_str());
        writeDatabase(entries, temporaryPath, withFacts, pronunciations.get(), rhymes);
        if (std::rename(temporaryPath.c_str(), outputPath.c_str()) != 0)
            throw BuildError(systemError("cannot rename the new database onto", outputPath));
        printSummary(counts, "");
        for (const auto& [listCounts, name] : more) {
            printSummary(listCounts, name.c_str());
            std::printf("%s: %s%ld words not in the lists before\n", toolName, name.c_str(),
                listCounts.added);
        }
        if (withFacts)
            printFacts(facts, entries.size());
        return 0;
    } catch (const std::exception& error) {
        std::remove(temporaryPath.c_str());
        std::fprintf(
            stderr, "%s: %s (%s not replaced)\n", toolName, error.what(), outputPath.c_str());
        return 1;
    }
}
