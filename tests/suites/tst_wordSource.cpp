#include "engine/AcceptanceRules.h"
#include "engine/PlainWordList.h"
#include "engine/PlatformError.h"
#include "engine/RandomInteger.h"
#include "engine/RuleError.h"
#include "engine/SeededRandom.h"
#include "engine/SqliteWordStore.h"
#include "engine/SystemRandom.h"
#include "engine/WordDrawer.h"
#include "engine/WordList.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <thread>

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

// Fixture words with the facts the word-list tool would give them.
class FactList : public WordList
{
public:
    FactList()
        : WordList({ "ant", "ants", "colour", "zorp", "quaff", "walk", "glim" })
    {
        // pant and ant share an ending, as any dictionary word may with the list's.
        setRhymeLookup(
            [](const QString& word) { return quint16(word == "pant" || word == "ant"); });
    }
    bool hasFacts() const override { return true; }
    WordFacts facts(int r) const override
    {
        static const WordFacts facts[] = {
            { 10, WordKind::Noun, Spelling::American | Spelling::British, 0, 6, 1, 1 },
            { 35, 0, Spelling::American, 0, 6, 1 },
            { 20, WordKind::Noun | WordKind::Verb, Spelling::British, 0 },
            { 50, WordKind::Noun, Spelling::American, 1 },
            { 0, WordKind::Verb, Spelling::American, 0 },
            { 10, WordKind::Verb, Spelling::American, 0, 39, 2 },
            { 35, WordKind::Noun, Spelling::American, WordMark::Classroom },
        };
        return facts[r - 1];
    }
};

