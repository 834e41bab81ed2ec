// tessavine-cli: random English words from the shell, drawn by the rules the window uses.
#include "engine/AcceptanceRules.h"
#include "engine/Entropy.h"
#include "engine/NumericText.h"
#include "engine/PlainWordList.h"
#include "engine/PlatformError.h"
#include "engine/SeededRandom.h"
#include "engine/SqliteWordStore.h"
#include "engine/SystemRandom.h"
#include "engine/WordDatabasePath.h"
#include "engine/WordDrawer.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum Status
{
    Success = 0,
    Failure = 1,
    UsageError = 2
};

// Ends the run: main prints the message as one line on standard error and exits with the status.
struct Exit
{
    int status;
    QString message;
};

[[noreturn]] void fail(int status, const QString& message)
{
    throw Exit { status, message };
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A value as the user gave it, fit for a message: bytes that are not UTF-8 show as \xHH.
QString shown(const QByteArray& bytes)
{
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = uchar(bytes[i]);
        const qsizetype n = lead < 0xc0 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString part = decoder(bytes.mid(i, n));
        if (decoder.hasError() || i + n > bytes.size()) {
            text += QStringLiteral("\\x%1").arg(lead, 2, 16, QLatin1Char('0'));
            ++i;
        } else {
            text += part;
            i += n;
        }
    }
    return text;
}

// Control characters escaped, so that a value holding a line feed cannot split the line.
QString oneLine(const QString& message)
{
    QString line;
    for (const QChar c : message) {
        if (c == u'\n')
            line += QStringLiteral("\\n");
        else if (c == u'\t')
            line += QStringLiteral("\\t");
        else if (c.category() == QChar::Other_Control)
            line += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            line += c;
    }
    return line;
}

// The options, in the order --help lists them. A new option is a row here and a line in
// readRequest.
struct OptionSpec
{
    char shortName; // 0 for none
    const char* name;
    const char* valueName; // null for a switch
    const char* help;
};

constexpr OptionSpec optionTable[] = {
    { 'n', "count", "N", "Write N words (default 10)." },
    { 0, "min", "N", "Only words of at least N characters." },
    { 0, "max", "N", "Only words of at most N characters (not below --min)." },
    { 0, "start", "TEXT", "Only words that start with TEXT, compared lower-cased." },
    { 0, "end", "TEXT", "Only words that end with TEXT, compared lower-cased." },
    { 0, "letter", "POS:WHAT",
        "Only words whose letter at POS (a whole number from 1, or last; the last letter for a "
        "shorter word) is WHAT: vowel, consonant or one letter." },
    { 0, "level", "LEVEL",
        "Only words of the commonness LEVEL: everyday, common or any (default)." },
    { 0, "kind", "KIND",
        "Only dictionary forms of the part of speech KIND: noun, verb, adjective or adverb." },
    { 0, "spelling", "SPELLING", "Only words of the SPELLING: us (default), gb, ca or any." },
    { 0, "offensive", nullptr, "Also draw words marked offensive, left out by default." },
    { 0, "proper", nullptr, "Write each word in proper case." },
    { 0, "define", nullptr, "Follow each word with a tab and its definition." },
    { 's', "separator", "TEXT",
        "Put TEXT between words, byte for byte (default a line feed); the output ends with a "
        "line feed." },
    { 'o', "output", "FILE",
        "Write to FILE as the shell's > would (- for standard output); an existing regular file "
        "is replaced only when the run succeeds." },
    { 0, "seed", "N",
        "Seed the random numbers with N: the same seed, word list and options give the same "
        "words; for tests and examples, never for secrets (default the system's random "
        "source)." },
    { 0, "unique", nullptr, "Write no text twice." },
    { 0, "words", "FILE", "Draw from FILE, a UTF-8 word list, one word a line." },
    { 0, "database", "FILE",
        "Draw from FILE, an SQLite word database (default the dbWords.mdb installed with the "
        "program)." },
    { 0, "count-matches", nullptr, "Write only the number of words that meet the rules." },
    { 0, "entropy", nullptr,
        "Write on standard error how many bits of entropy the output carries." },
    { 0, "passphrase", nullptr,
        "Six different everyday words separated by blanks, with their entropy (options given as "
        "well take precedence)." },
    { 'h', "help", nullptr, "Show this help." },
    { 0, "version", nullptr, "Show the version." },
};

