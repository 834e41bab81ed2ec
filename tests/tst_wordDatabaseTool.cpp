#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

namespace {

const QString systemWordList = QStringLiteral("/usr/share/dict/american-english");

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QString& input, const QString& output, const QStringList& options = {})
{
    QProcess process;
    process.start(QStringLiteral(TESSAVINE_WORD_TOOL), options + QStringList { input, output });
    ToolRun run;
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <qsizetype N> QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

// Reads the words back the way the program does: in table order, without ORDER BY. A database
// that cannot be read gives no words.
QStringList readWords(const QString& databasePath)
{
    sqlite3* db = nullptr;
    QStringList words;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(
            QFile::encodeName(databasePath).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
            == SQLITE_OK
        && sqlite3_prepare_v2(db, "SELECT word FROM words", -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            words.append(QString::fromUtf8(text, sqlite3_column_bytes(statement, 0)));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return words;
}

int summaryCount(const QString& summary, const QString& label)
{
    const auto match
        = QRegularExpression(QStringLiteral("(\\d+) %1\\b").arg(QRegularExpression::escape(label)))
              .match(summary);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QStringList leftoverTemporaryFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("*.tmp-*") }, QDir::AllEntries | QDir::Hidden);
}

} // namespace

class TestWordDatabaseTool : public QObject
{
    Q_OBJECT

private slots:
    void storesEachKeptWordOnceInListOrder_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("list order")
            << QByteArray("pear\napple\nfig\n") << QStringList { "pear", "apple", "fig" };
        QTest::newRow("duplicates at first appearance")
            << QByteArray("bee\nant\nbee\ncat\nant\n") << QStringList { "bee", "ant", "cat" };
        QTest::newRow("possessives") << QByteArray("cat\ncat's\nit's\no'clock\ncat\u2019s\n")
                                     << QStringList { "cat", "o'clock" };
        QTest::newRow("capitalised") << QByteArray("Paris\nNASA\nparis\n\u00c9mile\n\u01c5ungla\n"
                                                   "\u00e5ngstr\u00f6m\n3-way\n")
                                     << QStringList { "paris", "\u00e5ngstr\u00f6m", "3-way" };
        QTest::newRow("accented lower case") << QByteArray("caf\u00e9\ncaf\u00e9's\nna\u00efve")
                                             << QStringList { "caf\u00e9", "na\u00efve" };
        QTest::newRow("blank lines")
            << QByteArray("\n\none\n \t\n\ntwo") << QStringList { "one", "two" };
        QTest::newRow("CR LF line ends")
            << QByteArray("dog\r\ncat\r\ndog\n\r\n") << QStringList { "dog", "cat" };
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                       "first\nsecond\n")
                                         << QStringList { "first", "second" };
        // Latin-1, overlong, surrogate, truncated, stray continuation, past U+10FFFF, NUL.
        QTest::newRow("invalid UTF-8") << bytes(
            "good\ncaf\xE9\n\xC0\xAF\n\xED\xA0\x80\nx\xC3\n\x80z\n\xF4\x90\x80\x80\n"
            "a\0b\nfine\n") << QStringList { "good", "fine" };
        // Canonical Roman numerals go, words written with numeral letters stay.
        QTest::newRow("not words")
            << QByteArray("eBay\nd'Arezzo\nb\na\nxiv\nclxvii\nmm\nmix\nmi\nxi\n"
                          "dim\ncivil\nkg\nbrr\nrhythm\n\u00e6on\n")
            << QStringList { "a", "mix", "mi", "xi", "dim", "civil", "rhythm", "\u00e6on" };
    }

    void storesEachKeptWordOnceInListOrder()
    {
        QFETCH(QByteArray, list);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath("list.txt"), list));

        const ToolRun run = runTool(dir.filePath("list.txt"), dir.filePath("dbWords.mdb"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readWords(dir.filePath("dbWords.mdb")), expected);
        QVERIFY(leftoverTemporaryFiles(dir.path()).isEmpty());
    }

    void summaryCountsEveryLine()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(
            dir.filePath("list.txt"), "apple\r\n\nApple\napple\napple's\ncaf\xE9\r\n  \nbanana"));

        const ToolRun run = runTool(dir.filePath("list.txt"), dir.filePath("dbWords.mdb"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(summaryCount(run.out, "lines read"), 8);
        QCOMPARE(summaryCount(run.out, "words stored"), 2);
        QCOMPARE(summaryCount(run.out, "blank"), 2);
        QCOMPARE(summaryCount(run.out, "duplicate"), 1);
        QCOMPARE(summaryCount(run.out, "possessive"), 1);
        QCOMPARE(summaryCount(run.out, "capitalised"), 1);
        QCOMPARE(summaryCount(run.out, "invalid UTF-8"), 1);
        QCOMPARE(summaryCount(run.out, "CR LF line ends"), 2);
    }

    void rebuildReplacesExistingDatabase()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writeFile(dir.filePath("old.txt"), "old\nwords\n"));
        QVERIFY(writeFile(dir.filePath("new.txt"), "new\n"));
        QCOMPARE(runTool(dir.filePath("old.txt"), dir.filePath("dbWords.mdb")).exitCode, 0);

        QCOMPARE(runTool(dir.filePath("new.txt"), dir.filePath("dbWords.mdb")).exitCode, 0);
        QCOMPARE(readWords(dir.filePath("dbWords.mdb")), QStringList { "new" });
    }

    void failedBuildLeavesExistingDatabaseUntouched_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");

        QTest::newRow("missing list") << "absent.txt"
                                      << "dbWords.mdb";
        QTest::newRow("list unreadable (a folder)") << "folder"
                                                    << "dbWords.mdb";
        QTest::newRow("no word to keep") << "nothing.txt"
                                         << "dbWords.mdb";
        QTest::newRow("output cannot be replaced") << "list.txt"
                                                   << "folder";
    }

    void failedBuildLeavesExistingDatabaseUntouched()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkpath("folder/inside"));
        QVERIFY(writeFile(dir.filePath("nothing.txt"), "Paris\nrose's\n\n"));
        QVERIFY(writeFile(dir.filePath("list.txt"), "fresh\n"));
        QVERIFY(writeFile(dir.filePath("old.txt"), "old\n"));
        QCOMPARE(runTool(dir.filePath("old.txt"), dir.filePath("dbWords.mdb")).exitCode, 0);
        const QByteArray before = fileBytes(dir.filePath("dbWords.mdb"));

        const ToolRun run = runTool(dir.filePath(input), dir.filePath(output));
        QCOMPARE_NE(run.exitCode, 0);
        QVERIFY2(!run.err.isEmpty(), "a failure explains itself");
        QCOMPARE(fileBytes(dir.filePath("dbWords.mdb")), before);
        QVERIFY(QFileInfo(dir.filePath("folder/inside")).isDir());
        QCOMPARE(leftoverTemporaryFiles(dir.path()), QStringList());
    }

    void systemWordListGivesAboutSixtyFourThousandWords()
    {
        if (!QFile::exists(systemWordList))
            QSKIP("the wamerican word list is not installed");
        QTemporaryDir dir;
        QVERIFY(dir.isValid());

        const ToolRun run = runTool(systemWordList, dir.filePath("dbWords.mdb"));
        QCOMPARE(run.exitCode, 0);
        const QStringList words = readWords(dir.filePath("dbWords.mdb"));
        QVERIFY2(words.size() >= 60000 && words.size() <= 70000, qPrintable(run.out));
        QCOMPARE(QSet<QString>(words.begin(), words.end()).size(), words.size());
        QVERIFY(words.contains(QStringLiteral("caf\u00e9")));
        for (const QString& word : words) {
            QVERIFY2(!word.endsWith(QLatin1String("'s")), qPrintable(word));
            QVERIFY2(word == word.toLower(), qPrintable(word));
        }
        int newlySkipped = 0;
        for (const char* skip :
            { "inner capital", "single letter", "Roman numeral", "without vowel" })
            newlySkipped += summaryCount(run.out, skip);
        const QStringList skips { "blank", "duplicate", "possessive", "capitalised",
            "invalid UTF-8" };
        int accounted = summaryCount(run.out, "words stored") + newlySkipped;
        for (const QString& skip : skips)
            accounted += summaryCount(run.out, skip);
        QCOMPARE(summaryCount(run.out, "lines read"), accounted);

        // --keep-all brings back exactly what the newer rules left out.
        const ToolRun all = runTool(systemWordList, dir.filePath("all.mdb"), { "--keep-all" });
        QCOMPARE(summaryCount(all.out, "words stored"), words.size() + newlySkipped);
    }

    void databaseBesideProgramMatchesConfiguredList()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QCOMPARE(runTool(TESSAVINE_WORDLIST, dir.filePath("fresh.mdb")).exitCode, 0);

        const QStringList shipped = readWords(TESSAVINE_WORD_DATABASE);
        QVERIFY2(!shipped.isEmpty(), TESSAVINE_WORD_DATABASE);
        QCOMPARE(shipped, readWords(dir.filePath("fresh.mdb")));
    }
};

QTEST_GUILESS_MAIN(TestWordDatabaseTool)
#include "tst_wordDatabaseTool.moc"