QStringList matchingWords(const WordSet& set, const WordRules& rules)
{
    const WordDrawer drawer(set, rules, WordDrawer::Untestable::Drop);
    QStringList words;
    for (int place = 0; place < drawer.matchCount(); ++place)
        words << set.word(drawer.rowAt(place));
    return words;
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
    void systemSourceNeverRepeatsItself();
    void systemSourceDrawsAgainExactlyTheBiasedProducts_data();
    void systemSourceDrawsAgainExactlyTheBiasedProducts();
    void factRulesNarrowTheWords_data();
    void factRulesNarrowTheWords();
    void factRulesNeedFacts();
    void realDatabaseLoadsItsCompactCopyWhileItIsCurrent();
    void soundPacksAreReadAndOthersLeftForTheTable_data();
    void soundPacksAreReadAndOthersLeftForTheTable();
    void plainListsAreReadUpToTheirLimits_data();
    void plainListsAreReadUpToTheirLimits();
    void handedOverDatabasesAreReadSoundlyOrRefused_data();
    void handedOverDatabasesAreReadSoundlyOrRefused();

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
    SeededRandom random;
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

void TestWordSource::systemSourceNeverRepeatsItself()
{
    // Past two refills of its block: a block read twice or left unfilled would repeat.
    SystemRandom random;
    QSet<double> seen;
    for (int k = 0; k < 1100; ++k) {
        const double u = random.next();
        QVERIFY(u >= 0.0 && u < 1.0);
        seen.insert(u);
    }
    QCOMPARE(seen.size(), 1100);
    // Whole numbers below n, on both sides of the switch from two bytes to four: in range, and
    // for a small n every value (a fault in the scaling would leave some out).
    for (const quint32 n : { 1u, 7u, 1u << 14, (1u << 14) + 1, 0x80000001u }) {
        QSet<quint32> values;
        for (int k = 0; k < 2000; ++k) {
            const quint32 value = random.below(n);
            QVERIFY2(value < n, qPrintable(QString::number(n)));
            values.insert(value);
        }
        QVERIFY(n != 7 || values.size() == 7);
        QVERIFY(n < 1000 || values.size() > 1800);
    }
}

void TestWordSource::systemSourceDrawsAgainExactlyTheBiasedProducts_data()
{
    QTest::addColumn<quint32>("n");
    QTest::addColumn<int>("skipped"); // draws below 2 first, from a block of 0xff bytes
    QTest::addColumn<int>("width"); // bytes per word below
    QTest::addColumn<QList<quint32>>("words"); // what the source gives next, then 0xff bytes
    QTest::addColumn<QList<quint32>>("drawn");
    // Each pair of words sits on the rejection bound: low part one below it, then on it.
    // clang-format off
    QTest::newRow("3: low part 0 again, 1 kept") << 3u << 0 << 2 << QList<quint32> { 0, 43691, 21846 } << QList<quint32> { 2, 1 };
    QTest::newRow("10001: 5529 again, 5530 kept") << 10001u << 0 << 2 << QList<quint32> { 22025, 65530, 1 } << QList<quint32> { 10000, 0 };
    QTest::newRow("65536, last on two bytes") << 65536u << 0 << 2 << QList<quint32> { 65535, 0 } << QList<quint32> { 65535, 0 };
    QTest::newRow("65537, first on four bytes") << 65537u << 0 << 4 << QList<quint32> { 0, 0xffff0001, 0x80000000 } << QList<quint32> { 65536, 32768 };
    QTest::newRow("100001, rows past 65535") << 100001u << 0 << 4 << QList<quint32> { 0xf7ab7ada, 0xffff583b, 0x80000000 } << QList<quint32> { 100000, 50000 };
    QTest::newRow("2^31 + 1, half again") << 0x80000001u << 0 << 4 << QList<quint32> { 0x7ffffffe, 0xffffffff, 0x80000000 } << QList<quint32> { 0x80000000, 0x40000000 };
    QTest::newRow("four bytes with two left: a new block") << 100001u << 2047 << 4 << QList<quint32> { 0x80000000 } << QList<quint32> { 50000 };
    QTest::newRow("four bytes with four left: the same block") << 100001u << 2046 << 4 << QList<quint32> { 0x80000000 } << QList<quint32> { 100000, 50000 };
    // clang-format on
}

void TestWordSource::systemSourceDrawsAgainExactlyTheBiasedProducts()
{
    QFETCH(quint32, n);
    QFETCH(int, skipped);
    QFETCH(int, width);
    QFETCH(QList<quint32>, words);
    QFETCH(QList<quint32>, drawn);
    QByteArray stream(skipped ? 4096 : 0, char(0xff));
    for (const quint32 word : words)
        stream.append(reinterpret_cast<const char*>(&word), width);
    SystemRandom random([&stream](unsigned char* bytes, size_t count) {
        std::memset(bytes, 0xff, count);
        const qsizetype taken = std::min(stream.size(), qsizetype(count));
        std::memcpy(bytes, stream.constData(), size_t(taken));
        stream.remove(0, taken);
    });
    for (int k = 0; k < skipped; ++k)
        QCOMPARE(random.below(2), 1u);
    QList<quint32> values;
    for (qsizetype k = 0; k < drawn.size(); ++k)
        values << random.below(n);
    QCOMPARE(values, drawn);
}

void TestWordSource::factRulesNarrowTheWords_data()
{
    QTest::addColumn<WordRules>("rules");
    QTest::addColumn<QStringList>("words");
    const WordRules defaults;
    QTest::newRow("defaults: American, not offensive")
        << defaults << QStringList { "ant", "ants", "quaff", "walk" };
    WordRules rules;
    rules.allowOffensive = true;
    QTest::newRow("offensive allowed, and so every mark")
        << rules << QStringList { "ant", "ants", "zorp", "quaff", "walk", "glim" };
    rules = {};
    rules.allowMature = true;
    QTest::newRow("mature allowed, offensive still out")
        << rules << QStringList { "ant", "ants", "quaff", "walk", "glim" };
    rules = {};
    rules.spellings = Spelling::British;
    QTest::newRow("British") << rules << QStringList { "ant", "colour" };
    rules.spellings = 0;
    QTest::newRow("any spelling") << rules
                                  << QStringList { "ant", "ants", "colour", "quaff", "walk" };
    rules = {};
    rules.maxLevel = LevelTier::everyday;
    QTest::newRow("everyday, outside SCOWL left out") << rules << QStringList { "ant", "walk" };
    rules.maxLevel = LevelTier::common;
    QTest::newRow("common") << rules << QStringList { "ant", "ants", "walk" };
    rules = {};
    rules.kinds = WordKind::Noun;
    QTest::newRow("nouns: dictionary forms only") << rules << QStringList { "ant" };
    rules.kinds = WordKind::Verb;
    rules.spellings = 0;
    QTest::newRow("verbs of any spelling") << rules << QStringList { "colour", "quaff", "walk" };
    rules = {};
    rules.kinds = WordKind::Verb;
    rules.start = QStringLiteral("W");
    QTest::newRow("with a text rule") << rules << QStringList { "walk" };
    rules = {};
    rules.topics = quint64(1) << 6 | quint64(1) << 39;
    QTest::newRow("topics, any of them") << rules << QStringList { "ant", "ants", "walk" };
    rules.topics = 0;
    rules.minSyllables = 2;
    QTest::newRow("syllables, unknown left out") << rules << QStringList { "walk" };
    rules = {};
    rules.rhymesWith = QStringLiteral("PANT");
    QTest::newRow("rhymes, a word outside the list") << rules << QStringList { "ant" };
    rules.rhymesWith = QStringLiteral("ant");
    QTest::newRow("rhymes, not the word itself") << rules << QStringList {};
}

void TestWordSource::factRulesNarrowTheWords()
{
    QFETCH(WordRules, rules);
    QFETCH(QStringList, words);
    const FactList list;
    QCOMPARE(matchingWords(list, rules), words);
    // So does a list holding the facts in one block, as the word database's sets do.
    std::vector<QString> texts;
    std::vector<WordFacts> facts;
    for (int r = 1; r <= list.count(); ++r) {
        texts.push_back(list.word(r));
        facts.push_back(list.facts(r));
    }
    WordList block(texts, facts, nullptr);
    block.setRhymeLookup([&list](const QString& word) { return *list.rhymeOf(word); });
    QCOMPARE(matchingWords(block, rules), words);
    // The verdict on one word agrees with the drawer.
    const AcceptanceRules::Judge judge(rules, list.rhymeOf(rules.rhymesWith.value_or("")).value());
    for (int r = 1; r <= list.count(); ++r)
        QCOMPARE(judge(list.word(r), list.facts(r)).accepted || list.word(r) == rules.rhymesWith,
            words.contains(list.word(r)) || list.word(r) == rules.rhymesWith);
}

void TestWordSource::factRulesNeedFacts()
{
    // At their defaults the rules pass every word of a list without facts; any other says why not.
    const WordList plain({ "ant", "zorp" });
    QCOMPARE(matchingWords(plain, WordRules()), (QStringList { "ant", "zorp" }));
    WordRules rules;
    rules.spellings = 0;
    QCOMPARE(matchingWords(plain, rules), (QStringList { "ant", "zorp" }));
    rules.kinds = WordKind::Noun;
    QVERIFY_THROWS_EXCEPTION(RuleError, matchingWords(plain, rules));
    // The window's "6 or more syllables" has no upper bound; a topic needs facts alone.
    WordRules most;
    most.minSyllables = 6;
    QVERIFY_THROWS_EXCEPTION(RuleError, matchingWords(plain, most));
    WordRules topic;
    topic.topics = quint64(1) << 6;
    QVERIFY_THROWS_EXCEPTION(RuleError, matchingWords(plain, topic));
    try {
        matchingWords(plain, rules);
    } catch (const RuleError& error) {
        QCOMPARE(error.description(), AcceptanceRules::missingFactsText());
    }
}

void TestWordSource::realDatabaseLoadsItsCompactCopyWhileItIsCurrent()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.mdb"));
    QVERIFY(QFile::copy(realDatabase(), path));
    SqliteWordStore store;
    {
        const auto connection = store.open(path);
        const auto table = connection->query(QStringLiteral("select * from words"));
        const auto all = connection->allWords();
        QVERIFY(all->hasFacts());
        QCOMPARE(rowsOf(*all), rowsOf(*table));
        const int apple = int(rowsOf(*all).indexOf(QStringLiteral("apple"))) + 1;
        QVERIFY(apple > 0);
        QCOMPARE(all->facts(apple).kinds, quint8(WordKind::Noun));
        QVERIFY(all->definition(apple).contains(QStringLiteral("fruit")));
        // The window's statements read the facts from the table's columns.
        QCOMPARE(table->facts(apple).kinds, quint8(WordKind::Noun));
        QCOMPARE(table->definition(apple), all->definition(apple));
    }
    // A row deleted by hand leaves the copy stale: the table is read instead, its facts with it.
    QVERIFY(!makeDatabase(dir, QStringLiteral("copy.mdb"), "delete from words where word = 'apple'")
                 .isEmpty());
    const auto all = store.open(path)->allWords();
    QVERIFY(all->hasFacts());
    QVERIFY(!rowsOf(*all).contains(QStringLiteral("apple")));
    QVERIFY(all->count() > 60000);
}

