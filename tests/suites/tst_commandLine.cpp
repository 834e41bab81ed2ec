#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

// tessavine-cli end to end: the real executable on a small word list in a temporary folder.
class CommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rules_data();
    void rules();
    void seeds_data();
    void seeds();
    void failures_data();
    void failures();
    void failedRunKeepsTheOutputFile();
    void helpAndManualPageNameTheSameOptions();

private:
    struct Run
    {
        int status = -1;
        QString out;
        QString err;
    };
    // Runs the program with "%d" in the arguments standing for the temporary folder; a run that
    // does not end within seconds counts as failed with status -1.
    Run run(const QStringList& arguments) const;

    QTemporaryDir m_dir;
};

namespace {

// A blank line and a Windows line end among them, both to be ignored.
const QByteArray list = "apple\nBanana\ncherry\r\ndate\n\negg\nfig\nkiwi\nsky\nstrawberry\n"
                        "\xc3\xa9"
                        "clair\n";

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

CommandLineTest::Run CommandLineTest::run(const QStringList& arguments) const
{
    QStringList expanded;
    for (const QString& argument : arguments)
        expanded << QString(argument).replace(QLatin1String("%d"), m_dir.path());
    QProcess process;
    process.start(QStringLiteral(TESSAVINE_CLI), expanded);
    Run result;
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.status = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void CommandLineTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    writeFile(m_dir.filePath("list.txt"), list);
    writeFile(m_dir.filePath("empty.txt"), "\n\r\n");
    writeFile(m_dir.filePath("latin1.txt"), "caf\xe9\n");
}

void CommandLineTest::rules_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("no rules") << QStringList {}
                              << QStringList { "apple", "Banana", "cherry", "date", "egg", "fig",
                                     "kiwi", "sky", "strawberry", "éclair" };
    QTest::newRow("length") << QStringList { "--min", "4", "--max", "5" }
                            << QStringList { "apple", "date", "kiwi" };
    QTest::newRow("start, any case") << QStringList { "--start", "B" } << QStringList { "Banana" };
    QTest::newRow("start, beyond ASCII")
        << QStringList { "--start", "É" } << QStringList { "éclair" };
    QTest::newRow("start, prefix")
        << QStringList { "--start", "st" } << QStringList { "strawberry" };
    QTest::newRow("end") << QStringList { "--end", "y" }
                         << QStringList { "cherry", "sky", "strawberry" };
    QTest::newRow("end, suffix") << QStringList { "--end", "RRY" }
                                 << QStringList { "cherry", "strawberry" };
    QTest::newRow("letter, vowel")
        << QStringList { "--letter", "2:vowel" } << QStringList { "Banana", "date", "fig", "kiwi" };
    QTest::newRow("letter, last consonant") << QStringList { "--letter",
        "last:consonant" } << QStringList { "cherry", "egg", "fig", "sky", "strawberry", "éclair" };
    QTest::newRow("letter, past the end is the last")
        << QStringList { "--letter", "7:e" } << QStringList { "apple", "date", "strawberry" };
    QTest::newRow("letter, upper case")
        << QStringList { "--letter", "1:K" } << QStringList { "kiwi" };
    QTest::newRow("proper") << QStringList { "--proper", "--start", "é" }
                            << QStringList { "Éclair" };
    QTest::newRow("all rules") << QStringList { "--min", "3", "--max", "6", "--start", "c", "--end",
        "y", "--letter", "2:consonant" }
                               << QStringList { "cherry" };
    QTest::newRow("unique") << QStringList { "--unique", "-n", "3", "--end", "y" }
                            << QStringList { "cherry", "sky", "strawberry" };
    QTest::newRow("count matches")
        << QStringList { "--count-matches", "--end", "y" } << QStringList { "3" };
}

// Enough draws that every matching word turns up, and nothing else does.
void CommandLineTest::rules()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    const Run r
        = run(QStringList { "--words", "%d/list.txt", "--seed", "1", "-n", "300" } + arguments);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.endsWith('\n'));
    const QStringList lines = r.out.chopped(1).split('\n');
    const auto words = QSet<QString>(lines.begin(), lines.end());
    QCOMPARE(words, QSet<QString>(expected.begin(), expected.end()));
    if (arguments.contains("--unique"))
        QCOMPARE(lines.size(), expected.size());
}

void CommandLineTest::seeds_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");
    QTest::newRow("seed 1") << QStringList { "--seed", "1" }
                            << "Banana, Banana, egg, apple, date, éclair\n";
    QTest::newRow("seed 2") << QStringList { "--seed", "2" }
                            << "éclair, strawberry, sky, éclair, cherry, Banana\n";
    QTest::newRow("largest seed") << QStringList { "--seed", "18446744073709551615" }
                                  << "apple, sky, apple, fig, éclair, fig\n";
    QTest::newRow("seed 1, unique")
        << QStringList { "--seed", "1", "--unique" } << "Banana, cherry, fig, date, kiwi, éclair\n";
    QTest::newRow("seed 1, rules") << QStringList { "--seed", "1", "--end", "y" }
                                   << "cherry, cherry, sky, cherry, sky, strawberry\n";
}

// A fixed sequence per seed, the same on every run: a change in how numbers pick words shows.
void CommandLineTest::seeds()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const QStringList all
        = QStringList { "--words", "%d/list.txt", "-n", "6", "-s", ", " } + arguments;
    const Run first = run(all);
    QCOMPARE(first.out, expected);
    QCOMPARE(run(all).out, expected);
}

