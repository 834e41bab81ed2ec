#include "engine/RandomInteger.h"
#include "engine/PlatformError.h"
#include "engine/SqliteWordStore.h"
#include "engine/TimeOfDayRandom.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <sqlite3.h>

namespace {

QString realDatabase()
{
    return QString::fromLocal8Bit(qgetenv("TESSAVINE_BUILD_DIR")) + QStringLiteral("/dbWords.mdb");
}

// Every row of a word set, in the order the set holds them.
QStringList rowsOf(const WordSet& set)
{
    QStringList words;
    for (int r = 1; r <= set.count(); ++r)
        words << set.word(r);
    return words;
}

// Length in characters, as the database counts them.
int characters(const QString& word)
{
    return int(word.toUcs4().size());
}

// A database made by running the statements on a new file; empty when that failed.
QString makeDatabase(const QTemporaryDir& dir, const QString& name, const char* statements)
{
    const QString path = dir.filePath(name);
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK
        && sqlite3_exec(db, statements, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok ? path : QString();
}

// The description of the failure that opening the file and running the query gave, or empty.
QString failureOf(const QString& path, const QString& sql)
{
    try {
        SqliteWordStore store;
        store.open(path)->query(sql);
    } catch (const PlatformError& error) {
        return error.description().isEmpty() ? QStringLiteral("(no description)")
                                             : error.description();
    }
    return QString();
}

QByteArray fingerprint(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
        + QFileInfo(path).lastModified().toString(Qt::ISODateWithMs).toUtf8();
}

} // namespace

class TestWordSource : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void realDatabaseAnswersEachQueryShapeByCharacterLength_data();
    void realDatabaseAnswersEachQueryShapeByCharacterLength();
    void realDatabaseHoldsAccentedWords();
    void realDatabaseIsNeverWritten();
    void writingStatementsAreRefused_data();
    void writingStatementsAreRefused();
    void brokenStoresFailWithDescription_data();
    void brokenStoresFailWithDescription();
    void unusualTablesGiveDocumentedRows();
    void rowOutsideTheSetFails();

    void drawsAreUniformOverTheRows();
    void timeOfDaySeedsDiffer();

private:
    QStringList m_allWords;
};

void TestWordSource::initTestCase()
{
    QVERIFY2(QFileInfo(realDatabase()).isFile(), qPrintable(realDatabase()));
    SqliteWordStore store;
    m_allWords = rowsOf(*store.open(realDatabase())->query(QStringLiteral("select * from words")));
    QVERIFY(m_allWords.size() > 1000);
}

void TestWordSource::realDatabaseAnswersEachQueryShapeByCharacterLength_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("minimum"); // 0: no minimum
    QTest::addColumn<int>("maximum"); // 0: no maximum

    QTest::newRow("no bounds") << "" << 0 << 0;
    QTest::newRow("both") << " where length(word)>=2 AND length(word)<=4" << 2 << 4;
    QTest::newRow("exactly five") << " where length(word)>=5 AND length(word)<=5" << 5 << 5;
    QTest::newRow("maximum") << " where length(word)<=4" << 0 << 4;
    QTest::newRow("minimum") << " where length(word)>=9" << 9 << 0;
    QTest::newRow("none meets") << " where length(word)>=9 AND length(word)<=2" << 9 << 2;
}

void TestWordSource::realDatabaseAnswersEachQueryShapeByCharacterLength()
{
    QFETCH(QString, where);
    QFETCH(int, minimum);
    QFETCH(int, maximum);

    QStringList expected;
    for (const QString& word : std::as_const(m_allWords)) {
        const int length = characters(word);
        if ((minimum == 0 || length >= minimum) && (maximum == 0 || length <= maximum))
            expected << word;
    }
    SqliteWordStore store;
    const auto set
        = store.open(realDatabase())->query(QStringLiteral("select * from words") + where);
    QStringList rows = rowsOf(*set);
    QCOMPARE(set->count(), int(expected.size()));
    std::sort(rows.begin(), rows.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(rows, expected);
}

void TestWordSource::realDatabaseHoldsAccentedWords()
{
    const QString cafe = QString::fromUtf8("café");
    QVERIFY(m_allWords.contains(cafe));
    SqliteWordStore store;
    const QStringList fourLetters = rowsOf(
        *store.open(realDatabase())
             ->query(
                 QStringLiteral("select * from words where length(word)>=4 AND length(word)<=4")));
    QVERIFY(fourLetters.contains(cafe));
}

void TestWordSource::realDatabaseIsNeverWritten()
{
    const QByteArray before = fingerprint(realDatabase());
    QVERIFY(!before.isEmpty());
    {
        SqliteWordStore store;
        auto connection = store.open(realDatabase());
        connection->query(QStringLiteral("select * from words where length(word)<=3"));
        QVERIFY_THROWS_EXCEPTION(
            PlatformError, connection->query(QStringLiteral("delete from words")));
    }
    QCOMPARE(fingerprint(realDatabase()), before);
}

void TestWordSource::writingStatementsAreRefused_data()
{
    QTest::addColumn<QString>("sql");

    QTest::newRow("delete") << "delete from words";
    QTest::newRow("insert") << "insert into words values ('zzz')";
    QTest::newRow("update") << "update words set word = 'zzz'";
    QTest::newRow("drop") << "drop table words";
    QTest::newRow("create") << "create table other (x)";
    QTest::newRow("second statement") << "select * from words; delete from words";
    QTest::newRow("pragma") << "pragma user_version = 7";
}

void TestWordSource::writingStatementsAreRefused()
{
    QFETCH(QString, sql);

    QTemporaryDir dir;
    const QString path = makeDatabase(dir, QStringLiteral("w.mdb"),
        "create table words (word text); insert into words values ('alpha'), ('beta');");
    QVERIFY(!path.isEmpty());
    const QByteArray before = fingerprint(path);

    QVERIFY(!failureOf(path, sql).isEmpty());
    QCOMPARE(fingerprint(path), before);
    SqliteWordStore store;
    QCOMPARE(rowsOf(*store.open(path)->query(QStringLiteral("select * from words"))),
        (QStringList { QStringLiteral("alpha"), QStringLiteral("beta") }));
}

void TestWordSource::brokenStoresFailWithDescription_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("statements"); // empty: a file with "contents" instead
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("sql");

    const QString all = QStringLiteral("select * from words");
    const QByteArray words = "create table words (word text); insert into words values ('ab');";
    QTest::newRow("missing file") << "missing.mdb" << QByteArray() << QByteArray() << all;
    QTest::newRow("not a database")
        << "text.mdb" << QByteArray() << QByteArray(4096, 'x') + "not sqlite" << all;
    QTest::newRow("empty file") << "empty.mdb" << QByteArray() << QByteArray("") << all;
    QTest::newRow("no words table")
        << "other.mdb" << QByteArray("create table names (word text);") << QByteArray() << all;
    QTest::newRow("no word column")
        << "column.mdb" << QByteArray("create table words (name text);") << QByteArray() << all;
    QTest::newRow("non-numeric minimum")
        << "bound.mdb" << words << QByteArray() << all + " where length(word)>=a";
    QTest::newRow("sign as maximum")
        << "sign.mdb" << words << QByteArray() << all + " where length(word)<=-";
}

