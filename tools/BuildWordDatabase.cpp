// tessavine-build-words [--keep-all] INPUT OUTPUT  (target build_word_database)
//
// Reads a UTF-8 word list (one word a line) and writes the SQLite word database the program
// draws from: table `words`, one column `word TEXT`, one row per distinct word in the order of
// first appearance. Possessive forms and capitalised entries (names, abbreviations) are left out,
// and so, unless --keep-all is given, are the entries a reader would not call words: a capital
// inside (eBay), single letters other than "a", Roman numerals and entries without a vowel
// (kg, brr). OUTPUT is replaced only once the new database is complete.

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
    ~Database()
    {
        sqlite3_finalize(m_insert);
        sqlite3_close_v2(m_db);
    }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void execute(const char* sql) { check(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr)); }

    void insert(std::string_view word)
    {
        if (!m_insert)
            check(sqlite3_prepare_v2(
                m_db, "INSERT INTO words (word) VALUES (?1)", -1, &m_insert, nullptr));
        check(sqlite3_bind_text(
            m_insert, 1, word.data(), static_cast<int>(word.size()), SQLITE_STATIC));
        if (sqlite3_step(m_insert) != SQLITE_DONE)
            check(SQLITE_ERROR);
        check(sqlite3_reset(m_insert));
    }

    void close()
    {
        sqlite3_finalize(m_insert);
        m_insert = nullptr;
        const int rc = sqlite3_close(m_db);
        if (rc != SQLITE_OK)
            throw BuildError(std::string("cannot close the database: ") + sqlite3_errstr(rc));
        m_db = nullptr;
    }

private:
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            throw BuildError(std::string("database error: ") + sqlite3_errmsg(m_db));
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_insert = nullptr;
};

Counts writeDatabase(const std::string& inputPath, const std::string& databasePath, bool keepAll)
{
    InputFile input(inputPath);
    Database database(databasePath);
    // The journal only matters for a rollback, and a failed build discards the whole file.
    database.execute("PRAGMA journal_mode=MEMORY");
    // Duplicates are removed here rather than by a UNIQUE constraint: its index would double the
    // file and leave the query planner free to return the words sorted instead of in list order.
    database.execute("CREATE TABLE words (word TEXT)");
    database.execute("BEGIN");

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
            database.insert(line);
            ++counts.stored;
        }
    }
    if (counts.stored == 0)
        throw BuildError("no words to store in " + inputPath);

    database.execute("COMMIT");
    database.close();
    return counts;
}

void printSummary(const Counts& c)
{
    std::printf("%s: %ld lines read, %ld words stored; skipped: %ld blank, %ld duplicate, "
                "%ld possessive, %ld capitalised, %ld inner capital, %ld single letter, "
                "%ld Roman numeral, %ld without vowel, %ld invalid UTF-8; %ld CR LF line ends\n",
        toolName, c.lines, c.stored, c.blank, c.duplicate, c.possessive, c.capitalised,
        c.innerCapital, c.singleLetter, c.romanNumeral, c.noVowel, c.invalidUtf8, c.crLf);
}

} // namespace

int main(int argc, char* argv[])
{
    const bool keepAll = argc == 4 && std::string_view(argv[1]) == "--keep-all";
    if (argc != 3 && !keepAll) {
        std::fprintf(stderr,
            "usage: %s [--keep-all] INPUT OUTPUT\n"
            "--keep-all keeps inner capitals, single letters, Roman numerals and entries without "
            "a vowel;\npossessive and capitalised entries are left out either way\n",
            toolName);
        return 2;
    }
    const std::string inputPath = argv[argc - 2];
    const std::string outputPath = argv[argc - 1];
    // Built beside OUTPUT so that the final rename stays within one file system.
    const std::string temporaryPath = outputPath + ".tmp-" + std::to_string(::getpid());

    try {
        std::remove(temporaryPath.c_str());
        const Counts counts = writeDatabase(inputPath, temporaryPath, keepAll);
        if (std::rename(temporaryPath.c_str(), outputPath.c_str()) != 0)
            throw BuildError(systemError("cannot rename the new database onto", outputPath));
        printSummary(counts);
        return 0;
    } catch (const std::exception& error) {
        std::remove(temporaryPath.c_str());
        std::fprintf(
            stderr, "%s: %s (%s not replaced)\n", toolName, error.what(), outputPath.c_str());
        return 1;
    }
}
