// tessavine-cli: random English words from the shell, drawn by the rules the window uses.
#include "engine/AcceptanceRules.h"
#include "engine/Entropy.h"
#include "engine/PlainWordList.h"
#include "engine/PlatformError.h"
#include "engine/SqliteWordStore.h"
#include "engine/SystemRandom.h"
#include "engine/TimeOfDayRandom.h"
#include "engine/WordDrawer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
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

// The value of a whole-number option: digits only, so that a sign, a fraction or a stray letter
// is refused rather than read as something the user did not mean.
quint64 wholeNumber(const QCommandLineParser& parser, const QString& name, quint64 max)
{
    const QString text = parser.value(name);
    bool ok = !text.isEmpty();
    for (const QChar c : text)
        ok = ok && c >= u'0' && c <= u'9';
    const quint64 value = ok ? text.toULongLong(&ok) : 0;
    if (!ok || value > max)
        fail(UsageError,
            QStringLiteral("--%1 needs a whole number from 0 to %2, not '%3'")
                .arg(name)
                .arg(max)
                .arg(text));
    return value;
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
        bool digits = true;
        for (const QChar c : position)
            digits = digits && c >= u'0' && c <= u'9';
        rule.position = position.toInt(&ok);
        ok = ok && digits && *rule.position >= 1;
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
int choice(const QCommandLineParser& parser, const QString& name, const QStringList& names)
{
    const auto index = names.indexOf(parser.value(name));
    if (index < 0) {
        QStringList quoted = names;
        const QString last = quoted.takeLast();
        fail(UsageError,
            QStringLiteral("--%1 needs %2 or %3, not '%4'")
                .arg(name, quoted.join(QStringLiteral(", ")), last, parser.value(name)));
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

// Where the words go: standard output, or a temporary file beside FILE that replaces it only
// once everything is written, so that a failed run leaves an existing FILE as it was. Bytes are
// gathered into large blocks, so that a million words take a few writes. Like any tool writing a
// list the user can make again, it does not wait for the disk to confirm the write.
class Output
{
public:
    explicit Output(const QString& path)
        : m_path(path)
        , m_buffer(size_t(1) << 20)
    {
        if (path.isEmpty())
            return;
        // A link is written through, as any write to FILE would be.
        const QFileInfo info(path);
        m_target = info.isSymLink() ? info.symLinkTarget() : path;
        m_file.emplace(m_target + QStringLiteral(".XXXXXX"));
        if (!m_file->open())
            failed(QFileInfo(m_target).absoluteDir().exists()
                    ? m_file->errorString()
                    : QString::fromLocal8Bit(std::strerror(ENOENT)));
    }

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
        if (!m_file)
            return;
        // The file gets the permissions FILE had, or those a new file gets.
        const QFileInfo existing(m_target);
        if (existing.exists()) {
            m_file->setPermissions(existing.permissions());
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(m_file->handle(), 0666 & ~mask);
        }
        if (::rename(QFile::encodeName(m_file->fileName()).constData(),
                QFile::encodeName(m_target).constData())
            != 0)
            failed(QString::fromLocal8Bit(std::strerror(errno)));
        m_file->setAutoRemove(false);
    }

private:
    void flush()
    {
        send(m_buffer.data(), m_used);
        m_used = 0;
    }

    void send(const char* data, qsizetype size)
    {
        // Straight to the descriptor: the blocks are large already, another buffer only copies.
        const int fd = m_file ? m_file->handle() : STDOUT_FILENO;
        while (size > 0) {
            const ssize_t written = ::write(fd, data, size_t(size));
            if (written < 0 && errno != EINTR)
                failed(QString::fromLocal8Bit(std::strerror(errno)));
            data += std::max<ssize_t>(written, 0);
            size -= std::max<ssize_t>(written, 0);
        }
    }

    [[noreturn]] void failed(const QString& reason)
    {
        fail(Failure,
            QStringLiteral("cannot write %1: %2")
                .arg(m_path.isEmpty() ? QStringLiteral("standard output") : m_path, reason));
    }

    QString m_path;
    QString m_target;
    std::optional<QTemporaryFile> m_file;
    std::vector<char> m_buffer;
    qsizetype m_used = 0;
};

// The words of a plain list, or of the word table of an SQLite database.
std::unique_ptr<WordSet> readWords(const QString& path, bool plain)
{
    try {
        if (plain)
            return std::make_unique<WordList>(readPlainWordList(path));
        // The system's reason for a file that cannot be opened says more than the store's.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw PlatformError(file.errorString());
        file.close();
        SqliteWordStore store;
        return store.open(path)->allWords();
    } catch (const PlatformError& error) {
        fail(Failure, QStringLiteral("cannot read %1: %2").arg(path, error.description()));
    }
}

int run(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes random English words: drawn from a word list among the words that "
                       "meet the rules given, every such word equally likely each time."));
    const auto unsignedMax = std::numeric_limits<quint64>::max();
    const auto lengthMax = quint64(std::numeric_limits<qsizetype>::max());
    const QCommandLineOption count({ QStringLiteral("n"), QStringLiteral("count") },
        QStringLiteral("Write N words (default 10)."), QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption min(QStringLiteral("min"),
        QStringLiteral("Only words of at least N characters."), QStringLiteral("N"));
    const QCommandLineOption max(QStringLiteral("max"),
        QStringLiteral("Only words of at most N characters (not below --min)."),
        QStringLiteral("N"));
    const QCommandLineOption start(QStringLiteral("start"),
        QStringLiteral("Only words that start with TEXT, compared lower-cased."),
        QStringLiteral("TEXT"));
    const QCommandLineOption end(QStringLiteral("end"),
        QStringLiteral("Only words that end with TEXT, compared lower-cased."),
        QStringLiteral("TEXT"));
    const QCommandLineOption letter(QStringLiteral("letter"),
        QStringLiteral("Only words whose letter at POS (a whole number from 1, or last; the last "
                       "letter for a shorter word) is WHAT: vowel, consonant or one letter."),
        QStringLiteral("POS:WHAT"));
    const QCommandLineOption proper(
        QStringLiteral("proper"), QStringLiteral("Write each word in proper case."));
    const QCommandLineOption separator({ QStringLiteral("s"), QStringLiteral("separator") },
        QStringLiteral("Put TEXT between words (default a line feed); the output ends with a line "
                       "feed."),
        QStringLiteral("TEXT"));
    const QCommandLineOption output({ QStringLiteral("o"), QStringLiteral("output") },
        QStringLiteral("Write to FILE, replaced only when the run succeeds (default standard "
                       "output)."),
        QStringLiteral("FILE"));
    const QCommandLineOption seed(QStringLiteral("seed"),
        QStringLiteral("Seed the random numbers with N: the same seed, word list and options "
                       "give the same words; for tests and examples, never for secrets (default "
                       "the system's random source)."),
        QStringLiteral("N"));
    const QCommandLineOption unique(
        QStringLiteral("unique"), QStringLiteral("Write no word twice."));
    const QCommandLineOption words(QStringLiteral("words"),
        QStringLiteral("Draw from FILE, a UTF-8 word list, one word a line."),
        QStringLiteral("FILE"));
    const QCommandLineOption database(QStringLiteral("database"),
        QStringLiteral("Draw from FILE, an SQLite word database (default the dbWords.mdb "
                       "installed with the program)."),
        QStringLiteral("FILE"));
    const QCommandLineOption level(QStringLiteral("level"),
        QStringLiteral("Only words of the commonness LEVEL: everyday, common or any (default)."),
        QStringLiteral("LEVEL"));
    const QCommandLineOption kind(QStringLiteral("kind"),
        QStringLiteral("Only dictionary forms of the part of speech KIND: noun, verb, adjective "
                       "or adverb."),
        QStringLiteral("KIND"));
    const QCommandLineOption spelling(QStringLiteral("spelling"),
        QStringLiteral("Only words of the SPELLING: us (default), gb, ca or any."),
        QStringLiteral("SPELLING"));
    const QCommandLineOption offensive(QStringLiteral("offensive"),
        QStringLiteral("Also draw words marked offensive, left out by default."));
    const QCommandLineOption define(QStringLiteral("define"),
        QStringLiteral("Follow each word with a tab and its definition."));
    const QCommandLineOption entropy(QStringLiteral("entropy"),
        QStringLiteral("Write on standard error how many bits of entropy the output carries."));
    const QCommandLineOption passphrase(QStringLiteral("passphrase"),
        QStringLiteral("Six different everyday words separated by blanks, with their entropy "
                       "(options given as well take precedence)."));
    const QCommandLineOption countMatches(QStringLiteral("count-matches"),
        QStringLiteral("Write only the number of words that meet the rules."));
    const QCommandLineOption help(
        { QStringLiteral("h"), QStringLiteral("help") }, QStringLiteral("Show this help."));
    const QCommandLineOption version(
        QStringLiteral("version"), QStringLiteral("Show the version."));
    parser.addOptions({ count, min, max, start, end, letter, level, kind, spelling, offensive,
        proper, define, separator, output, seed, unique, words, database, countMatches, entropy,
        passphrase, help, version });

    if (!parser.parse(app.arguments()))
        fail(UsageError, parser.errorText());
    if (parser.isSet(help) || parser.isSet(version)) {
        const QString text = parser.isSet(help)
            ? parser.helpText()
            : QStringLiteral("tessavine-cli %1\n").arg(QCoreApplication::applicationVersion());
        Output out { QString() };
        out.put(text.toUtf8());
        out.commit();
        return Success;
    }
    if (!parser.positionalArguments().isEmpty())
        fail(UsageError,
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));

    GenerationOptions options;
    WordRules& rules = options.rules;
    if (parser.isSet(min))
        rules.minLength = qsizetype(wholeNumber(parser, min.names().first(), lengthMax));
    if (parser.isSet(max))
        rules.maxLength = qsizetype(wholeNumber(parser, max.names().first(), lengthMax));
    // A maximum below the minimum is a slip, not a rule: say so rather than match nothing.
    if (rules.minLength && rules.maxLength && *rules.maxLength < *rules.minLength)
        fail(UsageError,
            QStringLiteral("--max %1 is below --min %2")
                .arg(*rules.maxLength)
                .arg(*rules.minLength));
    if (parser.isSet(start))
        rules.start = parser.value(start);
    if (parser.isSet(end))
        rules.end = parser.value(end);
    if (parser.isSet(letter))
        rules.letter = letterRule(parser.value(letter));
    // A passphrase: six different everyday words on one line, with their strength.
    const bool preset = parser.isSet(passphrase);
    if (parser.isSet(level))
        rules.maxLevel = std::array<std::optional<int>, 3> { LevelTier::everyday, LevelTier::common,
            std::nullopt }[size_t(choice(parser, QStringLiteral("level"),
            { QStringLiteral("everyday"), QStringLiteral("common"), QStringLiteral("any") }))];
    else if (preset)
        rules.maxLevel = LevelTier::everyday;
    if (parser.isSet(kind))
        rules.kinds = quint8(1 << choice(parser, QStringLiteral("kind"),
                                 { QStringLiteral("noun"), QStringLiteral("verb"),
                                     QStringLiteral("adjective"), QStringLiteral("adverb") }));
    if (parser.isSet(spelling))
        rules.spellings = std::array<quint8, 4> { Spelling::American, Spelling::British,
            Spelling::Canadian, 0 }[size_t(choice(parser, QStringLiteral("spelling"),
            { QStringLiteral("us"), QStringLiteral("gb"), QStringLiteral("ca"),
                QStringLiteral("any") }))];
    rules.offensive = parser.isSet(offensive);
    options.properCase = parser.isSet(proper);
    const bool uniqueWords = preset || parser.isSet(unique);
    const auto wanted = parser.isSet(count) || !preset ? qint64(wholeNumber(parser,
                            QStringLiteral("count"), quint64(std::numeric_limits<qint64>::max())))
                                                       : 6;
    const bool seeded = parser.isSet(seed);
    const quint64 seedValue = seeded ? wholeNumber(parser, QStringLiteral("seed"), unsignedMax) : 0;
    if (parser.isSet(words) && parser.isSet(database))
        fail(UsageError, QStringLiteral("--words and --database cannot be used together"));

    const std::unique_ptr<WordSet> wordSet = parser.isSet(words)
        ? readWords(parser.value(words), true)
        : readWords(parser.isSet(database)
                ? parser.value(database)
                : QCoreApplication::applicationDirPath() + QStringLiteral("/dbWords.mdb"),
            false);
    if (parser.isSet(define) && !wordSet->hasFacts())
        fail(Failure,
            QStringLiteral("--define needs a word database with definitions, as the installed "
                           "one is"));
    // A word whose letter cannot be tested (the empty word) fails the letter rule here, where the
    // window would report it: a list may well hold one, and it should not end the run.
    const WordDrawer drawer(*wordSet, rules, WordDrawer::Untestable::Drop);
    const int matches = drawer.matchCount();
    if (parser.isSet(countMatches)) {
        Output out(parser.value(output));
        out.put(QByteArray::number(matches) + '\n');
        out.commit();
        return Success;
    }
    // Checked before any draw, so that impossible rules end the run at once.
    if (matches == 0)
        fail(Failure, QStringLiteral("no word matches these rules"));
    if (uniqueWords && wanted > matches)
        fail(Failure,
            QStringLiteral("%1 cannot give %2 words: only %3 match these rules")
                .arg(parser.isSet(unique) ? QStringLiteral("--unique")
                                          : QStringLiteral("--passphrase"))
                .arg(wanted)
                .arg(matches));

    // A seed gives the same words again, for tests and examples; every other draw comes from
    // the system's cryptographic source.
    TimeOfDayRandom seededRandom;
    seededRandom.seed(seedValue);
    SystemRandom systemRandom;
    RandomSource& random = seeded ? static_cast<RandomSource&>(seededRandom) : systemRandom;
    const auto next = [&random] { return random.next(); };
    // The place of a drawn word among the matching ones; unseeded from as few bytes as it needs.
    const auto drawPlace = [&] {
        return seeded ? drawer.place(seededRandom.next())
                      : int(systemRandom.below(quint32(matches)));
    };

    const QByteArray between = parser.isSet(separator) ? parser.value(separator).toUtf8()
        : preset                                       ? QByteArray(" ")
                                                       : QByteArray("\n");
    const bool definitions = parser.isSet(define);
    const auto encoded = [&](int row) {
        QString text = AcceptanceRules::delivered(wordSet->word(row), options);
        if (definitions)
            text += u'\t' + wordSet->definition(row);
        return text.toUtf8() + between;
    };
    Output out(parser.value(output));
    // The last word goes without the separator: the output ends with one line feed instead.
    const auto cut = [&](qsizetype size, bool last) { return last ? size - between.size() : size; };
    if (uniqueWords) {
        const std::vector<int> rows = drawer.distinctRows(int(wanted), next);
        for (size_t i = 0; i < rows.size(); ++i) {
            const QByteArray text = encoded(rows[i]);
            out.put(text.constData(), cut(text.size(), i + 1 == rows.size()));
        }
    } else if (wanted < matches / 8) {
        // A few words: each encoded as drawn, without a slot for every matching word.
        for (qint64 i = 0; i < wanted; ++i) {
            const QByteArray text = encoded(drawer.rowAt(drawPlace()));
            out.put(text.constData(), cut(text.size(), i + 1 == wanted));
        }
    } else {
        // Each matching word is encoded once, on its first draw, with the separator after it and
        // mostly into a slot of its own: a long run then costs little more than its draws.
        struct Text
        {
            char slot[32] {};
            qsizetype size = -1;
            // Where a text too long for its slot lies in longTexts.
            qsizetype offset = 0;
        };
        std::vector<Text> texts(static_cast<size_t>(matches));
        QByteArray longTexts;
        for (qint64 i = 0; i < wanted; ++i) {
            const int place = drawPlace();
            Text& text = texts[size_t(place)];
            if (text.size < 0) {
                const QByteArray bytes = encoded(drawer.rowAt(place));
                text.size = bytes.size();
                if (text.size <= qsizetype(sizeof text.slot)) {
                    std::memcpy(text.slot, bytes.constData(), size_t(text.size));
                } else {
                    text.offset = longTexts.size();
                    longTexts += bytes;
                }
            }
            if (text.size <= qsizetype(sizeof text.slot))
                out.putSlot(text.slot, cut(text.size, i + 1 == wanted));
            else
                out.put(longTexts.constData() + text.offset, cut(text.size, i + 1 == wanted));
        }
    }
    if (wanted > 0)
        out.put("\n", 1);
    out.commit();
    if (preset || parser.isSet(entropy))
        std::fprintf(stderr, "%s\n", qPrintable(entropyText(matches, wanted, uniqueWords, seeded)));
    return Success;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessavine-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSAVINE_VERSION));
    try {
        return run(app);
    } catch (const Exit& exit) {
        std::fprintf(stderr, "tessavine-cli: %s\n", qPrintable(exit.message));
        return exit.status;
    } catch (const PlatformError& error) {
        std::fprintf(stderr, "tessavine-cli: %s\n", error.what());
        return Failure;
    }
}