void TestWordSource::soundPacksAreReadAndOthersLeftForTheTable_data()
{
    QTest::addColumn<QList<quint32>>("offsets"); // into the text "abc"
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<quint32>("version");
    QTest::addColumn<int>("triggers"); // of the tool's, the first ones
    const QStringList table { "table" };
    const QList<quint32> sound { 0, 2, 3 };
    QTest::newRow("sound: the pack's words")
        << sound << QStringList { "ab", "c" } << WordPack::version << 3;
    QTest::newRow("backwards") << QList<quint32> { 0, 2, 1, 3 } << table << WordPack::version << 3;
    QTest::newRow("last offset short of the text")
        << QList<quint32> { 0, 2, 2 } << table << WordPack::version << 3;
    QTest::newRow("first offset not 0")
        << QList<quint32> { 1, 2, 3 } << table << WordPack::version << 3;
    QTest::newRow("another version") << sound << table << WordPack::version + 1 << 3;
    QTest::newRow("only one trigger") << sound << table << WordPack::version << 1;
}

void TestWordSource::soundPacksAreReadAndOthersLeftForTheTable()
{
    QFETCH(QList<quint32>, offsets);
    QFETCH(QStringList, words);
    QFETCH(quint32, version);
    QFETCH(int, triggers);
    QByteArray pack;
    const auto append = [&pack](quint32 value) {
        pack.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    for (const quint32 value : { WordPack::magic, version, quint32(offsets.size() - 1), 3u, 0u })
        append(value);
    for (const quint32 offset : offsets)
        append(offset);
    pack.append(reinterpret_cast<const char*>(u"abc"), 6);
    // The pack stands on the table only while the tool's triggers do.
    QByteArray statements = "create table words(word text); insert into words values('table');"
                            "create table word_pack(data blob); insert into word_pack values(x'"
        + pack.toHex() + "');";
    for (int t = 0; t < triggers; ++t)
        statements += QByteArray(WordPack::staleTriggers[t]) + ';';
    QTemporaryDir dir;
    const QString path = makeDatabase(dir, "packed.mdb", statements.constData());
    QVERIFY(!path.isEmpty());
    QCOMPARE(rowsOf(*SqliteWordStore().open(path)->allWords()), words);
}

void TestWordSource::plainListsAreReadUpToTheirLimits_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("words");
    QTest::addColumn<QString>("failure");
    const QByteArray longest(PlainWordLimits::maxLineBytes, 'a');
    const QByteArray most = QByteArray("a\n").repeated(PlainWordLimits::maxWords);
    const QByteArray largest = QByteArray(4095, 'a').append('\n').repeated(4096);
    QTest::newRow("longest line") << longest << 1 << "";
    QTest::newRow("a byte longer") << longest + "a" << 0 << "a line longer than 4096 bytes";
    QTest::newRow("most words") << most << int(PlainWordLimits::maxWords) << "";
    QTest::newRow("a word more") << most + "a" << 0 << "more words than a word list can hold";
    QTest::newRow("largest list") << largest << 4096 << "";
    QTest::newRow("a byte more") << largest + "a" << 0 << "larger than a word list can be";
}