// The options given, by long name, each with the last value given for it; values are the bytes
// of the command line, so that file names and separators pass unchanged.
class Arguments
{
public:
    bool has(const char* name) const { return m_values.count(name) > 0; }
    QByteArray value(const char* name) const
    {
        const auto found = m_values.find(name);
        return found == m_values.end() ? QByteArray() : found->second;
    }
    void set(const char* name, const QByteArray& value) { m_values[name] = value; }

private:
    std::map<std::string, QByteArray> m_values;
};

const OptionSpec* findOption(const QByteArray& name, bool isLong)
{
    for (const OptionSpec& known : optionTable) {
        if (isLong ? name == known.name : name.size() == 1 && name[0] == known.shortName)
            return &known;
    }
    return nullptr;
}

// --name VALUE, --name=VALUE, -x VALUE and -xVALUE, as getopt reads them; -- ends the options.
Arguments parseArguments(int argc, char** argv)
{
    Arguments given;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--" && i + 1 < argc)
            fail(UsageError, QStringLiteral("unexpected argument '%1'").arg(shown(argv[i + 1])));
        if (arg == "--")
            break;
        if (!arg.startsWith('-') || arg == "-")
            fail(UsageError, QStringLiteral("unexpected argument '%1'").arg(shown(arg)));
        const bool isLong = arg.startsWith("--");
        QByteArray name = isLong ? arg.mid(2) : arg.mid(1, 1);
        std::optional<QByteArray> attached;
        if (isLong && name.contains('=')) {
            attached = name.mid(name.indexOf('=') + 1);
            name.truncate(name.indexOf('='));
        } else if (!isLong && arg.size() > 2) {
            attached = arg.mid(2);
        }
        const OptionSpec* known = findOption(name, isLong);
        if (!known)
            fail(UsageError, QStringLiteral("Unknown option '%1'.").arg(shown(name)));
        if (!known->valueName && attached)
            fail(UsageError, QStringLiteral("--%1 takes no value").arg(known->name));
        if (known->valueName && !attached && i + 1 == argc)
            fail(UsageError, QStringLiteral("Missing value after '%1'.").arg(shown(arg)));
        if (known->valueName && !attached)
            attached = argv[++i];
        given.set(known->name, attached.value_or(QByteArray()));
    }
    return given;
}

QString helpText()
{
    QString text = QStringLiteral(
        "Usage: tessavine-cli [options]\n"
        "Writes random English words: drawn from a word list among the words that meet the\n"
        "rules given, every such word equally likely each time.\n\nOptions:\n");
    constexpr qsizetype helpColumn = 30;
    constexpr qsizetype width = 79;
    for (const OptionSpec& known : optionTable) {
        QString names = known.shortName
            ? QStringLiteral("  -%1, ").arg(QChar::fromLatin1(known.shortName))
            : QStringLiteral("      ");
        names += QStringLiteral("--%1").arg(known.name);
        if (known.valueName)
            names += QStringLiteral(" <%1>").arg(known.valueName);
        QString line = names.leftJustified(helpColumn - 1) + u' ';
        if (names.size() >= helpColumn - 1)
            line = names + u'\n' + QString(helpColumn, u' ');
        qsizetype used = line.size() - line.lastIndexOf(u'\n') - 1;
        for (const QString& word : QString::fromLatin1(known.help).split(u' ')) {
            if (used > helpColumn && used + 1 + word.size() > width) {
                line += u'\n' + QString(helpColumn, u' ');
                used = helpColumn;
            } else if (used > helpColumn) {
                line += u' ';
                ++used;
            }
            line += word;
            used += word.size();
        }
        text += line + u'\n';
    }
    return text;
}