void TestWordSource::brokenStoresFailWithDescription()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, statements);
    QFETCH(QByteArray, contents);
    QFETCH(QString, sql);

    QTemporaryDir dir;
    QString path = dir.filePath(name);
    if (!statements.isEmpty()) {
        path = makeDatabase(dir, name, statements.constData());
        QVERIFY(!path.isEmpty());
    } else if (!contents.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QVERIFY(!failureOf(path, sql).isEmpty());
    // A missing file is not created by the attempt.
    QCOMPARE(QFileInfo::exists(path), !statements.isEmpty() || !contents.isNull());
}

void TestWordSource::unusualTablesGiveDocumentedRows()
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, QStringLiteral("u.mdb"),
        "create table words (id integer, word text, note text);"
        "insert into words values (1, 'first', 'x'), (2, NULL, 'y'),"
        "  (3, replace(hex(zeroblob(50000)), '00', 'ab'), 'z');"
        "create table empty (word text);");
    QVERIFY(!path.isEmpty());
    SqliteWordStore store;
    auto connection = store.open(path);

    // Other columns are ignored; a NULL word reads as the empty text.
    const QStringList rows = rowsOf(*connection->query(QStringLiteral("select * from words")));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0], QStringLiteral("first"));
    QCOMPARE(rows[1], QString());
    QCOMPARE(rows[2], QStringLiteral("ab").repeated(50000));

    // A NULL word has no length and meets no bound.
    QCOMPARE(
        rowsOf(*connection->query(QStringLiteral("select * from words where length(word)<=5"))),
        QStringList { QStringLiteral("first") });
    QCOMPARE(
        connection->query(QStringLiteral("select * from words where length(word)>=9"))->count(), 1);
    QCOMPARE(connection->query(QStringLiteral("select * from empty"))->count(), 0);
}

void TestWordSource::rowOutsideTheSetFails()
{
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, QStringLiteral("one.mdb"),
        "create table words (word text); insert into words values ('solo');");
    QVERIFY(!path.isEmpty());
    SqliteWordStore store;
    const auto set = store.open(path)->query(QStringLiteral("select * from words"));
    QCOMPARE(set->count(), 1);
    QCOMPARE(set->word(1), QStringLiteral("solo"));
    QVERIFY_THROWS_EXCEPTION(PlatformError, set->word(0));
    QVERIFY_THROWS_EXCEPTION(PlatformError, set->word(2));
}

void TestWordSource::drawsAreUniformOverTheRows()
{
    TimeOfDayRandom random;
    random.seed(42);
    constexpr int n = 10;
    constexpr int draws = 200000;
    int counts[n] = {};
    for (int k = 0; k < draws; ++k) {
        const double u = random.next();
        QVERIFY(u >= 0.0 && u < 1.0);
        const int r = RandomInteger(u, n);
        QVERIFY(r >= 1 && r <= n);
        ++counts[r - 1];
        QCOMPARE(RandomInteger(u, 1), 1);
    }
    const double expected = double(draws) / n;
    double chiSquare = 0;
    for (int count : counts)
        chiSquare += (count - expected) * (count - expected) / expected;
    // 9 degrees of freedom, p = 0.001.
    QVERIFY2(chiSquare < 27.88, qPrintable(QString::number(chiSquare)));
}

void TestWordSource::timeOfDaySeedsDiffer()
{
    TimeOfDayRandom first;
    TimeOfDayRandom second;
    first.seedFromTimeOfDay();
    second.seedFromTimeOfDay();
    QList<double> a;
    QList<double> b;
    for (int k = 0; k < 8; ++k) {
        a << first.next();
        b << second.next();
    }
    QVERIFY(a != b);
}

QTEST_MAIN(TestWordSource)
#include "tst_wordSource.moc"