void TestWordSource::plainListsAreReadUpToTheirLimits()
{
    QFETCH(QByteArray, text);
    QFETCH(int, words);
    QFETCH(QString, failure);
    QBuffer buffer(&text);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    try {
        QCOMPARE(readPlainWordList(buffer).count(), words);
        QVERIFY(failure.isEmpty());
    } catch (const PlatformError& error) {
        QVERIFY2(error.description().startsWith(failure) && !failure.isEmpty(),
            qPrintable(error.description()));
    }
}

void TestWordSource::handedOverDatabasesAreReadSoundlyOrRefused_data()
{
    // Statements after "-- real" change a copy of the real database; after "-- held", a writer
    // holds the file for 300 ms, a tenth of the reader's wait, as it is read.
    QTest::addColumn<QByteArray>("statements");
    // The rows as word or word/level/offensive, or "!" and the start of the refusal.
    QTest::addColumn<QString>("expected");
    const QByteArray two = "create table words (word text); insert into words values ('1'), ('2');";
    const QByteArray facts = "create table words (word, level, kinds, spellings, offensive);";
    const QByteArray endless = "with recursive r(n) as (select 1 union all select n + 1 from r) ";
    const auto row = [](const char* name, const QByteArray& statements, const char* expected) {
        QTest::newRow(name) << statements << QString::fromUtf8(expected);
    };
    row("words made anew, its pack kept", "-- real\ndrop table words;" + two, "1 2 ");
    row("words renamed away", "-- real\nalter table words rename to old;" + two, "1 2 ");
    row("a writer holding the file", "-- held\n" + two, "1 2 ");
    row("fact values out of range",
        facts
            + "insert into words values ('a', 10, 1, 1, 0), ('b', 10, 1, 1, -1), "
              "('c', 10, 1, 1, 4294967296), ('d', 4294967306, 1, 1, 0), ('e', 1, 1, 1, 'y'), "
              "('f', -1, 1, 1, 0);",
        "a/10/0 b/10/1 c/10/1 d/0/0 e/1/1 f/0/0 ");
    row("classroom marks beside offensive ones",
        "create table words (word, level, kinds, spellings, offensive, classroom); insert into "
        "words values ('a', 10, 1, 1, 0, 0), ('b', 10, 1, 1, 0, 'y'), ('c', 10, 1, 1, 1, 1), "
        "('d', 10, 1, 1, 0, NULL);",
        "a/10/0 b/10/2 c/10/3 d/10/0 ");
    row("view growing without end",
        "create view words as with recursive r(word) as (select 'a' union all select word || "
        "'a' from r) select word from r;",
        "!the database gives more text than a word list can hold (1 MB)");
    row("view of endless rows", "create view words as " + endless + "select 'w' as word from r;",
        "!the database gives more words than a word list can hold (100000)");
    row("view of one row more than the limit",
        "create view words as " + endless + "select 'w' as word from r limit 100001;",
        "!the database gives more words than a word list can hold (100000)");
    row("view that never yields a row",
        "create view words as " + endless + "select 'w' as word from r where n < 0;",
        "!reading the database took longer than 1 seconds");
    row("definitions without end",
        facts + "insert into words values ('a', 10, 1, 1, 0); create view definitions as " + endless
            + "select 'a' as word, 'x' as definition from r where n < 0;",
        "!reading the database took longer than 1 seconds");
}