// What the command line asks for, read and checked before any file is touched.
struct Request
{
    GenerationOptions options;
    qint64 wanted = 10;
    std::optional<quint64> seed;
    bool unique = false;
    bool countMatches = false;
    bool define = false;
    bool entropy = false;
    QByteArray separator = "\n";
    QByteArray output; // empty for standard output
    QByteArray source;
    bool plainList = false;
};

QString text(const Arguments& given, const char* name)
{
    const QByteArray bytes = given.value(name);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString value = decoder(bytes);
    if (decoder.hasError())
        fail(UsageError, QStringLiteral("--%1 needs UTF-8 text, not '%2'").arg(name, shown(bytes)));
    return value;
}

quint64 wholeNumber(const Arguments& given, const char* name, quint64 max)
{
    const std::optional<quint64> value = NumericText::digitsValue(text(given, name), max);
    if (!value)
        fail(UsageError,
            QStringLiteral("--%1 needs a whole number from 0 to %2, not '%3'")
                .arg(name)
                .arg(max)
                .arg(shown(given.value(name))));
    return *value;
}

// POS:WHAT, POS a whole number from 1 or "last", WHAT "vowel", "consonant" or one letter.
LetterRule letterRule(const QString& text)
{
    const qsizetype colon = text.indexOf(u':');
    const QString position = text.left(colon);
    const QString what = text.mid(colon + 1);
    LetterRule rule;
    bool ok = colon > 0;
    if (ok && position != QLatin1String("last")) {
        const auto number = NumericText::digitsValue(position, std::numeric_limits<int>::max());
        ok = number && *number >= 1;
        rule.position = int(number.value_or(0));
    }
    if (what == QLatin1String("vowel")) {
        rule.kind = LetterRule::Vowel;
    } else if (what == QLatin1String("consonant")) {
        rule.kind = LetterRule::Consonant;
    } else {
        rule.kind = LetterRule::Letter;
        rule.letter = what;
        ok = ok && AcceptanceRules::characterCount(what) == 1;
    }
    if (!ok)
        fail(UsageError,
            QStringLiteral("--letter needs POS:WHAT (POS a whole number from 1 or 'last'; WHAT "
                           "'vowel', 'consonant' or one letter), not '%1'")
                .arg(text));
    return rule;
}

// The value of an option that names one of a few choices, as its index in names.
int choice(const Arguments& given, const char* name, const QStringList& names)
{
    const QString value = text(given, name);
    const auto index = names.indexOf(value);
    if (index < 0) {
        QStringList others = names;
        const QString last = others.takeLast();
        fail(UsageError,
            QStringLiteral("--%1 needs %2 or %3, not '%4'")
                .arg(QLatin1String(name), others.join(QStringLiteral(", ")), last, value));
    }
    return int(index);
}

// The entropy line for standard error.
QString entropyText(qint64 matches, qint64 words, bool unique, bool seeded)
{
    const QString bits = QString::number(Entropy::outputBits(matches, words, unique), 'f', 2);
    QString text = unique
        ? QStringLiteral("%1 bits of entropy: %2 different words of %3")
              .arg(bits)
              .arg(words)
              .arg(matches)
        : QStringLiteral("%1 bits of entropy: %2 %3, each one of %4 (%5 bits a word)")
              .arg(bits)
              .arg(words)
              .arg(words == 1 ? QStringLiteral("word") : QStringLiteral("words"))
              .arg(matches)
              .arg(Entropy::bitsPerWord(matches), 0, 'f', 2);
    // Anyone who has the seed has the words.
    if (seeded)
        text += QStringLiteral("; seeded, so no secret");
    return text;
}

