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

// Reads the words back the way the program does: in table order, without ORDER BY; other
// queries give their rows as the columns joined by "|". A database that cannot be read gives none.
QStringList readWords(const QString& databasePath, const char* sql = "SELECT word FROM words")
{
    sqlite3* db = nullptr;
    QStringList rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(
            QFile::encodeName(databasePath).constData(), &db, SQLITE_OPEN_READONLY, nullptr)
            == SQLITE_OK
        && sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK) {
        while (sqlite3_step(statement) == SQLITE_ROW) {
            QStringList columns;
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                columns.append(QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, c)),
                    sqlite3_column_bytes(statement, c)));
            rows.append(columns.join(u'|'));
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}

// Word lists, SCOWL's level lists and WordNet's files in Debian's formats, with invented words:
// apple a noun of level 10 (apples its plural), walk a verb only as walked, colour British and
// Canadian, zorp on the offensive list, blick labelled obscene in its first sense, glim in its
// last sense only (glím its accented spelling, outside SCOWL, so marked for it), mungle labelled
// but kept by the list, quaff outside SCOWL and WordNet; brane a noun only in lower case, flob a
// noun but more used as a verb, slowker an adverb WordNet lists that compares slowk; plonk with
// untagged senses, gronking an untagged act derived from gronk, snell counted by a sense key
// whose number is out of date; frob (and frobs) under sexual activity, brood under reproduction
// below it, frobble kept by the classroom list, skimp glossed as nudity, spleck on that list;
// shtick and café in the pronouncing dictionary (pat, box and lady with vowels espeak-ng does
// not give them), shticks, patted, patting, tumbler, inkier, boxes and ladies forms of its
// words, houseplants, pursuer, querying and gated said by espeak-ng;
// walked, gronk and slowk also adjectives no tagged text uses, walking one used as much as walk,
// flob one of glorp's, wint an irregular participle of walk used once as one; gronkers and flobing
// derived from gronk and flob, snorp also a rare name of an apple, wupe short for car_wupe, zonk
// under line among places and zink a place, klaw an animal's part under body_part; trund also an
// adjective of its own that no tagged text uses; quarn an animal, a thing and a person
// untagged, each headed by another word.
bool writeFactSources(const QTemporaryDir& dir)
{
    const QString noun = QStringLiteral(
        "  1 licence line\n"
        "00000100 13 n 01 apple 0 000 | a fruit; \"an apple a day\"\n"
        "00000200 10 n 01 blick 0 001 ;u 00000900 n 0000 | a fixture curse\n"
        "00000300 10 n 01 glim 0 000 | a light\n"
        "00000310 10 n 01 glim 0 001 ;u 00000900 n 0101 | a fixture insult\n"
        "00000400 10 n 02 mungle 0 mungo 0 001 ;u 00000900 n 0000 | a fixture mess\n"
        "00000900 10 n 02 obscenity 0 vulgarism 0 000 | an offensive word\n"
        "00000600 18 n 01 Brane 0 000 | a fixture biography\n"
        "00000610 06 n 01 brane 0 000 | a fixture thing\n"
        "00000700 06 n 01 flob 0 000 | a fixture noun sense\n"
        "00000800 10 n 01 blort 0 000 | vulgar slang for a fixture\n"
        "00000950 10 n 01 a 0 000 | the fixture letter\n"
        "00000960 10 n 01 ib 0 000 | a fixture instinct\n"
        "00000970 05 n 01 plonk 0 000 | the fur of a plonk\n"
        "00000971 05 n 02 plonk 0 plonk_moth 0 000 | a fixture moth\n"
        "00000972 05 n 01 plonk 0 000 | (fixture) a special sense\n"
        "00000973 05 n 01 plonk 0 000 | a fixture animal\n"
        "00000980 04 n 01 gronking 0 001 + 00000520 v 0101 | the fixture act\n"
        "00000990 06 n 01 snell 0 000 | a fixture line\n"
        "00000991 06 n 01 snell 1 000 | a fixture shoe\n"
        "00001000 04 n 01 sexual_activity 0 000 | a fixture root\n"
        "00001010 04 n 01 frob 0 001 @ 00001000 n 0000 | a fixture act\n"
        "00001020 04 n 01 reproduction 0 001 @ 00001000 n 0000 | the fixture sexual breeding\n"
        "00001030 04 n 01 brood 0 001 @ 00001020 n 0000 | a fixture brood\n"
        "00001040 04 n 01 frobble 0 001 @ 00001000 n 0000 | a fixture kept act\n"
        "00001050 07 n 01 skimp 0 000 | a fixture topless dress\n"
        "00000995 05 n 01 trund 0 000 | the fur of a trund\n"
        "00000974 05 n 01 plonk 0 000 | in fixtures: a sense of the field\n"
        "00001100 13 n 02 apple 0 snorp 0 001 @ 00000100 n 0000 | a fixture apple kind\n"
        "00001110 06 n 01 snorp 0 000 | a fixture thing of its own\n"
        "00001120 18 n 01 wupe 0 000 | a fixture worker\n"
        "00001130 06 n 03 car_wupe 0 wupe 0 wupe_blade 0 001 @ 00000610 n 0000 | a fixture device\n"
        "00001140 04 n 01 flobing 0 000 | a fixture act of its own\n"
        "00001200 15 n 01 line 0 000 | a fixture line\n"
        "00001210 15 n 01 zonk 0 001 @ 00001200 n 0000 | a fixture route\n"
        "00001220 15 n 01 zink 0 000 | a fixture town\n"
        "00001300 08 n 01 body_part 0 000 | a fixture part\n"
        "00001310 05 n 01 klaw 0 001 @ 00001300 n 0000 | a fixture claw\n"
        "00001400 05 n 02 prey 0 quarn 0 000 | a fixture prey\n"
        "00001410 06 n 02 pit 0 quarn 0 000 | a fixture pit\n"
        "00001420 18 n 02 victim 0 quarn 0 000 | a fixture victim\n");
    const QString index
        = QStringLiteral("  1 licence line\n"
                         "apple n 1 0 1 1 00000100\nblick n 1 1 ;u 1 0 00000200\n"
                         "glim n 2 0 2 0 00000300 00000310\nmungle n 1 0 1 0 00000400\n"
                         "brane n 2 0 2 0 00000600 00000610\nflob n 1 0 1 0 00000700\n"
                         "blort n 1 0 1 0 00000800\na n 1 0 1 0 00000950\nib n 1 0 1 0 00000960\n"
                         "plonk n 5 0 5 0 00000970 00000971 00000972 00000974 00000973\n"
                         "gronking n 1 0 1 0 00000980\nsnell n 2 0 2 1 00000990 00000991\n"
                         "frob n 1 0 1 0 00001010\nreproduction n 1 0 1 0 00001020\n"
                         "brood n 1 0 1 0 00001030\nfrobble n 1 0 1 0 00001040\n"
                         "skimp n 1 0 1 0 00001050\ntrund n 1 0 1 0 00000995\n"
                         "snorp n 2 0 2 0 00001100 00001110\nwupe n 2 0 2 0 00001120 00001130\n"
                         "flobing n 1 0 1 0 00001140\nzonk n 1 0 1 0 00001210\n"
                         "zink n 1 0 1 0 00001220\nklaw n 1 0 1 0 00001310\n"
                         "quarn n 3 0 3 0 00001400 00001410 00001420\n");
    QDir(dir.path()).mkpath(QStringLiteral("scowl"));
    QDir(dir.path()).mkpath(QStringLiteral("wordnet"));
    const std::pair<const char*, QString> files[] = {
        { "american.txt",
            "apple\napples\nwalked\ncolor\nzorp\nzorps\nblick\nglim\nmungle\nquaff\ngl\u00edm\nbran"
            "e\n"
            "flob\nflobs\nslowker\nblort\nzorple\na\nib\nplonk\ngronking\nsnell\nfrob\nfrobs\n"
            "reproduction\nbrood\nfrobble\nskimp\nspleck\nshtick\ncaf\u00e9\nhouseplants\npursuer\n"
            "plomness\ntrund\nzorpping\ngronk\nwalking\nslowk\nshticks\nquerying\npat\npatted\n"
            "tumble\ntumbler\ninky\ninkier\npatting\nbox\nboxes\nlady\nladies\ngated\ngronkers\nsno"
            "rp\n"
            "wupe\nflobing\nzonk\nzink\nwint\nklaw\nquarn\n" },
        { "british.txt", "apple\ncolour\n" },
        { "canadian.txt", "colour\ncolor\n" },
        { "offensive.txt", "# fixture\nzorp\n!mungle\n" },
        { "classroom.txt", "# fixture\nspleck\nplom\nzorp\n!frobble\n" },
        { "scowl/english-words.10", "apple\nwalked\n" },
        { "scowl/american-words.35", "color\napples\napple\n" },
        { "scowl/british-words.20", "colour\n" },
        { "scowl/english-words.50", "zorp\nzorps\nblick\nmungle\n" },
        { "scowl/english-words.35", "glim\n" },
        { "scowl/english-abbreviations.35", "IB\n" },
        { "wordnet/index.noun", index },
        { "wordnet/data.noun", noun },
        { "wordnet/index.verb",
            "walk v 1 0 1 3 00000500\nflob v 1 0 1 0 00000510\ngronk v 1 0 1 0 00000520\n"
            "trund v 1 0 1 0 00000530\n" },
        { "wordnet/data.verb",
            "00000500 38 v 01 walk 0 000 00 | go on foot\n"
            "00000510 38 v 01 flob 0 000 00 | a fixture verb sense\n"
            "00000520 38 v 01 gronk 0 000 00 | a fixture verb act\n"
            "00000530 38 v 01 trund 0 000 00 | a fixture move\n" },
        { "wordnet/cntlist.rev",
            "flob%2:38:00:: 1 5\nsnell%1:06:01:: 1 4\nwalk%2:38:00:: 1 3\n"
            "walking%3:00:00:: 1 3\nwint%3:00:00:: 1 1\n" },
        { "wordnet/index.adj",
            "slowk a 1 0 1 0 00000030\nwalked a 1 0 1 0 00000040\ngronk a 1 0 1 0 00000050\n"
            "walking a 1 0 1 1 00000060\nflob a 1 0 1 0 00000070\nwint a 1 0 1 1 00000080\n"
            "trund a 1 0 1 0 00000090\n" },
        { "wordnet/data.adj",
            "00000030 00 a 01 slowk 0 000 | fixture-slow\n"
            "00000040 00 a 01 walked 0 000 | fixture-walked\n"
            "00000050 00 a 01 gronk 0 000 | fixture-gronk\n"
            "00000060 00 a 01 walking 0 000 | fixture-walking\n"
            "00000070 00 a 02 glorp 0 flob 0 000 | fixture-glorp\n"
            "00000080 00 a 01 wint 0 000 | fixture-wint\n"
            "00000090 00 a 01 trund 0 000 | fixture-trund\n" },
        { "wordnet/index.adv", "slowker r 1 0 1 0 00000020\n" },
        { "wordnet/data.adv", "00000020 02 r 01 slowker 0 000 | more fixture-slowly\n" },
        { "wordnet/noun.exc", "" },
        { "wordnet/verb.exc", "wint walk\n" },
        { "wordnet/adj.exc", "" },
        { "wordnet/adv.exc", "" },
        { "cmu.out",
            "MNCL\n(\"apple\" nil (((ae) 1) ((p ax l) 0)))\n(\"apple\" n (((ey) 1)))\n"
            "(\"shtick\" nil (((sh) 0) ((t ih k) 1)))\n(\"cafe\" nil (((k ax) 0) ((f ey) 1)))\n"
            "(\"pat\" nil (((p eh t) 1)))\n(\"tumble\" nil (((t ah m) 1) ((b ax l) 0)))\n"
            "(\"inky\" nil (((ih ng) 1) ((k iy) 0)))\n(\"box\" nil (((b ao k s) 1)))\n"
            "(\"lady\" nil (((l ey) 1) ((d ih) 0)))\n" },
    };
    for (const auto& [name, text] : files)
        if (!writeFile(dir.filePath(QString::fromUtf8(name)), text.toUtf8()))
            return false;
    return true;
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

    ToolRun factsRun;

    // The fact sources built once for the tests that read their database.
    const QTemporaryDir& factsBuilt()
    {
        static QTemporaryDir dir;
        if (factsRun.exitCode < 0 && writeFactSources(dir))
            factsRun = runTool(dir.filePath("american.txt"), dir.filePath("facts.mdb"),
                { "--british", dir.filePath("british.txt"), "--canadian",
                    dir.filePath("canadian.txt"), "--scowl", dir.filePath("scowl"), "--wordnet",
                    dir.filePath("wordnet"), "--offensive", dir.filePath("offensive.txt"),
                    "--classroom", dir.filePath("classroom.txt"), "--cmu", dir.filePath("cmu.out"),
                    "--espeak", "espeak-ng" });
        return dir;
    }

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
        // Ready facts (.tsv, read with --ready-facts) whose line is not as the language tool
        // writes it.
        QTest::newRow("ready facts: empty word") << "empty.tsv"
                                                 << "dbWords.mdb";
        QTest::newRow("ready facts: a word twice") << "twice.tsv"
                                                   << "dbWords.mdb";
        QTest::newRow("ready facts: a fact out of range") << "range.tsv"
                                                          << "dbWords.mdb";
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
        QVERIFY(writeFile(dir.filePath("empty.tsv"), "Haus\t10\t1\t0\t1\thouse\n\t0\t0\t0\t1\t\n"));
        QVERIFY(writeFile(dir.filePath("twice.tsv"), "Haus\t10\t1\t0\t1\t\nHaus\t0\t0\t0\t1\t\n"));
        QVERIFY(writeFile(dir.filePath("range.tsv"), "Haus\t10\t1\t0\t256\t\n"));
        QCOMPARE(runTool(dir.filePath("old.txt"), dir.filePath("dbWords.mdb")).exitCode, 0);
        const QByteArray before = fileBytes(dir.filePath("dbWords.mdb"));

        const ToolRun run = runTool(dir.filePath(input), dir.filePath(output),
            input.endsWith(".tsv") ? QStringList { "--ready-facts" } : QStringList());
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

        // The British and Canadian lists add their own words after the configured list's.
        const QStringList shipped = readWords(TESSAVINE_WORD_DATABASE);
        const QStringList fresh = readWords(dir.filePath("fresh.mdb"));
        QVERIFY2(!shipped.isEmpty(), TESSAVINE_WORD_DATABASE);
        QCOMPARE(shipped.mid(0, fresh.size()), fresh);
    }

    void factsComeFromTheListsScowlAndWordNet_data()
    {
        QTest::addColumn<QString>("word");
        // level|kinds|spellings|marks|definition, as the tables hold them (marks: offensive 1,
        // not for a class 2).
        QTest::addColumn<QString>("facts");
        QTest::newRow("lemma") << "apple"
                               << "10|1|3|0|a fruit";
        QTest::newRow("plural") << "apples"
                                << "35|0|1|0|apple: a fruit";
        QTest::newRow("past tense") << "walked"
                                    << "10|0|1|0|walk: go on foot";
        QTest::newRow("American and Canadian") << "color"
                                               << "35|0|5|0|";
        QTest::newRow("British list only") << "colour"
                                           << "20|0|6|0|";
        QTest::newRow("on the list") << "zorp"
                                     << "50|0|1|1|";
        QTest::newRow("plural of a listed word") << "zorps"
                                                 << "50|0|1|1|";
        QTest::newRow("doubled consonant of a listed word") << "zorpping"
                                                            << "|0|1|1|";
        QTest::newRow("labelled first sense") << "blick"
                                              << "50|1|1|1|a fixture curse";
        QTest::newRow("labelled rare sense of a common word") << "glim"
                                                              << "35|1|1|0|a light";
        QTest::newRow("kept by the list") << "mungle"
                                          << "50|1|1|0|a fixture mess";
        QTest::newRow("outside both") << "quaff"
                                      << "|0|1|0|";
        QTest::newRow("accented, as WordNet spells it unaccented") << "gl\u00edm"
                                                                   << "|1|1|1|a light";
        QTest::newRow("capitalised sense skipped") << "brane"
                                                   << "|1|1|0|a fixture thing";
        QTest::newRow("sense counts decide, a definition per kind")
            << "flob"
            << "|3|1|0|a fixture verb sense / 2=a fixture verb sense / 1=a fixture noun sense";
        QTest::newRow("inflection of the most used kind") << "flobs"
                                                          << "|0|1|0|flob: a fixture verb sense";
        QTest::newRow("comparative") << "slowker"
                                     << "|0|1|0|slowk: fixture-slow";
        QTest::newRow("vulgar gloss") << "blort"
                                      << "|1|1|1|vulgar slang for a fixture";
        QTest::newRow("letters of a listed word") << "zorple"
                                                  << "|0|1|0|";
        QTest::newRow("single letter") << "a"
                                       << "|0|1|0|the fixture letter";
        QTest::newRow("abbreviation") << "ib"
                                      << "|0|1|0|a fixture instinct";
        // Senses no tagged text uses: one defined by another sense, short for a compound or of
        // a special field ranks last.
        QTest::newRow("untagged senses") << "plonk"
                                         << "|1|1|0|a fixture animal";
        QTest::newRow("untagged act in -ing") << "gronking"
                                              << "|1|1|0|gronk: a fixture verb act";
        QTest::newRow("more common synonym, the other sense")
            << "snorp"
            << "|1|1|0|a fixture thing of its own";
        QTest::newRow("short for its first compound") << "wupe"
                                                      << "|1|1|0|a fixture device";
        QTest::newRow("untagged act, the verb's used sense") << "flobing"
                                                             << "|1|1|0|flob: a fixture verb sense";
        QTest::newRow("derived from a lemma") << "gronkers"
                                              << "|0|1|0|gronk: a fixture verb act";
        QTest::newRow("irregular participle used once") << "wint"
                                                        << "|0|1|0|walk: go on foot";
        QTest::newRow("untagged adjective of a verb") << "gronk"
                                                      << "|2|1|0|a fixture verb act";
        QTest::newRow("participle used as much as an adjective") << "walking"
                                                                 << "|4|1|0|fixture-walking";
        QTest::newRow("untagged adjective of its own") << "slowk"
                                                       << "|4|1|0|fixture-slow";
        QTest::newRow("count by sense key, not number") << "snell"
                                                        << "|1|1|0|a fixture shoe";
        QTest::newRow("under a classroom root") << "frob"
                                                << "|1|1|2|a fixture act";
        QTest::newRow("inflection under a classroom root") << "frobs"
                                                           << "|0|1|2|frob: a fixture act";
        QTest::newRow("reproduction stops the root") << "reproduction"
                                                     << "|1|1|0|the fixture sexual breeding";
        QTest::newRow("under reproduction") << "brood"
                                            << "|1|1|0|a fixture brood";
        QTest::newRow("kept by the classroom list") << "frobble"
                                                    << "|1|1|0|a fixture kept act";
        QTest::newRow("classroom gloss") << "skimp"
                                         << "|1|1|2|a fixture topless dress";
        QTest::newRow("on the classroom list") << "spleck"
                                               << "|0|1|2|";
        QTest::newRow("derived from a listed word of four letters") << "plomness"
                                                                    << "|0|1|2|";
        // Two parts used alike: the sense that reads least as secondary, whatever the part.
        QTest::newRow("parts used alike") << "trund"
                                          << "|7|1|0|a fixture move / 1=the fur of a trund / 2=a "
                                             "fixture move / 4=fixture-trund";
    }

    void factsComeFromTheListsScowlAndWordNet()
    {
        QFETCH(QString, word);
        QFETCH(QString, facts);
        const QTemporaryDir& dir = factsBuilt();
        QVERIFY2(factsRun.exitCode == 0, qPrintable(factsRun.err));
        const ToolRun& run = factsRun;
        QCOMPARE(summaryCount(run.out, "words not in the lists before"), 1);
        QCOMPARE(summaryCount(run.out, "offensive"), 6);
        QCOMPARE(summaryCount(run.out, "not for a class"), 5);
        const QStringList rows = readWords(dir.filePath("facts.mdb"),
            "SELECT w.word, level, kinds, spellings, offensive + 2 * classroom, definition || "
            "coalesce(' / ' || "
            "(SELECT group_concat(kind || '=' || definition, ' / ') FROM (SELECT * FROM "
            "kind_definitions k WHERE k.word = w.word ORDER BY rank)), '') FROM words w "
            "LEFT JOIN definitions USING (word)");
        const auto row = std::find_if(
            rows.begin(), rows.end(), [&](const QString& r) { return r.startsWith(word + u'|'); });
        QVERIFY2(row != rows.end(), qPrintable(word));
        QCOMPARE(row->mid(word.size() + 1), facts);
    }

    void topicsAndSoundsComeFromWordNetAndCmu_data()
    {
        QTest::addColumn<QString>("word");
        // topic|syllables|rhyme ending, the topic the lexicographer file + 1, and "key" where
        // table rhyme_keys holds the word.
        QTest::addColumn<QString>("facts");
        QTest::newRow("dictionary word, its first pronunciation") << "apple"
                                                                  << "14|2|ae p ah l key";
        QTest::newRow("plural: the base's topic and syllables") << "apples"
                                                                << "14|2|ae p ah l z key";
        QTest::newRow("silent -ed") << "walked"
                                    << "39|1|ao k t key";
        QTest::newRow("the sense its definition comes from") << "flob"
                                                             << "39|1|aa b key";
        QTest::newRow("the lower-case sense") << "brane"
                                              << "7|1|ey n key";
        QTest::newRow("no definition, no topic") << "quaff"
                                                 << "0|1|aa f key";
        QTest::newRow("a place") << "zink"
                                 << "16|1|ih ng k key";
        QTest::newRow("an animal's part, the body's topic") << "klaw"
                                                            << "9|1|ao key";
        QTest::newRow("a line among places, no topic") << "zonk"
                                                       << "0|1|ao ng k key";
        QTest::newRow("senses as used of three topics, another word heading each, none")
            << "quarn"
            << "0|1|aa r n key";
        QTest::newRow("an adjective's sense, no topic") << "slowker"
                                                        << "0|2|ow k er key";
        QTest::newRow("a syllable without a vowel is none") << "shtick"
                                                            << "0|1|ih k key";
        QTest::newRow("accented, keyed as spelt") << "caf\u00e9"
                                                  << "0|2|ey key";
        // Where the dictionary is silent, as espeak-ng says it: no silent e inside a compound,
        // vowels that meet sounded apart, the vowel of near one before its r; rhymes as said.
        QTest::newRow("espeak-ng, a compound") << "houseplants"
                                               << "0|2|aw s p l ah n t s key";
        QTest::newRow("espeak-ng, vowels apart") << "pursuer"
                                                 << "0|3|uw er key";
        QTest::newRow("espeak-ng, near before r") << "querying"
                                                  << "0|3|ih r iy ih ng key";
        // A form of a dictionary word sounds as the word and its ending, though espeak-ng spells
        // it out or stresses it otherwise.
        QTest::newRow("a form of a dictionary word") << "shticks"
                                                     << "0|1|ih k s key";
        QTest::newRow("-ed after t, a doubled consonant") << "patted"
                                                          << "0|2|eh t ah d key";
        QTest::newRow("-er after -le") << "tumbler"
                                       << "0|2|ah m b l er key";
        QTest::newRow("-ier after y") << "inkier"
                                      << "0|3|ih ng k iy er key";
        QTest::newRow("-ing, a doubled consonant") << "patting"
                                                   << "0|2|eh t ih ng key";
        QTest::newRow("-es after a hiss") << "boxes"
                                          << "0|2|ao k s ah z key";
        QTest::newRow("-ies after y") << "ladies"
                                      << "0|2|ey d ih z key";
        QTest::newRow("espeak-ng, a flap of the stem's t") << "gated"
                                                           << "0|2|ey t ah d key";
    }

    void topicsAndSoundsComeFromWordNetAndCmu()
    {
        QFETCH(QString, word);
        QFETCH(QString, facts);
        const QTemporaryDir& dir = factsBuilt();
        QVERIFY2(factsRun.exitCode == 0, qPrintable(factsRun.err));
        QCOMPARE(readWords(dir.filePath("facts.mdb"),
                     qPrintable("SELECT topic, syllables, coalesce(sounds, '') || iif(word IN "
                                "(SELECT word FROM rhyme_keys), ' key', '') FROM words LEFT "
                                "JOIN rhyme_endings USING (rhyme) WHERE word = '"
                         + word + "'")),
            QStringList { facts });
    }

    // A language's sources in their formats: Haus a noun at rank 1 with two translations, Abend at
    // rank 2,001, Abendrot at 10,001, laufen a verb and Kater a noun of the dictionary outside the
    // ranks, Thomas a listed name, Bonn a capitalised stem the dictionary calls no noun, ABC an
    // abbreviation, Häusern a form in neither stems nor ranks, Hauses and Karin ranked forms of a
    // noun and of none; Bodensee translated by names (one WordNet holds, though a word of it is a
    // common noun, one it lacks; an entry without one), Montag by a synset's second lemma,
    // Christine no form of the feminine Christin, Frauen and Termine forms of Frau and Termin,
    // Hausa no form of Haus; a WordNet header line parses as a synset; the patterns break ha-ba,
    // lau-fen, Ka-ter, Hau-s, whose s holds no vowel, and the-a-ter; the words of the syllable rows
    // are stems. The dictionary is read uncompressed as zlib reads plain files.
    void languageToolDecidesWordsAndFacts_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("facts");
        // Kinds from po: fields, noun or adjective told by the analyser, as French has them.
        QTest::addColumn<bool>("tagged");
        QTest::newRow("first rank, a vowel-less piece joined, the shortest translation")
            << "Haus"
            << "10|1|0|0|1|house" << false;
        QTest::newRow("rank 2,000, the first tier's last") << "abendlich"
                                                           << "10|0|0|0|3|" << false;
        QTest::newRow("rank past the first tier") << "Abend"
                                                  << "20|1|0|0|2|evening" << false;
        QTest::newRow("rank past the everyday tier") << "Abendrot"
                                                     << "35|1|0|0|3|sunset" << false;
        QTest::newRow("verb, numbering and pronunciation cut") << "laufen"
                                                               << "|2|0|0|2|run, go" << false;
        QTest::newRow("capitalised noun by the dictionary, no rank") << "Kater"
                                                                     << "|1|0|0|2|tomcat" << false;
        QTest::newRow("offensive whatever the case, syllables by the patterns")
            << "haba"
            << "|0|1|0|2|" << false;
        QTest::newRow("classroom, a vowel the patterns leave unbroken") << "popel"
                                                                        << "|0|0|1|2|" << false;
        QTest::newRow("capitalised, neither noun nor ranked") << "Bonn"
                                                              << "" << false;
        QTest::newRow("frequent case form of a noun") << "Hauses"
                                                      << "35|0|0|0|2|" << false;
        QTest::newRow("frequent capitalised form of no noun") << "Karin"
                                                              << "" << false;
        QTest::newRow("name") << "Thomas"
                              << "" << false;
        QTest::newRow("abbreviation") << "ABC"
                                      << "" << false;
        QTest::newRow("rare form") << "H\u00e4usern"
                                   << "" << false;
        QTest::newRow("noun translated by names alone") << "Bodensee"
                                                        << "" << false;
        QTest::newRow("form of such a noun") << "Bodensees"
                                             << "" << false;
        QTest::newRow("noun translated by a common noun of WordNet") << "Montag"
                                                                     << "|1|0|0|2|Mon Day" << false;
        QTest::newRow("form of a feminine noun") << "Frauen"
                                                 << "35|0|0|0|1|" << false;
        QTest::newRow("form of a masculine noun in -in") << "Termine"
                                                         << "35|0|0|0|3|" << false;
        QTest::newRow("noun and a letter no ending makes") << "Hausa"
                                                           << "" << false;
        QTest::newRow("feminine -in with an ending but -nen") << "Christine"
                                                              << "" << false;
        QTest::newRow("adjective the dictionary tags as an adverb too") << "schnell"
                                                                        << "|4|0|0|1|fast" << false;
        QTest::newRow("noun and adjective, a noun by the analyser") << "musicien"
                                                                    << "|1|0|0|3|" << true;
        QTest::newRow("noun and adjective the analyser does not know") << "amoureux"
                                                                       << "|5|0|0|3|" << true;
        // Rows of several words give their syllables alone. German: the-a-ter broken at an odd
        // value, euch not at an even one, schrieb's ie one vowel outside French. Spanish: two
        // strong vowels apart, not a weak one. French: qu holds no vowel (communiquent, musique;
        // argument's gu does); ent is mute after a consonant, not in ment (moment) nor after a
        // vowel (client); i or u after a consonant and l or r opens a vowel (client), not after a
        // vowel (orient) nor at the start (rien); so do é, a diaeresis and a vowel after a
        // vowel and y (ayant), not after a consonant and y (myope) nor inside a group (oui); a
        // final e or es is mute, another vowel not (ami); an e between single consonants is
        // unspoken (pureté), at the start (avenu), after a double consonant, a digraph or a
        // nasal vowel (enlever), not after two consonants (fortement).
        QTest::newRow("de: syllables") << "theater euch schrieb"
                                       << "3 1 1" << false;
        QTest::newRow("es: syllables") << "rodeo bien"
                                       << "3 1" << false;
        QTest::newRow("fr: syllables")
            << "communiquent musique argument moment client orient rien r\u00e9union na\u00efve "
               "pay\u00e9es ayant myope oui ami puret\u00e9 avenu tellement acheter changement "
               "enlever fortement"
            << "3 2 3 2 2 2 1 3 2 2 2 1 1 2 2 2 2 2 2 2 3" << false;
    }

    void languageToolDecidesWordsAndFacts()
    {
        // A row whose name starts with a code ("fr: ") runs the tool for that language.
        const QString tag = QString::fromUtf8(QTest::currentDataTag());
        const QString language = tag.indexOf(QLatin1String(": ")) == 2 ? tag.left(2) : "de";
        QFETCH(QString, word);
        QFETCH(QString, facts);
        QFETCH(bool, tagged);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString ranks = QStringLiteral("Haus\n");
        for (int i = 2; i <= 10001; ++i)
            ranks += i == 2000 ? QStringLiteral("abendlich\n")
                : i == 2001    ? QStringLiteral("abend\n")
                : i == 10001   ? QStringLiteral("Abendrot\n")
                               : QStringLiteral("x%1\n").arg(i);
        const QStringList several = word.split(u' ');
        const QString syllableRows = several.size() > 1 ? several.join(u'\n') + u'\n' : QString();
        const std::pair<const char*, QString> files[] = {
            { "words.txt",
                "Haus\nAbend\nAbendrot\nlaufen\nhaba\npopel\nThomas\nABC\nH\u00e4usern\nBonn\nKater"
                "\nHauses\nKarin\nBodensee\nBodensees\nMontag\nChristine\nFrauen\nTermine\nHausa\ns"
                "chnell\nmusicien"
                "\namoureux"
                "\nabendlich\n"
                    + syllableRows },
            { "stems.dic",
                "9\nlaufen/A\nhaba\npopel\nABC\nThomas\nBonn\nKater\nMontag\nschnell\n"
                    + syllableRows },
            { "ranks.txt",
                ranks + "thomas\nhauses\nkarin\nbodensees\nchristine\nfrauen\ntermine\nhausa\n" },
            { "data.noun",
                "  1 01 Lake_Constance 0 header\n"
                "09331328 17 n 01 Lake_Constance 0 001 @i 09328904 n 0000 | a lake\n"
                "09328904 17 n 02 lake 0 loch 0 001 @ 09225146 n 0000 | a body of water\n"
                "15163979 28 n 02 Monday 0 Mon 0 001 @ 15163157 n 0000 | a day\n"
                "09678009 18 n 01 Christian 0 001 @ 09677952 n 0000 | a believer\n" },
            { "names.txt", "thomas\n" },
            { "patterns.dic", "UTF-8\nLEFTHYPHENMIN 1\na1b\nu1s\nu1f\nd1r\na1t\ne3a\r\ne2u\n" },
            { "offensive.txt", "# fixture\nHaba\n" },
            { "classroom.txt", "popel\n" },
            { "tagged.dic", "2\nmusicien po:nom po:adj\namoureux/X po:adj po:nom\n" },
            { "analysis.txt", "^musicien/musicien<n><m><sg>$\n^amoureux/*amoureux$\n" },
        };
        for (const auto& [name, text] : files)
            QVERIFY(writeFile(dir.filePath(QString::fromUtf8(name)), text.toUtf8()));
        QByteArray dictionary, index;
        for (const char* entry : { "Haus /ha\u028as/ <n, neut>\nestablishment, institution\n",
                 "Haus <n>\n[arch.] house <n>\n", "laufen <v, intr>\n1. run (/r\u028cn/), go\n",
                 "Kater <n, masc>\ntomcat\n", "Abend <n>\nevening\n", "Abendrot <n>\nsunset\n",
                 "Bonn\nformer capital\n", "Bodensee <n>\nLake Constance, Sea of Swabia\n",
                 "Bodensee <n>\n\n", "Montag <n>\nMon Day\n", "Termin <masc, n>\nappointment\n",
                 "Frau <fem, n>\nwoman\n", "Christin <fem, n>\nChristian\n",
                 "schnell <adj, adv>\nfast\n" }) {
            // dictd's index: headword, offset and length in its base-64 digits.
            const auto digits = [](qsizetype n) {
                QByteArray text;
                do
                    text.prepend(
                        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"[n % 64]);
                while (n /= 64);
                return text;
            };
            const QByteArray bytes(entry);
            index += bytes.split('\n').first().split(' ').first().toLower() + '\t'
                + digits(dictionary.size()) + '\t' + digits(bytes.size()) + '\n';
            dictionary += bytes + '\n';
        }
        QVERIFY(writeFile(dir.filePath("fd.index"), index));
        QVERIFY(writeFile(dir.filePath("fd.dict.dz"), dictionary));
        QStringList arguments { "--language", language, "--name", "German", "--native", "Deutsch",
            "--vowels", "aeiouy\u00e4\u00f6\u00fc\u00e9\u00ef", "--words",
            dir.filePath("words.txt"), "--stems", dir.filePath("stems.dic"), "--frequency",
            dir.filePath("ranks.txt"), "--names", dir.filePath("names.txt"), "--hyphen",
            dir.filePath("patterns.dic"), "--offensive", dir.filePath("offensive.txt"),
            "--classroom", dir.filePath("classroom.txt"), "--freedict", dir.filePath("fd"),
            "--wordnet", dir.filePath("data.noun"), "--capital-nouns", dir.filePath("facts.tsv") };
        if (tagged) // the later --stems is the one read
            arguments << "--stems" << dir.filePath("tagged.dic") << "--analysis"
                      << dir.filePath("analysis.txt");
        QProcess process;
        process.start(QStringLiteral(TESSAVINE_LANGUAGE_TOOL), arguments);
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
        const ToolRun run
            = runTool(dir.filePath("facts.tsv"), dir.filePath("de.mdb"), { "--ready-facts" });
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        if (several.size() > 1) {
            QStringList syllables;
            for (const QString& each : several)
                syllables += readWords(dir.filePath("de.mdb"),
                    qPrintable("SELECT syllables FROM words WHERE word = '" + each + "'"));
            QCOMPARE(syllables.join(u' '), facts);
            facts.clear(); // no word has the row's name
        }
        QCOMPARE(readWords(dir.filePath("de.mdb"),
                     qPrintable("SELECT level, kinds, offensive, classroom, syllables, "
                                "coalesce(definition, '') FROM words LEFT JOIN definitions "
                                "USING (word) WHERE word = '"
                         + word + "'")),
            facts.isEmpty() ? QStringList() : QStringList { facts });
        QCOMPARE(readWords(dir.filePath("de.mdb"),
                     "SELECT value FROM about WHERE key IN ('language', 'facts', 'vowels') ORDER "
                     "BY key"),
            QStringList({ "level,kinds,syllables,offensive,classroom,definitions", language,
                "aeiouy\u00e4\u00f6\u00fc\u00e9\u00ef" }));
    }
};

QTEST_GUILESS_MAIN(TestWordDatabaseTool)
#include "tst_wordDatabaseTool.moc"