void CommandLineTest::failures_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    const QString list = "%d/list.txt";
    const QString none = "no word matches these rules";
    QTest::newRow("too long") << QStringList { "--words", list, "--min", "11" } << 1 << none;
    QTest::newRow("no start") << QStringList { "--words", list, "--start", "q", "-n", "1000000000" }
                              << 1 << none;
    QTest::newRow("rules against each other")
        << QStringList { "--words", list, "--letter", "1:z", "--end", "y" } << 1 << none;
    QTest::newRow("empty list") << QStringList { "--words", "%d/empty.txt" } << 1 << none;
    QTest::newRow("more unique than match") << QStringList { "--words", list, "--unique", "-n",
        "11" } << 1 << "--unique cannot give 11 words: only 10 match these rules";
    QTest::newRow("missing list") << QStringList { "--words", "%d/no/list" } << 1
                                  << "cannot read %d/no/list: No such file or directory";
    QTest::newRow("folder as list") << QStringList { "--words", "%d" } << 1 << "cannot read %d: ";
    QTest::newRow("not UTF-8") << QStringList { "--words", "%d/latin1.txt" } << 1
                               << "cannot read %d/latin1.txt: not UTF-8 text";
    QTest::newRow("not a database") << QStringList { "--database", list } << 1
                                    << "cannot read %d/list.txt: file is not a database";
    QTest::newRow("unwritable output")
        << QStringList { "--words", list, "-o", "%d/no/out" } << 1 << "cannot write %d/no/out: ";
    QTest::newRow("bad count") << QStringList { "-n", "x" } << 2 << "--count needs a whole number";
    QTest::newRow("negative count") << QStringList { "-n", "-1" } << 2 << "--count needs";
    QTest::newRow("fraction") << QStringList { "--min", "1.5" } << 2 << "--min needs";
    QTest::newRow("seed too big") << QStringList { "--seed", "18446744073709551616" } << 2
                                  << "--seed needs";
    QTest::newRow("unknown option") << QStringList { "--colour" } << 2 << "Unknown option";
    QTest::newRow("missing value") << QStringList { "--count" } << 2 << "Missing value";
    QTest::newRow("letter position 0")
        << QStringList { "--letter", "0:vowel" } << 2 << "--letter needs POS:WHAT";
    QTest::newRow("letter of two") << QStringList { "--letter", "2:ab" } << 2 << "--letter needs";
    QTest::newRow("letter without position")
        << QStringList { "--letter", "vowel" } << 2 << "--letter needs";
    QTest::newRow("max below min")
        << QStringList { "--min", "5", "--max", "3" } << 2 << "--max 3 is below --min 5";
    QTest::newRow("two lists") << QStringList { "--words", list, "--database", list } << 2
                               << "--words and --database cannot be used together";
    QTest::newRow("stray argument")
        << QStringList { "words" } << 2 << "unexpected argument 'words'";
    QTest::newRow("help") << QStringList { "--help" } << 0 << "";
    QTest::newRow("version") << QStringList { "--version" } << 0 << "";
    QTest::newRow("installed database")
        << QStringList { "--start", "s", "--count-matches" } << 0 << "";
}

// Every failure is one line on standard error naming the cause, and nothing on standard output.
void CommandLineTest::failures()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run r = run(arguments);
    QCOMPARE(r.status, status);
    if (status == 0) {
        QCOMPARE(r.err, QString());
        QVERIFY(!r.out.isEmpty());
        return;
    }
    const QString expected = "tessavine-cli: " + message.replace("%d", m_dir.path());
    QVERIFY2(r.err.startsWith(expected), qPrintable(r.err));
    QCOMPARE(r.err.count('\n'), 1);
    QCOMPARE(r.out, QString());
}

void CommandLineTest::failedRunKeepsTheOutputFile()
{
    const QString out = m_dir.filePath("out/words.txt");
    QVERIFY(QDir(m_dir.path()).mkpath("out"));
    writeFile(out, "kept\n");
    const auto content = [&out] {
        QFile file(out);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QCOMPARE(run({ "--words", "%d/list.txt", "--min", "11", "-o", out }).status, 1);
    QCOMPARE(content(), "kept\n");
    QCOMPARE(run({ "--words", "%d/list.txt", "-o", out, "--count-matches", "--end", "y" }).out,
        QString());
    QCOMPARE(content(), "3\n");
    // Only the file itself: no temporary file is left beside it.
    QCOMPARE(QDir(m_dir.filePath("out")).entryList(QDir::Files), QStringList { "words.txt" });
}

void CommandLineTest::helpAndManualPageNameTheSameOptions()
{
    QFile manual(TESSAVINE_CLI_MANUAL);
    QVERIFY(manual.open(QIODevice::ReadOnly));
    const QRegularExpression longOption("--[a-z][a-z-]*");
    const auto options = [&](const QString& text) {
        QSet<QString> names;
        for (const auto& match : longOption.globalMatch(text))
            names.insert(match.captured());
        return names;
    };
    const QSet<QString> help = options(run({ "--help" }).out);
    QVERIFY(help.contains("--count-matches"));
    QCOMPARE(options(QString::fromUtf8(manual.readAll()).replace("\\-", "-")), help);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandLine.moc"
