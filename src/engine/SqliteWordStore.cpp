#include "engine/SqliteWordStore.h"

#include "engine/PackedWordSet.h"
#include "engine/PlatformError.h"
#include "engine/WordList.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <iterator>
#include <mutex>
#include <sqlite3.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <vector>

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;
using Clock = std::chrono::steady_clock;

// SQLite's own memory, for every database of the process: far above what reading a word list
// takes (a few megabytes), so that a query that would take the machine's memory fails instead.
constexpr sqlite3_int64 heapLimit = sqlite3_int64(256) << 20;

// An open database with the bounds its statements run within. Shared by the connection and the
// definition look-ups of the word sets it gave, which may outlive it.
class Session
{
public:
    Session(sqlite3* db, const WordStoreLimits& limits)
        : m_db(db)
        , m_limits(limits)
    {
        sqlite3_busy_timeout(db, limits.busyMilliseconds);
        sqlite3_limit(db, SQLITE_LIMIT_LENGTH, int(std::min<qint64>(limits.maxBytes, INT_MAX)));
        sqlite3_progress_handler(db, 1000, &Session::overdue, this);
        // The word pack passes once through SQLite's page cache: at half the default size the
        // cache holds what look-ups of definitions reuse, and a start-up touches less memory.
        sqlite3_exec(db, "pragma cache_size = -1024", nullptr, nullptr, nullptr);
    }
    ~Session() { sqlite3_close_v2(m_db); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    sqlite3* db() const { return m_db; }
    const WordStoreLimits& limits() const { return m_limits; }

    // Starts the time of one statement.
    void start()
    {
        m_deadline = Clock::now() + std::chrono::milliseconds(m_limits.maxMilliseconds);
        m_timedOut = false;
    }

    // The failure of the statement that gave code, in words.
    PlatformError failure(int code) const
    {
        if ((code & 0xff) == SQLITE_INTERRUPT && m_timedOut)
            return PlatformError(QStringLiteral("reading the database took longer than %1 seconds")
                                     .arg(m_limits.maxMilliseconds / 1000.0));
        if ((code & 0xff) == SQLITE_NOMEM)
            return PlatformError(QStringLiteral("reading the database ran out of memory (at most "
                                                "%1 MB for it)")
                                     .arg(heapLimit >> 20));
        if ((code & 0xff) == SQLITE_TOOBIG)
            return PlatformError(QStringLiteral("the database holds a value larger than a word "
                                                "list can be (%1 MB)")
                                     .arg(m_limits.maxBytes >> 20));
        return PlatformError(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }

private:
    static int overdue(void* session)
    {
        auto* self = static_cast<Session*>(session);
        self->m_timedOut = self->m_timedOut || Clock::now() > self->m_deadline;
        return self->m_timedOut;
    }

    sqlite3* m_db;
    WordStoreLimits m_limits;
    Clock::time_point m_deadline = Clock::time_point::max();
    bool m_timedOut = false;
};

// Zeroed memory of at least size bytes, its pages made in one call rather than a fault each, and
// in pages of 2 MiB where the system gives them (one for the word pack rather than hundreds);
// null when there is no room. Unmapped with the last copy of the pointer.
std::shared_ptr<void> populatedMemory(size_t size)
{
    constexpr size_t huge = size_t(2) << 20;
    const size_t length = (size + huge - 1) / huge * huge;
    // A huge page more, so that a boundary of one falls inside; the rest is given back.
    void* const mapped = ::mmap(
        nullptr, length + huge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto first = reinterpret_cast<uintptr_t>(mapped);
    const uintptr_t start = (first + huge - 1) & ~(huge - 1);
    if (start > first)
        ::munmap(mapped, start - first);
    ::munmap(reinterpret_cast<void*>(start + length), first + huge - start);
    void* const memory = reinterpret_cast<void*>(start);
    // Advice only: where the system takes neither, the pages come as they are first written.
    ::madvise(memory, length, MADV_HUGEPAGE);
    ::madvise(memory, length, MADV_POPULATE_WRITE);
    return std::shared_ptr<void>(memory, [length](void* p) { ::munmap(p, length); });
}

// Reads a fact column: a value outside what the fact can hold is unknown (0), never cut to fit.
// A mark (offensive, classroom) is anything but 0 or nothing, so that a marked word stays out
// whatever number marks it.
quint8 factValue(sqlite3_stmt* statement, int column, bool mark)
{
    const int type = sqlite3_column_type(statement, column);
    const sqlite3_int64 value = sqlite3_column_int64(statement, column);
    if (mark)
        return type != SQLITE_NULL && (type != SQLITE_INTEGER || value != 0);
    return type == SQLITE_INTEGER && value >= 0 && value <= 255 ? quint8(value) : 0;
}

class SqliteConnection : public WordConnection
{
public:
    explicit SqliteConnection(std::shared_ptr<Session> session)
        : m_session(std::move(session))
    { }

    std::unique_ptr<WordSet> allWords() override
    {
        if (auto set = packedWords())
            return set;
        return query(allWordsQuery);
    }

    std::unique_ptr<WordSet> query(const QString& sql) override
    {
        sqlite3* const db = m_session->db();
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt* statement = nullptr;
        const char* tail = nullptr;
        m_session->start();
        const int prepared
            = sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, &tail);
        if (prepared != SQLITE_OK)
            throw m_session->failure(prepared);
        if (!statement)
            throw PlatformError(QStringLiteral("The query is empty."));
        const Statement guard(statement, sqlite3_finalize);
        // One statement only: whatever follows it is refused rather than ignored.
        if (tail && QByteArray(tail).trimmed().size() > 0 && QByteArray(tail).trimmed() != ";")
            throw PlatformError(QStringLiteral("Only one statement may be run."));
        // A parameter would match nothing and say nothing: refuse it like any malformed query.
        if (sqlite3_bind_parameter_count(statement) > 0)
            throw PlatformError(QStringLiteral("The query holds a parameter without a value."));
        if (!sqlite3_stmt_readonly(statement))
            throw PlatformError(QStringLiteral("The query would change the word database."));

        // The word, and the facts of a database built with them when the query returns them all
        // (as allWordsQuery does), so that rules on facts hold for the rows it gives. A database
        // of an older build lacks the later facts (from topic on), which are then unknown.
        static const char* const names[] = { "word", "level", "kinds", "spellings", "offensive",
            "topic", "syllables", "rhyme", "classroom" };
        constexpr size_t required = 5;
        int columns[std::size(names)];
        std::fill(std::begin(columns), std::end(columns), -1);
        for (int c = sqlite3_column_count(statement) - 1; c >= 0; --c) {
            for (size_t n = 0; n < std::size(names); ++n)
                if (qstricmp(sqlite3_column_name(statement, c), names[n]) == 0)
                    columns[n] = c;
        }
        const int wordColumn = columns[0];
        const bool withFacts = std::find(columns, columns + required, -1) == columns + required;
        if (wordColumn < 0)
            throw PlatformError(QStringLiteral("Item cannot be found in the collection "
                                               "corresponding to the requested name or ordinal."));
        const auto fact = [&](size_t n) {
            return columns[n] < 0 ? quint8(0) : factValue(statement, columns[n], false);
        };
        // The rhyme is an id up to 65535, read as the other facts are.
        const auto rhyme = [&] {
            const int c = columns[7];
            const sqlite3_int64 value = c < 0 ? 0 : sqlite3_column_int64(statement, c);
            return c >= 0 && sqlite3_column_type(statement, c) == SQLITE_INTEGER && value > 0
                    && value <= 0xffff
                ? quint16(value)
                : quint16(0);
        };

        const WordStoreLimits& limits = m_session->limits();
        std::vector<QString> words;
        std::vector<WordFacts> facts;
        qint64 bytes = 0;
        for (;;) {
            const int rc = sqlite3_step(statement);
            if (rc == SQLITE_DONE)
                break;
            if (rc != SQLITE_ROW)
                throw m_session->failure(rc);
            // A NULL word reads as the empty text.
            const auto* data
                = reinterpret_cast<const char*>(sqlite3_column_text(statement, wordColumn));
            const int size = sqlite3_column_bytes(statement, wordColumn);
            bytes += size;
            if (qint64(words.size()) >= limits.maxRows)
                throw PlatformError(QStringLiteral("the database gives more words than a word list "
                                                   "can hold (%1)")
                                        .arg(limits.maxRows));
            if (bytes > limits.maxBytes)
                throw PlatformError(QStringLiteral("the database gives more text than a word list "
                                                   "can hold (%1 MB)")
                                        .arg(limits.maxBytes >> 20));
            words.push_back(data ? QString::fromUtf8(data, size) : QString());
            if (withFacts)
                facts.push_back({ fact(1), fact(2), fact(3),
                    quint8(factValue(statement, columns[4], true)
                        | (columns[8] < 0 ? 0 : factValue(statement, columns[8], true) << 1)),
                    fact(5), fact(6), rhyme() });
        }
        if (!withFacts)
            return std::make_unique<WordList>(std::move(words));
        auto set = std::make_unique<WordList>(std::move(words), std::move(facts), definitions());
        set->setRhymeLookup(rhymes());
        return set;
    }

private:
    // The compact copy when it provably copies the table words: the word-list tool sets triggers
    // on words that drop the copy at any change of its rows, and a table dropped or renamed
    // takes its triggers with it. Without all three, as the tool wrote them, on words, the copy
    // may belong to another table, and nothing is loaded from it. Read straight into its own
    // buffer, without a copy of the blob on the way.
    std::unique_ptr<WordSet> packedWords()
    {
        sqlite3* const db = m_session->db();
        sqlite3_stmt* statement = nullptr;
        m_session->start();
        if (sqlite3_prepare_v2(db,
                "select rowid from word_pack where (select count(*) from sqlite_master where "
                "type = 'trigger' and tbl_name = 'words' and sql in (?1, ?2, ?3)) = 3",
                -1, &statement, nullptr)
            != SQLITE_OK)
            return nullptr;
        const Statement guard(statement, sqlite3_finalize);
        for (int i = 0; i < int(std::size(WordPack::staleTriggers)); ++i)
            sqlite3_bind_text(statement, i + 1, WordPack::staleTriggers[i], -1, SQLITE_STATIC);
        sqlite3_blob* blob = nullptr;
        if (sqlite3_step(statement) != SQLITE_ROW
            || sqlite3_blob_open(
                   db, "main", "word_pack", "data", sqlite3_column_int64(statement, 0), 0, &blob)
                != SQLITE_OK) {
            sqlite3_blob_close(blob);
            return nullptr;
        }
        // A copy larger than the table may be is not read: the table then says what is wrong.
        const WordStoreLimits& limits = m_session->limits();
        const qint64 size = sqlite3_blob_bytes(blob);
        const qint64 largest = WordPack::headerSize
            + (4 + qint64(sizeof(WordFacts))) * limits.maxRows + 4 + 2 * limits.maxBytes;
        QByteArray pack;
        std::shared_ptr<void> storage;
        if (size > 0 && size <= largest) {
            storage = populatedMemory(size_t(size));
            if (storage && sqlite3_blob_read(blob, storage.get(), int(size), 0) == SQLITE_OK)
                pack = QByteArray::fromRawData(static_cast<const char*>(storage.get()), size);
        }
        sqlite3_blob_close(blob);
        auto set = PackedWordSet::fromPack(std::move(pack), definitions(), std::move(storage));
        if (!set || set->count() > limits.maxRows)
            return nullptr;
        set->setRhymeLookup(rhymes());
        return set;
    }

    std::map<QString, QString> about() override
    {
        sqlite3_stmt* statement = nullptr;
        // A few named lines: more rows than any language needs are not read.
        sqlite3_prepare_v2(
            m_session->db(), "select key, value from about limit 64", -1, &statement, nullptr);
        std::map<QString, QString> rows;
        if (!statement)
            return rows;
        const Statement guard(statement, sqlite3_finalize);
        const auto text = [statement](int column) {
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                std::min(sqlite3_column_bytes(statement, column), 4096));
        };
        m_session->start();
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            rows[text(0)] = text(1);
        if (rc != SQLITE_DONE)
            throw m_session->failure(rc);
        return rows;
    }

    // Looks a word up in table definitions, or with kinds asked for in table kind_definitions
    // (a word of several parts of speech), while the word set lives; a database without the
    // table gives no definition, a look-up that fails throws PlatformError. A word of one part,
    // and a database of an older build, has only its one definition.
    PackedWordSet::Definitions definitions()
    {
        const auto prepare = [this](const char* sql) {
            sqlite3_stmt* statement = nullptr;
            sqlite3_prepare_v2(m_session->db(), sql, -1, &statement, nullptr);
            return std::shared_ptr<sqlite3_stmt>(statement, sqlite3_finalize);
        };
        const auto lookup = prepare("select definition from definitions where word = ?1");
        if (!lookup)
            return nullptr;
        const auto byKind = prepare("select definition from kind_definitions where word = ?1 "
                                    "and kind & ?2 order by rank limit 1");
        const std::shared_ptr<Session> session = m_session;
        return [session, lookup, byKind](const QString& word, quint8 kinds) {
            const QByteArray key = word.toUtf8();
            for (sqlite3_stmt* statement : { kinds ? byKind.get() : nullptr, lookup.get() }) {
                if (!statement)
                    continue;
                sqlite3_reset(statement);
                sqlite3_bind_text(statement, 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
                if (statement != lookup.get())
                    sqlite3_bind_int(statement, 2, kinds);
                session->start();
                const int rc = sqlite3_step(statement);
                if (rc == SQLITE_ROW)
                    return QString::fromUtf8(
                        reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                        sqlite3_column_bytes(statement, 0));
                if (rc != SQLITE_DONE)
                    throw session->failure(rc);
            }
            return QString();
        };
    }

    // Looks a word's rhyme ending up in table rhyme_keys, which holds every word of the
    // pronouncing dictionary; null for a database without it. A failed look-up throws
    // PlatformError.
    RhymeLookup rhymes()
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(m_session->db(), "select rhyme from rhyme_keys where word = ?1", -1,
            &statement, nullptr);
        if (!statement)
            return nullptr;
        const std::shared_ptr<sqlite3_stmt> lookup(statement, sqlite3_finalize);
        const std::shared_ptr<Session> session = m_session;
        return [session, lookup](const QString& word) {
            const QByteArray key = word.toUtf8();
            sqlite3_reset(lookup.get());
            sqlite3_bind_text(lookup.get(), 1, key.constData(), int(key.size()), SQLITE_TRANSIENT);
            session->start();
            const int rc = sqlite3_step(lookup.get());
            if (rc != SQLITE_ROW && rc != SQLITE_DONE)
                throw session->failure(rc);
            const sqlite3_int64 value
                = rc == SQLITE_ROW ? sqlite3_column_int64(lookup.get(), 0) : 0;
            return value > 0 && value <= 0xffff ? quint16(value) : quint16(0);
        };
    }

    std::shared_ptr<Session> m_session;
};

// Opens read-only and reads the schema, so that a file that is not a database is found now
// rather than at the first query. Null with the reason and SQLite's code on failure.
std::shared_ptr<Session> openChecked(
    const QByteArray& name, int flags, const WordStoreLimits& limits, QString& reason, int& code)
{
    sqlite3* db = nullptr;
    code = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY | flags, nullptr);
    if (code != SQLITE_OK) {
        reason = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
        sqlite3_close_v2(db);
        return nullptr;
    }
    auto session = std::make_shared<Session>(db, limits);
    session->start();
    char* error = nullptr;
    code = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, &error);
    sqlite3_free(error);
    if (code == SQLITE_OK)
        return session;
    reason = session->failure(code).description();
    return nullptr;
}

} // namespace