Request readRequest(const Arguments& given)
{
    Request request;
    WordRules& rules = request.options.rules;
    const auto lengthMax = quint64(std::numeric_limits<qsizetype>::max());
    if (given.has("min"))
        rules.minLength = qsizetype(wholeNumber(given, "min", lengthMax));
    if (given.has("max"))
        rules.maxLength = qsizetype(wholeNumber(given, "max", lengthMax));
    // A maximum below the minimum is a slip, not a rule: say so rather than match nothing.
    if (rules.minLength && rules.maxLength && *rules.maxLength < *rules.minLength)
        fail(UsageError,
            QStringLiteral("--max %1 is below --min %2")
                .arg(*rules.maxLength)
                .arg(*rules.minLength));
    if (given.has("start"))
        rules.start = text(given, "start");
    if (given.has("end"))
        rules.end = text(given, "end");
    if (given.has("letter"))
        rules.letter = letterRule(text(given, "letter"));
    // A passphrase: six different everyday words on one line, with their strength.
    const bool preset = given.has("passphrase");
    if (given.has("level"))
        rules.maxLevel = std::array<std::optional<int>, 3> { LevelTier::everyday, LevelTier::common,
            std::nullopt }[size_t(choice(given, "level",
            { QStringLiteral("everyday"), QStringLiteral("common"), QStringLiteral("any") }))];
    else if (preset)
        rules.maxLevel = LevelTier::everyday;
    if (given.has("kind"))
        rules.kinds = quint8(1 << choice(given, "kind",
                                 { QStringLiteral("noun"), QStringLiteral("verb"),
                                     QStringLiteral("adjective"), QStringLiteral("adverb") }));
    if (given.has("spelling"))
        rules.spellings = std::array<quint8, 4> { Spelling::American, Spelling::British,
            Spelling::Canadian, 0 }[size_t(choice(given, "spelling",
            { QStringLiteral("us"), QStringLiteral("gb"), QStringLiteral("ca"),
                QStringLiteral("any") }))];
    rules.offensive = given.has("offensive");
    request.define = given.has("define");
    request.entropy = preset || given.has("entropy");
    request.options.properCase = given.has("proper");
    if (preset) {
        request.wanted = 6;
        request.separator = " ";
    }
    if (given.has("count"))
        request.wanted
            = qint64(wholeNumber(given, "count", quint64(std::numeric_limits<qint64>::max())));
    if (given.has("seed"))
        request.seed = wholeNumber(given, "seed", std::numeric_limits<quint64>::max());
    request.unique = preset || given.has("unique");
    request.countMatches = given.has("count-matches");
    if (given.has("separator"))
        request.separator = given.value("separator");
    if (given.has("output") && given.value("output").isEmpty())
        fail(UsageError, QStringLiteral("--output needs a file name, or - for standard output"));
    if (given.value("output") != "-")
        request.output = given.value("output");
    if (given.has("words") && given.has("database"))
        fail(UsageError, QStringLiteral("--words and --database cannot be used together"));
    request.plainList = given.has("words");
    request.source = request.plainList ? given.value("words")
        : given.has("database")
        ? given.value("database")
        : QFile::encodeName(wordDatabasePath(QCoreApplication::applicationDirPath()));
    return request;
}

[[noreturn]] void cannotRead(const QByteArray& path, const QString& reason)
{
    fail(Failure, QStringLiteral("cannot read %1: %2").arg(shown(path), reason));
}

// A plain list is read as a stream, as < FILE would give it, within the limits of the reader.
std::unique_ptr<WordSet> readPlainList(const QByteArray& path)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    struct stat status = {};
    if (fd < 0 || ::fstat(fd, &status) != 0)
        cannotRead(path, systemReason(errno));
    QFile file;
    if (S_ISDIR(status.st_mode) || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        ::close(fd);
        cannotRead(path, systemReason(EISDIR));
    }
    try {
        return std::make_unique<WordList>(readPlainWordList(file));
    } catch (const PlatformError& error) {
        cannotRead(path, error.description());
    }
}

// A database is only read from a regular file; anything else is named for what it is.
std::unique_ptr<WordSet> readDatabase(const QByteArray& path)
{
    // Without waiting: only its kind is asked, and a named pipe must not hang the run.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status = {};
    const int error = fd < 0 || ::fstat(fd, &status) != 0 ? errno : 0;
    if (fd >= 0)
        ::close(fd);
    if (error != 0)
        cannotRead(path, systemReason(error));
    if (S_ISDIR(status.st_mode))
        cannotRead(path, systemReason(EISDIR));
    if (!S_ISREG(status.st_mode))
        cannotRead(path, QStringLiteral("not a regular file"));
    try {
        SqliteWordStore store;
        return store.openLocal(path)->allWords();
    } catch (const PlatformError& error) {
        cannotRead(path, error.description());
    }
}