// A database may come from anyone: what the engine loads (the command line's way, which falls
// back to the window's query) is the table's, within bounds of rows, bytes and time.
void TestWordSource::handedOverDatabasesAreReadSoundlyOrRefused()
{
    QFETCH(QByteArray, statements);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("h.mdb"));
    QVERIFY(!statements.startsWith("-- real") || QFile::copy(realDatabase(), path));
    QVERIFY(!makeDatabase(dir, QStringLiteral("h.mdb"), statements.constData()).isEmpty());
    sqlite3* writer = nullptr;
    std::thread release;
    if (statements.startsWith("-- held")) {
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &writer), SQLITE_OK);
        QCOMPARE(sqlite3_exec(writer, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
        release = std::thread([writer] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            sqlite3_close(writer);
        });
    }
    QString got;
    try {
        const auto set = SqliteWordStore({ 100000, 1 << 20, 1000 }).open(path)->allWords();
        for (int r = 1; r <= set->count(); ++r)
            got += set->word(r)
                + (set->hasFacts() ? QStringLiteral("/%1/%2 ")
                                         .arg(set->facts(r).level)
                                         .arg(set->facts(r).offensive)
                                   : QStringLiteral(" "));
        if (set->hasFacts())
            set->definition(1);
    } catch (const PlatformError& error) {
        got = u'!' + error.description();
    }
    if (release.joinable())
        release.join();
    QVERIFY2(got.startsWith(expected), qPrintable(got.left(200)));
}

QTEST_GUILESS_MAIN(TestWordSource)
#include "tst_wordSource.moc"