std::unique_ptr<WordConnection> SqliteWordStore::open(const QString& path)
{
    // SQLite would create a missing file even read-only in some modes; say plainly what is wrong.
    if (!QFileInfo(path).isFile())
        throw PlatformError(QStringLiteral("Could not find file '%1'.").arg(path));
    return openLocal(QFile::encodeName(path));
}

std::unique_ptr<WordConnection> SqliteWordStore::openLocal(const QByteArray& path)
{
    static std::once_flag heapLimited;
    std::call_once(heapLimited, [] { sqlite3_hard_heap_limit64(heapLimit); });
    // A file name, never a URI: SQLite reads a name that starts with "file:" as one.
    const QByteArray name = path.startsWith('/') ? path : "./" + path;
    QString reason;
    int code = SQLITE_OK;
    auto session = openChecked(name, 0, m_limits, reason, code);
    // A database in WAL mode needs its -shm file even to be read, which a read-only folder or
    // mount cannot give: read it as a file that nothing changes, which it then is, unless its
    // -wal holds changes, which such a reading would silently leave out.
    if (!session && ((code & 0xff) == SQLITE_CANTOPEN || (code & 0xff) == SQLITE_READONLY)) {
        struct stat wal = {};
        const bool noWal = ::stat(name + "-wal", &wal) != 0 ? errno == ENOENT : wal.st_size == 0;
        if (!noWal)
            throw PlatformError(QStringLiteral("the database's last changes are in its -wal file, "
                                               "which can only be read where its -shm file can "
                                               "be made"));
        QString ignored;
        session = openChecked("file:" + QByteArray(name.startsWith("//") ? "//" : "")
                + name.toPercentEncoding("/") + "?immutable=1",
            SQLITE_OPEN_URI, m_limits, ignored, code);
    }
    if (!session)
        throw PlatformError(reason);
    return std::make_unique<SqliteConnection>(std::move(session));
}