// Where the words go: where the shell's > FILE would put them. Bytes are gathered into large
// blocks, so that a million words take a few writes. Like any tool writing a list the user can
// make again, it does not wait for the disk to confirm the write.
class Output
{
public:
    // Standard output for an empty path. Opened only once the words are known to be there, so
    // that a run refused for its rules or its list leaves FILE as it was.
    explicit Output(const QByteArray& path)
        : m_path(path)
        , m_buffer(size_t(1) << 20)
    {
        // As the shell has them: the descriptors this run was given, not files of those names.
        if (path.isEmpty() || path == "/dev/stdout")
            return;
        if (path == "/dev/stderr") {
            m_fd = STDERR_FILENO;
            return;
        }
        struct stat status = {};
        if (::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode)
            && status.st_nlink == 1 && status.st_uid == ::geteuid() && !isStandardStream(status)
            && openBeside(status))
            return;
        m_fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (m_fd < 0)
            failed(systemReason(errno));
        m_owned = true;
    }
    ~Output()
    {
        if (m_owned)
            ::close(m_fd);
        if (!m_temporary.isEmpty())
            ::unlink(m_temporary.constData());
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void put(const char* data, qsizetype size)
    {
        if (m_used + size > qsizetype(m_buffer.size())) {
            flush();
            if (size > qsizetype(m_buffer.size()))
                return send(data, size);
        }
        std::memcpy(m_buffer.data() + m_used, data, size_t(size));
        m_used += size;
    }
    void put(const QByteArray& bytes) { put(bytes.constData(), bytes.size()); }
    // Copies the whole slot, of which the first size bytes count: one fixed-size copy, which the
    // compiler makes a few moves, rather than a call per word.
    template <size_t N> void putSlot(const char (&slot)[N], qsizetype size)
    {
        if (m_used + qsizetype(N) > qsizetype(m_buffer.size()))
            flush();
        std::memcpy(m_buffer.data() + m_used, slot, N);
        m_used += size;
    }

    void commit()
    {
        flush();
        if (m_owned) {
            m_owned = false;
            if (::close(m_fd) != 0)
                failed(systemReason(errno));
        }
        if (!m_temporary.isEmpty()) {
            if (::rename(m_temporary.constData(), m_target.constData()) != 0)
                failed(systemReason(errno));
            m_temporary.clear();
        }
    }

private:
    // FILE reached by another name for this run's own standard output or error (/dev/fd/1): it
    // is written in place, as the shell may have opened it for appending.
    static bool isStandardStream(const struct stat& file)
    {
        for (const int fd : { STDOUT_FILENO, STDERR_FILENO }) {
            struct stat stream = {};
            if (::fstat(fd, &stream) == 0 && stream.st_dev == file.st_dev
                && stream.st_ino == file.st_ino)
                return true;
        }
        return false;
    }

    // A regular file of the user's with no other name gets a new file beside it, with its owner,
    // group and mode, that replaces it once everything is written: a failed write leaves it as
    // it was. False where that cannot be had; the file is then written in place.
    bool openBeside(const struct stat& status)
    {
        // Refused as > would refuse it, whatever the folder allows.
        const int check = ::open(m_path.constData(), O_WRONLY | O_CLOEXEC);
        if (check < 0)
            failed(systemReason(errno));
        ::close(check);
        char* real = ::realpath(m_path.constData(), nullptr);
        if (!real)
            return false;
        m_target = real;
        std::free(real);
        QByteArray name = m_target + ".XXXXXX";
        const int fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd < 0)
            return false;
        if (::fchown(fd, status.st_uid, status.st_gid) != 0
            || ::fchmod(fd, status.st_mode & 07777) != 0) {
            ::close(fd);
            ::unlink(name.constData());
            return false;
        }
        m_fd = fd;
        m_owned = true;
        m_temporary = name;
        return true;
    }

    void flush()
    {
        send(m_buffer.data(), m_used);
        m_used = 0;
    }

    void send(const char* data, qsizetype size)
    {
        // Straight to the descriptor: the blocks are large already, another buffer only copies.
        while (size > 0) {
            const ssize_t written = ::write(m_fd, data, size_t(size));
            if (written < 0 && errno != EINTR)
                failed(systemReason(errno));
            data += std::max<ssize_t>(written, 0);
            size -= std::max<ssize_t>(written, 0);
        }
    }

    [[noreturn]] void failed(const QString& reason)
    {
        fail(Failure,
            QStringLiteral("cannot write %1: %2")
                .arg(m_path.isEmpty() ? QStringLiteral("standard output") : shown(m_path), reason));
    }

    QByteArray m_path;
    int m_fd = STDOUT_FILENO;
    bool m_owned = false;
    QByteArray m_temporary;
    QByteArray m_target;
    std::vector<char> m_buffer;
    qsizetype m_used = 0;
};

