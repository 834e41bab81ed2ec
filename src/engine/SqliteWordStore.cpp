#include "engine/SqliteWordStore.h"

#include "engine/PackedWordSet.h"
#include "engine/PlatformError.h"
#include "engine/WordList.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <iterator>
#include <sqlite3.h>
#include <vector>

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>;

class SqliteConnection : public WordConnection
{
public:
    explicit SqliteConnection(sqlite3* db)
        : m_db(db, sqlite3_close_v2)
    { }

    std::unique_ptr<WordSet> allWords() override
    {
        // The compact copy when the database has a sound one; the table itself otherwise (a
        // database of an older build, or one changed by hand, which drops the copy).
        // Read straight into its own buffer, without a copy of the blob on the way.
        sqlite3_stmt* statement = nullptr;
        sqlite3_blob* blob = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), "select rowid from word_pack", -1, &statement, nullptr)
            == SQLITE_OK) {
            const Statement guard(statement, sqlite3_finalize);
            if (sqlite3_step(statement) == SQLITE_ROW
                && sqlite3_blob_open(m_db.get(), "main", "word_pack", "data",
                       sqlite3_column_int64(statement, 0), 0, &blob)
                    == SQLITE_OK) {
                QByteArray pack(sqlite3_blob_bytes(blob), Qt::Uninitialized);
                const bool read
                    = sqlite3_blob_read(blob, pack.data(), int(pack.size()), 0) == SQLITE_OK;
                sqlite3_blob_close(blob);
                if (read)
                    if (auto set = PackedWordSet::fromPack(std::move(pack), definitions()))
                        return set;
            }
        }
        return query(allWordsQuery);
    }

    std::unique_ptr<WordSet> query(const QString& sql) override
    {
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt* statement = nullptr;
        const char* tail = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), text.constData(), int(text.size()), &statement, &tail)
            != SQLITE_OK)
            throw PlatformError(QString::fromUtf8(sqlite3_errmsg(m_db.get())));
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
        // (as allWordsQuery does), so that rules on facts hold for the rows it gives.
        static const char* const names[] = { "word", "level", "kinds", "spellings", "offensive" };
        int columns[std::size(names)];
        std::fill(std::begin(columns), std::end(columns), -1);
        for (int c = sqlite3_column_count(statement) - 1; c >= 0; --c) {
            for (size_t n = 0; n < std::size(names); ++n)
                if (qstricmp(sqlite3_column_name(statement, c), names[n]) == 0)
                    columns[n] = c;
        }
        const int wordColumn = columns[0];
        const bool withFacts = std::find(columns, std::end(columns), -1) == std::end(columns);
        if (wordColumn < 0)
            throw PlatformError(QStringLiteral("Item cannot be found in the collection "
                                               "corresponding to the requested name or ordinal."));

        std::vector<QString> words;
        std::vector<WordFacts> facts;
        const auto fact = [&](int n) {
            return quint8(qBound(0, sqlite3_column_int(statement, columns[n]), 255));
        };
        for (;;) {
            const int rc = sqlite3_step(statement);
            if (rc == SQLITE_DONE)
                break;
            if (rc != SQLITE_ROW)
                throw PlatformError(QString::fromUtf8(sqlite3_errmsg(m_db.get())));
            // A NULL word reads as the empty text.
            const auto* data
                = reinterpret_cast<const char*>(sqlite3_column_text(statement, wordColumn));
            const int size = sqlite3_column_bytes(statement, wordColumn);
            words.push_back(data ? QString::fromUtf8(data, size) : QString());
            if (withFacts)
                facts.push_back({ fact(1), fact(2), fact(3), fact(4) });
        }
        if (withFacts)
            return std::make_unique<WordList>(std::move(words), std::move(facts), definitions());
        return std::make_unique<WordList>(std::move(words));
    }

private:
    // Looks a word up in table definitions, while the word set lives; a database without the
    // table, or a failed look-up, gives no definition.
    PackedWordSet::Definitions definitions()
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), "select definition from definitions where word = ?1", -1,
                &statement, nullptr)
            != SQLITE_OK)
            return nullptr;
        const std::shared_ptr<sqlite3_stmt> lookup(statement, sqlite3_finalize);
        const std::shared_ptr<sqlite3> db = m_db;
        return [db, lookup](const QString& word) {
            const QByteArray key = word.toUtf8();
            sqlite3_reset(lookup.get());
            if (sqlite3_bind_text(
                    lookup.get(), 1, key.constData(), int(key.size()), SQLITE_TRANSIENT)
                    != SQLITE_OK
                || sqlite3_step(lookup.get()) != SQLITE_ROW)
                return QString();
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(lookup.get(), 0)),
                sqlite3_column_bytes(lookup.get(), 0));
        };
    }

    std::shared_ptr<sqlite3> m_db;
};

} // namespace

std::unique_ptr<WordConnection> SqliteWordStore::open(const QString& path)
{
    // SQLite would create a missing file even read-only in some modes; say plainly what is wrong.
    if (!QFileInfo(path).isFile())
        throw PlatformError(QStringLiteral("Could not find file '%1'.").arg(path));
    return openLocal(QFile::encodeName(path));
}

namespace {

// Opens read-only and reads the schema, so that a file that is not a database is found now
// rather than at the first query. Null with the reason and SQLite's code on failure.
sqlite3* openChecked(const QByteArray& name, int flags, QString& reason, int& code)
{
    sqlite3* db = nullptr;
    code = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READONLY | flags, nullptr);
    char* error = nullptr;
    if (code == SQLITE_OK)
        code = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, &error);
    if (code == SQLITE_OK)
        return db;
    reason = QString::fromUtf8(error ? error : db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    sqlite3_free(error);
    sqlite3_close_v2(db);
    return nullptr;
}

} // namespace

std::unique_ptr<WordConnection> SqliteWordStore::openLocal(const QByteArray& path)
{
    QString reason;
    int code = SQLITE_OK;
    sqlite3* db = openChecked(path, 0, reason, code);
    // A database in WAL mode needs its -shm file even to be read, which a read-only folder or
    // mount cannot give: read it as a file that nothing changes, which it then is.
    if (!db && ((code & 0xff) == SQLITE_CANTOPEN || (code & 0xff) == SQLITE_READONLY)) {
        QString ignored;
        db = openChecked(
            "file:" + path.toPercentEncoding("/") + "?immutable=1", SQLITE_OPEN_URI, ignored, code);
    }
    if (!db)
        throw PlatformError(reason);
    return std::make_unique<SqliteConnection>(db);
}