// The texts the matching words are delivered as, each once, in the order of the matching rows:
// two entries of the list, or two words that proper case makes alike, give one text.
// The text a word is delivered as, with its definition after a tab when asked for.
QString deliveredText(const WordSet& words, int row, const Request& request)
{
    QString text = AcceptanceRules::delivered(words.word(row), request.options);
    if (request.define)
        text += u'\t' + words.definition(row, request.options.rules.kinds);
    return text;
}

std::vector<QString> distinctTexts(
    const WordSet& words, const WordDrawer& drawer, const Request& request)
{
    std::vector<QString> texts;
    QSet<QString> seen;
    for (int place = 0; place < drawer.matchCount(); ++place) {
        QString text = deliveredText(words, drawer.rowAt(place), request);
        if (!seen.contains(text)) {
            seen.insert(text);
            texts.push_back(std::move(text));
        }
    }
    return texts;
}

template <typename Next>
void writeDistinct(
    const std::vector<QString>& texts, const Request& request, Output& out, Next&& next)
{
    const WordList list(texts);
    const WordDrawer drawer(list, WordRules {}, WordDrawer::Untestable::Drop);
    const std::vector<int> rows = drawer.distinctRows(int(request.wanted), next);
    for (size_t i = 0; i < rows.size(); ++i) {
        out.put(list.word(rows[i]).toUtf8());
        if (i + 1 < rows.size())
            out.put(request.separator);
    }
}

template <typename DrawPlace>
void writeDrawn(const WordSet& words, const WordDrawer& drawer, const Request& request, Output& out,
    DrawPlace&& drawPlace)
{
    // Each matching word is encoded once, on its first draw, mostly into a slot of its own with
    // the separator after it: a long run then costs little more than its draws. A text too long
    // for its slot is kept without the separator, so that memory does not grow with both.
    struct Text
    {
        char slot[32] {};
        qsizetype size = -1;
        // Where a text too long for its slot lies in longTexts; -1 for a text in its slot.
        qsizetype offset = -1;
    };
    const QByteArray& between = request.separator;
    if (request.wanted < drawer.matchCount() / 8) {
        // A few words: each encoded as drawn, without a slot for every matching word.
        for (qint64 i = 0; i < request.wanted; ++i) {
            out.put(deliveredText(words, drawer.rowAt(drawPlace()), request).toUtf8());
            if (i + 1 < request.wanted)
                out.put(between);
        }
        return;
    }
    std::vector<Text> texts(static_cast<size_t>(drawer.matchCount()));
    QByteArray longTexts;
    for (qint64 i = 0; i < request.wanted; ++i) {
        const bool last = i + 1 == request.wanted;
        const int place = drawPlace();
        Text& text = texts[size_t(place)];
        if (text.size < 0) {
            const QByteArray bytes = deliveredText(words, drawer.rowAt(place), request).toUtf8();
            text.size = bytes.size() + between.size();
            if (text.size <= qsizetype(sizeof text.slot)) {
                std::memcpy(text.slot, bytes.constData(), size_t(bytes.size()));
                std::memcpy(text.slot + bytes.size(), between.constData(), size_t(between.size()));
            } else {
                text.size = bytes.size();
                text.offset = longTexts.size();
                longTexts += bytes;
            }
        }
        if (text.offset < 0) {
            out.putSlot(text.slot, last ? text.size - between.size() : text.size);
        } else {
            out.put(longTexts.constData() + text.offset, text.size);
            if (!last)
                out.put(between);
        }
    }
}

void writeText(const QByteArray& path, const QByteArray& bytes)
{
    Output out(path);
    out.put(bytes);
    out.commit();
}

int run(int argc, char** argv)
{
    const Arguments given = parseArguments(argc, argv);
    if (given.has("help") || given.has("version")) {
        writeText(QByteArray(),
            (given.has("help") ? helpText()
                               : QStringLiteral("tessavine-cli %1\n")
                                     .arg(QCoreApplication::applicationVersion()))
                .toUtf8());
        return Success;
    }
    const Request request = readRequest(given);
    const std::unique_ptr<WordSet> words
        = request.plainList ? readPlainList(request.source) : readDatabase(request.source);
    if (words->count() == 0)
        fail(Failure, QStringLiteral("%1 holds no words").arg(shown(request.source)));
    if (request.define && !words->hasFacts())
        fail(Failure,
            QStringLiteral("--define needs a word database with definitions, as the installed "
                           "one is"));
    // A word whose letter cannot be tested (the empty word) fails the letter rule here, where the
    // window would report it: a list may well hold one, and it should not end the run.
    const WordDrawer drawer(*words, request.options.rules, WordDrawer::Untestable::Drop);
    if (request.countMatches) {
        writeText(request.output, QByteArray::number(drawer.matchCount()) + '\n');
        return Success;
    }
    // Checked before any draw, so that impossible rules end the run at once.
    if (drawer.matchCount() == 0)
        fail(Failure, QStringLiteral("no word matches these rules"));
    std::vector<QString> distinct;
    if (request.unique) {
        distinct = distinctTexts(*words, drawer, request);
        if (request.wanted > qint64(distinct.size()))
            fail(Failure,
                QStringLiteral("%1 cannot give %2 words: only %3 different words match "
                               "these rules")
                    .arg(given.has("unique") ? QStringLiteral("--unique")
                                             : QStringLiteral("--passphrase"))
                    .arg(request.wanted)
                    .arg(distinct.size()));
    }

    // A seed gives the same words again, for tests and examples; every other draw comes from
    // the system's cryptographic source.
    SeededRandom seededRandom;
    seededRandom.seed(request.seed.value_or(0));
    SystemRandom systemRandom;
    RandomSource& random = request.seed ? static_cast<RandomSource&>(seededRandom) : systemRandom;
    const auto next = [&random] { return random.next(); };
    // The place of a drawn word among the matching ones; unseeded from as few bytes as it needs.
    const int matches = drawer.matchCount();
    const auto drawPlace = [&] {
        return request.seed ? drawer.place(seededRandom.next())
                            : int(systemRandom.below(quint32(matches)));
    };
    Output out(request.output);
    if (request.unique)
        writeDistinct(distinct, request, out, next);
    else
        writeDrawn(*words, drawer, request, out, drawPlace);
    if (request.wanted > 0)
        out.put("\n", 1);
    out.commit();
    if (request.entropy)
        std::fprintf(stderr, "%s\n",
            qPrintable(entropyText(request.unique ? qint64(distinct.size()) : matches,
                request.wanted, request.unique, request.seed.has_value())));
    return Success;
}

// A standard descriptor closed at start is held by one that refuses every use, so that no file
// opened later takes its number and receives what was meant for it: writing there fails.
void holdClosedStandardDescriptors()
{
    // Lowest numbers first, so that each open takes the number just found closed.
    for (const int fd : { STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO }) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    holdClosedStandardDescriptors();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessavine-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSAVINE_VERSION));
    try {
        return run(argc, argv);
    } catch (const Exit& exit) {
        std::fprintf(stderr, "tessavine-cli: %s\n", oneLine(exit.message).toUtf8().constData());
        return exit.status;
    } catch (const PlatformError& error) {
        std::fprintf(
            stderr, "tessavine-cli: %s\n", oneLine(error.description()).toUtf8().constData());
        return Failure;
    }
}
