#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

// tessavine-cli end to end: the real executable on a small word list in a temporary folder.
// Arguments are given as one text split at blanks, "%d" standing for the folder.
class CommandLineTest : public QObject
{
    Q_OBJECT

    struct Run
    {
        int status = -1;
        QString out;
        QString err;
    };
    QTemporaryDir m_dir;

    QString expand(QString text) const { return text.replace("%d", m_dir.path()); }
    // A shell line, which also says what plain arguments cannot: bytes that are not UTF-8, closed
    // descriptors. $CLI is the program, $D the folder; standard output is kept as bytes too. A
    // run that does not end within seconds counts as failed with status -1.
    std::pair<Run, QByteArray> shell(const QString& script) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("CLI", TESSAVINE_CLI);
        environment.insert("D", m_dir.path());
        // Runs that must do without O_TMPFILE preload its refusal, past ASan's check of the order.
        environment.insert("NOTMPFILE",
            "env LD_PRELOAD=" TESSAVINE_NO_TMPFILE " ASAN_OPTIONS="
                + environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        process.setProcessEnvironment(environment);
        process.start("/bin/sh", { "-c", script });
        if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit) {
            process.kill();
            process.waitForFinished();
            return {};
        }
        const QByteArray out = process.readAllStandardOutput();
        return { { process.exitCode(), QString::fromUtf8(out),
                     QString::fromUtf8(process.readAllStandardError()) },
            out };
    }
    Run run(const QString& arguments) const { return shell("\"$CLI\" " + expand(arguments)).first; }

    // Enough draws that every matching word turns up: the lines are exactly the expected words,
    // each once when the run is unique.
    void drawsExactly(const QString& arguments, const QStringList& words, bool unique = false) const
    {
        const Run r = run(arguments);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.endsWith('\n'));
        const QStringList lines = r.out.chopped(1).split('\n');
        QCOMPARE(
            QSet<QString>(lines.begin(), lines.end()), QSet<QString>(words.begin(), words.end()));
        if (unique)
            QCOMPARE(lines.size(), words.size());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A blank line and a Windows line end among the words, both to be ignored.
        const std::pair<const char*, QByteArray> files[]
            = { { "list.txt",
                    "apple\nBanana\ncherry\r\ndate\n\negg\nfig\nkiwi\nsky\nstrawberry\néclair\n" },
                  { "empty.txt", "\n\r\n" }, { "latin1.txt", "caf\xe9\n" },
                  { "out/words.txt", "kept\n" }, { "binary.txt", QByteArray("ab\0c\n", 5) },
                  { "long.txt", QByteArray(5000, 'a') },
                  { "duplicates.txt", "pear\nPear\npear\nfig\n" },
                  { "emoji.txt", "\U0001F600apple\nbread\n" }, { "sig/out.txt", "old\n" },
                  { "ex.txt", "apple\nbanana\nFig\n" }, { "my words.txt", "fig\n" },
                  { "sharp.txt", "straße\nstrand\n" }, { "aa.txt", "a\naa\nab\n" },
                  { "ab.txt", "a\nab\nb\nbb\nbbb\n" }, { "dotless.txt", "ix\n\u0131x\nab\n" } };
        QVERIFY(QDir(m_dir.path()).mkpath("out") && QDir(m_dir.path()).mkpath("sig"));
        for (const auto& [name, bytes] : files) {
            QFile file(m_dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        // A name that is not UTF-8, made from its bytes.
        const QByteArray odd = QFile::encodeName(m_dir.path()) + "/list\xfe.txt";
        const int fd = ::open(odd.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0 && ::write(fd, "kiwi\n", 5) == 5 && ::close(fd) == 0);
        // A database in WAL mode in a folder its reader cannot write.
        sqlite3* db = nullptr;
        QVERIFY(QDir(m_dir.path()).mkpath("ro"));
        QCOMPARE(sqlite3_open(QFile::encodeName(m_dir.filePath("ro/wal.db")), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db,
                     "pragma journal_mode=wal; create table words(word text);"
                     "insert into words values('pear'), ('fig');",
                     nullptr, nullptr, nullptr),
            SQLITE_OK);
        // A copy taken while its last commit is still in its -wal file.
        QVERIFY(QFile::copy(m_dir.filePath("ro/wal.db"), m_dir.filePath("ro/last.db"))
            && QFile::copy(m_dir.filePath("ro/wal.db-wal"), m_dir.filePath("ro/last.db-wal")));
        QCOMPARE(sqlite3_close(db), SQLITE_OK);
        // Definitions with control characters, two words that proper case makes alike, a word with
        // a carriage return and a backslash, and zap, whose definition cannot be looked up.
        QCOMPARE(sqlite3_open(QFile::encodeName(m_dir.filePath("ctl.mdb")), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db,
                     "create table words (word, level, kinds, spellings, offensive); create "
                     "table glosses (word, definition); insert into words values ('bell', 10, "
                     "1, 1, 0), ('polish', 10, 2, 1, 0), ('Polish', 10, 4, 1, 0), ('zap', 10, 1, "
                     "1, 0), ('r\\o' || char(13) || 'w', 10, 1, 1, 0); insert into glosses values "
                     "('bell', 'a ring' || char(10, 27) || ']0;x' || char(7)), ('polish', "
                     "'shine'), ('Polish', 'of Poland'), ('zap', ''), ('r\\o' || char(13) || 'w', "
                     "'a\\n' || char(10, 127, 155)); create view definitions as select word, "
                     "iif(word = 'zap', json('x'), definition) as definition from glosses;",
                     nullptr, nullptr, nullptr),
            SQLITE_OK);
        QCOMPARE(sqlite3_close(db), SQLITE_OK);
        // Another language: its about table, nouns with their capital, no national spelling,
        // English translations.
        QCOMPARE(sqlite3_open(QFile::encodeName(m_dir.filePath("de.mdb")), &db), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db,
                     "create table words (word, level, kinds, spellings, offensive, topic, "
                     "syllables, rhyme); create table definitions (word, definition); create table "
                     "about (key, value); insert into words values ('Haus', 10, 1, 0, 0, 0, 1, 0), "
                     "('Äpfel', 35, 0, 0, 0, 0, 2, 0), ('groß', 10, 4, 0, 0, 0, 1, 0), ('Übung', "
                     "20, 1, 0, 0, 0, 2, 0), ('Straße', 10, 1, 0, 0, 0, 2, 0); insert into "
                     "definitions values ('Haus', 'house'); insert into about values ('language', "
                     "'de'), ('name', 'German'), ('facts', 'level,kinds,syllables,offensive,"
                     "definitions'), ('definitions', 'translation'), ('vowels', 'aeiouyäöü');",
                     nullptr, nullptr, nullptr),
            SQLITE_OK);
        QCOMPARE(sqlite3_close(db), SQLITE_OK);
        QVERIFY(QFile::setPermissions(m_dir.filePath("ro"),
            QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        QCOMPARE(::chmod(QFile::encodeName(m_dir.path()), 0755), 0);
        // A database with facts, built by the word-list tool from invented sources in Debian's
        // formats: ant, bee and walk everyday, ants and crow common, quaff outside SCOWL, colour
        // British only, honour Canadian only, zorp offensive, glim not for a class; nouns ant, bee
        // and crow, verbs crow and walk.
        const std::pair<const char*, QByteArray> sources[]
            = { { "f/us", "ant\nants\nbee\ncrow\nwalk\nzorp\nquaff\nglim\n" },
                  { "f/gb", "ant\ncolour\n" }, { "f/ca", "honour\n" }, { "f/bad", "zorp\n" },
                  { "f/class", "glim\n" }, { "f/scowl/english-words.10", "ant\nbee\nwalk\n" },
                  { "f/scowl/english-words.35", "ants\ncrow\ncolour\nzorp\n" },
                  { "f/wn/index.noun",
                      "ant n 1 0 1 1 00000100\nbee n 1 0 1 1 00000200\ncrow n 1 0 1 2 00000300\n" },
                  { "f/wn/data.noun",
                      "00000100 05 n 01 ant 0 000 | a small insect\n"
                      "00000200 05 n 01 bee 0 000 | a flying insect\n"
                      "00000300 05 n 01 crow 0 000 | a black bird\n" },
                  { "f/wn/index.verb", "crow v 1 0 1 0 00000400\nwalk v 1 0 1 1 00000500\n" },
                  // Festival's CMU lexicon: pant rhymes with ant; beehive is no word of the list.
                  { "f/cmu",
                      "MNCL\n(\"ant\" nil (((ae n t) 1)))\n(\"pant\" nil (((p ae n t) 1)))\n"
                      "(\"beehive\" nil (((b iy) 1) ((hh ay v) 1)))\n" },
                  { "f/wn/data.verb",
                      "00000400 32 v 01 crow 0 000 00 | boast\n"
                      "00000500 38 v 01 walk 0 000 00 | go on foot\n" } };
        QVERIFY(QDir(m_dir.path()).mkpath("f/scowl") && QDir(m_dir.path()).mkpath("f/wn"));
        for (const char* empty : { "index.adj", "data.adj", "index.adv", "data.adv", "noun.exc",
                 "verb.exc", "adj.exc", "adv.exc", "cntlist.rev" }) {
            QFile file(m_dir.filePath(QStringLiteral("f/wn/") + empty));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        for (const auto& [name, bytes] : sources) {
            QFile file(m_dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        QProcess tool;
        tool.start(TESSAVINE_WORD_TOOL,
            expand("--british %d/f/gb --canadian %d/f/ca --scowl %d/f/scowl --wordnet %d/f/wn "
                   "--offensive %d/f/bad --classroom %d/f/class --cmu %d/f/cmu "
                   "%d/f/us %d/facts.mdb")
                .split(' '));
        QVERIFY(tool.waitForFinished(10000) && tool.exitCode() == 0);
    }

    void factRules_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& arguments, const QString& expected) {
            QTest::newRow(name) << arguments << expected;
        };
        row("defaults: American, not offensive", "", "ant,ants,bee,crow,walk,quaff");
        row("offensive, and so every mark", "--offensive",
            "ant,ants,bee,crow,walk,zorp,quaff,glim");
        row("mature, offensive still out", "--mature", "ant,ants,bee,crow,walk,quaff,glim");
        row("everyday", "--level everyday", "ant,bee,walk");
        row("common", "--level common", "ant,ants,bee,crow,walk");
        row("any level", "--level any", "ant,ants,bee,crow,walk,quaff");
        row("nouns, no plurals", "--kind noun", "ant,bee,crow");
        row("verbs", "--kind verb", "crow,walk");
        row("kinds given twice, any of them", "--kind verb --kind noun", "ant,bee,crow,walk");
        row("British", "--spelling gb", "ant,colour");
        row("Canadian", "--spelling ca", "honour");
        row("any spelling", "--spelling any", "ant,ants,bee,colour,crow,honour,walk,quaff");
        row("count", "--kind noun --level everyday --count-matches", "2");
        row("define", "--define --start a", "ant\ta small insect,ants\tant: a small insect");
        row("define, none known", "--define --start q", "quaff\t");
        row("define, main sense", "--define --start c --proper", "Crow\ta black bird");
        row("define, the kind asked for", "--define --start c --kind verb", "crow\tboast");
        row("topic, of the main sense or the base's", "--topic animal", "ant,ants,bee,crow");
        row("topics given twice, any of them", "--topic moving --topic animal",
            "ant,ants,bee,crow,walk");
        row("syllables, estimated where unknown", "--syllables 1-2",
            "ant,ants,bee,crow,walk,quaff");
        row("rhymes with a word outside the list", "--rhymes-with PANT", "ant");
        row("another language: no national spelling asked", "--database %d/de.mdb --min 5",
            "Äpfel,Übung,Straße");
        row("its own vowels, in any case", "--database %d/de.mdb --letter 1:vowel", "Äpfel,Übung");
        row("its consonants", "--database %d/de.mdb --letter 2:consonant --kind noun",
            "Übung,Straße");
        row("a translation, named so", "--database %d/de.mdb --define --start h",
            "Haus\ttranslation: house");
        row("syllables, one count", "--syllables 2 --spelling any", "colour,honour");
    }

    // The rules on word facts through the real database loading, every matching word drawn.

    void factRules()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, expected);
        drawsExactly(QString(arguments.contains("--database") ? "" : "--database %d/facts.mdb ")
                + "--seed 1 -n 200 " + arguments,
            expected.split(','));
    }

    void entropy_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("err");
        const QString seeded = "; seeded, so no secret\n";
        // Six words match by default, three of them everyday.
        QTest::newRow("repeated words")
            << "-n 4 --seed 7"
            << "10.34 bits of entropy: 4 words, each one of 6 (2.58 bits a word)" + seeded;
        QTest::newRow("different words") << "-n 3 --unique --seed 7"
                                         << "6.91 bits of entropy: 3 different words of 6" + seeded;
        QTest::newRow("passphrase") << "--passphrase -n 3 --seed 7"
                                    << "2.58 bits of entropy: 3 different words of 3" + seeded;
        // Pear three times in four once in proper case: one output, not three.
        QTest::newRow("texts made alike")
            << "--words %d/duplicates.txt --proper -n 2 --seed 7"
            << "1.62 bits of entropy: 2 words, each one of 2 (0.81 bits a word)" + seeded;
        // An object tells its row's facts, which two rows of one word may not share.
        QTest::newRow("JSON of words listed twice")
            << "--words %d/duplicates.txt --json -n 1 --seed 7"
            << "at least 1.50 bits of entropy: 1 word, each one of 3 (1.50 bits a word)" + seeded;
        // Of ant, bee and walk, only ant and bee fit in 7 characters with the blank between.
        QTest::newRow("length limit")
            << "--passphrase -n 2 --max-length 7 --seed 7"
            << "1.00 bits of entropy: 1.00 bits from 2 different words of 3 that fit in 7 "
               "characters"
                + seeded;
        // Two places, two kinds, 10 digits and 12 symbols: log2(3 * 2 * 10 * 12) more.
        QTest::newRow("digit and symbol")
            << "--level everyday -n 2 --digits 1 --symbols 1 --case first --seed 7"
            << "12.66 bits of entropy: 3.17 bits from 2 words, each one of 3, 9.49 bits from 1 "
               "digit and 1 symbol and where they stand"
                + seeded;
        QTest::newRow("template") << "--template {noun}-{animal} --seed 7"
                                  << "3.58 bits of entropy: one of 12 different texts, {noun} one "
                                     "of 3, {animal} one of 4"
                + seeded;
        QTest::newRow("digit, symbol and word side by side")
            << "--template {digit}{symbol}{verb} --seed 7"
            << "7.91 bits of entropy: one of 240 different texts, {digit} one of 10, {symbol} one "
               "of 12, {verb} one of 2"
                + seeded;
        // aabb is a + a + bb and a + ab + b: 8 texts of the 12 choices.
        QTest::newRow("three letters side by side, texts made two ways")
            << "--words %d/ab.txt --acrostic aab -s '' --seed 7"
            << "3.00 bits of entropy: one of 8 different texts (each once, however many ways it is "
               "made), 'a' one of 2, 'a' one of 2, 'b' one of 3"
                + seeded;
        // Dotless ı and i are one first word in title case: the figure is a floor.
        QTest::newRow("title case makes two alike")
            << "--words %d/dotless.txt --unique --case first -n 2 --seed 7"
            << "at least 1.58 bits of entropy: 1.58 bits from 2 different words of 3" + seeded;
        // The emoji is one character: both words fit.
        QTest::newRow("emoji in a length limit")
            << "--words %d/emoji.txt -n 1 --max-length 6 --seed 7"
            << "1.00 bits of entropy: 1.00 bits from 1 words of 2 that fit in 6 characters"
                + seeded;
        QTest::newRow("one word, nothing to guess")
            << "--level everyday --kind verb -n 1 --define"
            << "0.00 bits of entropy: 1 word, each one of 1 (0.00 bits a word)\n";
    }

    // Entropy figures on standard error after the words; seeded runs give the same words again.

    void entropy()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, err);
        const QString command
            = (arguments.contains("--words") ? "--entropy " : "--database %d/facts.mdb --entropy ")
            + arguments;
        const Run r = run(command);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, err);
        QVERIFY(r.out.endsWith('\n'));
        QCOMPARE(run(command).out, r.out);
    }
    void outputsEquallyLikely_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QStringList>("texts");
        const auto row = [](const char* name, const QString& arguments, const QString& texts) {
            QTest::newRow(name) << arguments << texts.split(',');
        };
        row("template", "--database %d/facts.mdb --template {noun}-{animal}",
            "ant-ant,ant-ants,ant-bee,ant-crow,bee-ant,bee-ants,bee-bee,bee-crow,crow-ant,"
            "crow-ants,crow-bee,crow-crow");
        row("template, slots side by side", "--database %d/facts.mdb --template v{verb}{digit}",
            "vcrow0,vcrow1,vcrow2,vcrow3,vcrow4,vcrow5,vcrow6,vcrow7,vcrow8,vcrow9,vwalk0,vwalk1,"
            "vwalk2,vwalk3,vwalk4,vwalk5,vwalk6,vwalk7,vwalk8,vwalk9");
        // a + bb and ab + b give one text, no likelier than the others.
        row("acrostic, texts made two ways", "--words %d/ab.txt --acrostic ab -s ''",
            "ab,abb,abbb,abbbb");
        row("acrostic, letters compared lower-cased", "--words %d/list.txt --acrostic ÉKs",
            "éclair kiwi sky,éclair kiwi strawberry");
        row("several outputs, different words within each",
            "--database %d/facts.mdb -n 2 --unique --level everyday",
            "ant bee,ant walk,bee ant,bee walk,walk ant,walk bee");
        row("several composed outputs", "--words %d/aa.txt -n 2 --case first",
            "A a,A aa,A ab,Aa a,Aa aa,Aa ab,Ab a,Ab aa,Ab ab");
    }

    // Outputs few enough to count: every one of them comes, each about as often, and the entropy
    // is that of as many equally likely outputs.

    void outputsEquallyLikely()
    {
        QFETCH(QString, arguments);
        QFETCH(QStringList, texts);
        const int each = 400;
        const Run r
            = run(QStringLiteral("--seed 5 --entropy -k %1 ").arg(each * texts.size()) + arguments);
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.startsWith(
                     QString::number(std::log2(double(texts.size())), 'f', 2) + " bits of entropy"),
            qPrintable(r.err));
        QHash<QString, int> counts;
        for (const QString& line : r.out.chopped(1).split('\n'))
            ++counts[line];
        QCOMPARE(QSet<QString>(counts.keyBegin(), counts.keyEnd()),
            QSet<QString>(texts.begin(), texts.end()));
        for (auto count = counts.cbegin(); count != counts.cend(); ++count)
            QVERIFY2(qAbs(count.value() - each) < each / 5, qPrintable(count.key()));
    }

    void cleanupTestCase() { QCOMPARE(::chmod(QFile::encodeName(m_dir.filePath("ro")), 0755), 0); }

    void rules_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const QString& arguments, const QString& expected) {
            QTest::newRow(name) << arguments << expected;
        };
        row("no rules", "", "apple Banana cherry date egg fig kiwi sky strawberry éclair");
        row("length", "--min 4 --max 5", "apple date kiwi");
        row("start, any case", "--start B", "Banana");
        row("start, beyond ASCII", "--start É", "éclair");
        row("start, an accent typed apart", "--start \"$(printf 'e\\314\\201')\"", "éclair");
        row("start, prefix", "--start st", "strawberry");
        row("end", "--end y", "cherry sky strawberry");
        row("end, suffix", "--end RRY", "cherry strawberry");
        row("letter, vowel", "--letter 2:vowel", "Banana date fig kiwi");
        row("letter, last consonant", "--letter last:consonant",
            "cherry egg fig sky strawberry éclair");
        row("letter past the end is the last", "--letter 7:e", "apple date strawberry");
        row("letter, upper case", "--letter 1:K", "kiwi");
        row("proper", "--proper --start é", "Éclair");
        row("all rules", "--min 3 --max 6 --start c --end y --letter 2:consonant", "cherry");
        row("letters given twice, both hold", "--letter 2:vowel --letter last:consonant", "fig");
        row("unique", "--unique -n 3 --end y", "cherry sky strawberry");
        row("count matches", "--count-matches --end y", "3");
        row("upper case", "--case upper --max 3", "EGG FIG SKY");
        row("lower case", "--case lower --start b", "banana");
        row("has, any case", "--has Ae", "apple date strawberry");
        row("lacks", "--lacks AEIOU", "sky");
        row("pattern", "--pattern '?i*'", "fig kiwi");
        row("exclude, as written", "--exclude %d/ex.txt --min 5 --max 6", "Banana cherry éclair");
        row("exclude, in proper case", "--exclude %d/ex.txt --proper --max 3", "Egg Sky");
        row("excludes given twice, both hold",
            "--exclude %d/ex.txt --exclude %d/duplicates.txt --max 5", "date egg kiwi sky");
        row("proper with title case", "--proper --case title --start é", "Éclair");
    }

    // Enough draws that every matching word turns up, and nothing else does.

    void rules()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, expected);
        const QString count = arguments.contains("-n ") ? "" : "-n 300 ";
        drawsExactly("--words %d/list.txt --seed 1 " + count + arguments, expected.split(' '),
            arguments.contains("--unique"));
    }

    void seeds_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seed 1") << "--seed 1"
                                << "Banana,Banana,egg,apple,date,éclair\n";
        QTest::newRow("seed 2") << "--seed 2"
                                << "éclair,strawberry,sky,éclair,cherry,Banana\n";
        QTest::newRow("unique") << "--seed 1 --unique"
                                << "Banana,cherry,fig,date,kiwi,éclair\n";
        QTest::newRow("rules") << "--seed 1 --end y"
                               << "cherry,cherry,sky,cherry,sky,strawberry\n";
        // Composed: the first word capitalised, the others not, additions anywhere after it.
        QTest::newRow("first word, additions") << "--seed 5 --case first --digits 1 --symbols 1"
                                               << "Apple,cherry@,banana,éclair,kiwi,éclair3\n";
        QTest::newRow("first word, unique") << "--seed 1 --unique --case first"
                                            << "Éclair,banana,fig,kiwi,cherry,sky\n";
    }

    // A fixed sequence per seed, the same on every run: a change in how numbers pick words shows.

    void seeds()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, expected);
        QCOMPARE(run("--words %d/list.txt -n 6 -s , " + arguments).out, expected);
        QCOMPARE(run("--words %d/list.txt -n 6 -s , " + arguments).out, expected);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const auto row
            = [](const char* name, const QString& arguments, int status, const QString& message) {
                  QTest::newRow(name) << arguments << status << message;
              };
        const QString none = "no word matches these rules";
        row("too long", "--words %d/list.txt --min 11", 1, none);
        row("no start, many words", "--words %d/list.txt --start q -n 1000000000", 1, none);
        row("rules against each other", "--words %d/list.txt --letter 1:z --end y", 1, none);
        row("empty list", "--words %d/empty.txt", 1, "%d/empty.txt holds no words");
        row("more unique than match", "--words %d/list.txt --unique -n 11", 1,
            "--unique cannot give 11 words: only 10 different words match these rules");
        row("missing list", "--words %d/no/list", 1,
            "cannot read %d/no/list: No such file or directory");
        row("folder as list", "--words %d", 1, "cannot read %d: ");
        row("not UTF-8", "--words %d/latin1.txt", 1, "cannot read %d/latin1.txt: not UTF-8 text");
        row("not a database", "--database %d/list.txt", 1,
            "cannot read %d/list.txt: file is not a database");
        row("folder as database", "--database %d/", 1, "cannot read %d/: Is a directory");
        row("bad count", "-n x", 2, "--count needs a whole number from 0 to");
        row("fraction", "--min 1.5", 2, "--min needs");
        row("seed too big", "--seed 18446744073709551616", 2, "--seed needs");
        row("unknown option", "--colour", 2, "Unknown option 'colour'.");
        row("missing value", "--count", 2, "Missing value after '--count'.");
        row("letter position 0", "--letter 0:vowel", 2, "--letter needs POS:WHAT");
        row("letter of two", "--letter 2:ab", 2, "--letter needs");
        row("max below min", "--min 5 --max 3", 2, "--max 3 is below --min 5");
        row("a rule given twice", "--start a --start=b", 2, "--start can be given only once");
        row("count by both names", "-n 3 --count 4", 2, "--count can be given only once");
        row("count attached to its short name", "-n1 --words %d/list.txt", 0, "");
        row("two lists", "--words %d/list.txt --database %d/list.txt", 2,
            "--words and --database cannot be used together");
        row("stray argument", "words", 2, "unexpected argument 'words'");
        row("empty pattern", "--pattern=", 2, "--pattern needs a pattern");
        row("proper and another case", "--proper --case upper", 2,
            "--proper and --case upper cannot be used together");
        row("unknown case", "--case shout", 2, "--case needs lower, upper, title or first");
        row("nothing fits", "--words %d/list.txt -n 3 --max-length 5", 1,
            "no output of 3 words fits in 5 characters");
        row("missing exclude list", "--words %d/list.txt --exclude %d/no/ex", 1,
            "cannot read %d/no/ex: No such file or directory");
        row("help", "--help", 0, "");
        row("installed database", "--start s --count-matches", 0, "");
        row("facts on a plain list", "--words %d/list.txt --kind noun", 1,
            "level, kind, spelling, topic, syllables and rhymes need word facts");
        row("rhymes, never the word itself", "--database %d/facts.mdb --rhymes-with ANT", 1, none);
        row("no word of those syllables", "--database %d/facts.mdb --syllables 5", 1, none);
        row("rhyme of a word the dictionary lacks", "--database %d/facts.mdb --rhymes-with bee", 1,
            "'bee' is neither in the word list nor in the pronouncing dictionary");
        row("unknown topic", "--topic fish", 2, "--topic needs action, animal, object,");
        row("syllables backwards", "--syllables 3-2", 2, "--syllables needs N or N-M");
        row("json with a separator", "--json -s ,", 2, "--separator and --json cannot be used");
        row("composed json, separator not UTF-8", "--json --digits 1 -s \"$(printf '\\377')\"", 2,
            "--separator needs UTF-8 text, not '\\xff'");
        row("words run together, composed", "--words %d/list.txt -n 2 --max-length 20 -s ''", 2,
            "--separator cannot be empty with");
        row("words run together, entropy", "--words %d/list.txt -n 2 --entropy -s ''", 2,
            "--separator cannot be empty with");
        row("one word, nothing runs together", "--words %d/list.txt -n 1 --digits 1 -s ''", 0, "");
        row("most words composed", "--words %d/list.txt -n 100000 --digits 1", 0, "");
        row("definitions of a plain list", "--words %d/list.txt --define", 1,
            "--define needs a word database with definitions");
        row("unknown level", "--level rare", 2,
            "--level needs everyday, common or any, not 'rare'");
        row("unknown kind", "--kind pronoun", 2, "--kind needs noun, verb, adjective or adverb");
        row("unknown spelling", "--spelling fr", 2, "--spelling needs us, gb, ca or any");
        row("unknown slot", "--template {fish}", 2, "--template has no slot {fish}: its slots are");
        row("brace left open", "--template {noun", 2, "--template has a { without its }");
        row("template and a count", "--template {noun} -n 2", 2,
            "--count cannot be used with --template");
        row("acrostic of different words", "--acrostic ab --unique", 2,
            "--unique cannot be used with --acrostic");
        row("slot no word meets", "--database %d/facts.mdb --template {food}", 1,
            "no word for {food} meets these rules");
        row("letter no word meets", "--words %d/list.txt --acrostic kz", 1,
            "no word that starts with 'z' meets these rules");
        row("letter outside the BMP no word meets", "--words %d/list.txt --acrostic \U0001D49Cb", 1,
            "no word that starts with '\U0001D49C' meets these rules");
        row("slot of facts on a plain list", "--words %d/list.txt --template {noun}", 1,
            "{noun} needs word facts");
        row("template not UTF-8 in JSON", "--json --template \"{noun}$(printf '\\377')\"", 2,
            "--template needs UTF-8 text, not '{noun}\\xff'");
        row("outputs split by the separator", "-k 2 -s \"$(printf 'a\\nb')\"", 2,
            "--outputs writes one output a line");
        row("a fact the language lacks", "--database %d/de.mdb --topic animal", 1,
            "--topic needs topics, which the German words do not have");
        row("national spellings of another language", "--database %d/de.mdb --spelling gb", 1,
            "--spelling needs national spellings, which the German words do not have");
        row("a slot of a fact the language lacks", "--database %d/de.mdb --template {animal}", 1,
            "{animal} needs topics, which the German words do not have");
        row("a language not installed", "--language xx", 2,
            "--language needs an installed language (en");
        row("a language and a database", "--language en --database %d/de.mdb", 2,
            "--language and --database cannot be used together");
        row("a language's code in any case", "--language EN --start s --count-matches", 0, "");
    }

    // Every failure is one line on standard error naming the cause, and nothing on standard output.

    void failures()
    {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const Run r = run(arguments);
        QCOMPARE(r.status, status);
        QCOMPARE(r.out.isEmpty(), status != 0);
        if (status == 0) {
            QCOMPARE(r.err, QString());
            return;
        }
        QVERIFY2(r.err.startsWith("tessavine-cli: " + expand(message)), qPrintable(r.err));
        QCOMPARE(r.err.count('\n'), 1);
    }

    void failedRunKeepsTheOutputFile()
    {
        QFile file(m_dir.filePath("out/words.txt"));
        QCOMPARE(run("--words %d/list.txt --proper --unique -n 11 -o %d/out/words.txt").status, 1);
        QCOMPARE(run("--words %d/list.txt --min 11 -o %d/out/words.txt").status, 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "kept\n");
        file.close();
        QCOMPARE(
            run("--words %d/list.txt --end y --count-matches -o %d/out/words.txt").out, QString());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "3\n");
        // Only the file itself: no temporary file is left beside it.
        QCOMPARE(QDir(m_dir.filePath("out")).entryList(QDir::Files), QStringList { "words.txt" });
    }

    void outputTargets_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const bool root = ::geteuid() == 0;
        QTest::newRow("regular") << "regular" << 0 << "";
        QTest::newRow("name of 255 bytes") << "long name" << 0 << "";
        // As root: another user's read-only file, written in place with its owner and mode.
        QTest::newRow("read-only") << "read-only" << (root ? 0 : 1) << "Permission denied";
        QTest::newRow("extended attributes") << "attributes" << 0 << "";
        QTest::newRow("linked twice") << "linked twice" << 0 << "";
        QTest::newRow("hard-linked") << "hard-linked" << 0 << "";
        QTest::newRow("pipe with a reader") << "pipe" << 0 << "";
        QTest::newRow("null device") << "device" << 0 << "";
        QTest::newRow("folder") << "folder" << 1 << "Is a directory";
        QTest::newRow("missing folder") << "missing" << 1 << "No such file or directory";
        QTest::newRow("standard output") << "-" << 0 << "";
        QTest::newRow("empty name") << "" << 2 << "--output needs a file name";
        QTest::newRow("closed standard output")
            << "closed" << 1 << "cannot write standard output: Bad file descriptor";
    }

    // -o FILE puts the words where the shell's > FILE would, keeping what the file is.

    void outputTargets()
    {
        QFETCH(QString, kind);
        QFETCH(int, status);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString file
            = dir.filePath(kind == "long name" ? QString(251, u'w') + ".txt" : "words.txt");
        const QByteArray name = QFile::encodeName(file);
        {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
        }
        QCOMPARE(::chmod(name, kind == "read-only" ? 0444 : 0640), 0);
        if (kind == "read-only" && ::geteuid() == 0)
            QCOMPARE(::chown(name, 65534, 65534), 0);
        if (kind == "attributes" && ::setxattr(name, "user.kept", "yes", 3, 0) != 0)
            QSKIP("extended attributes cannot be set here");
        struct stat before = {};
        QCOMPARE(::stat(name, &before), 0);
        QString target = file;
        if (kind == "linked twice") {
            QVERIFY(QFile::link(file, dir.filePath("b"))
                && QFile::link(dir.filePath("b"), dir.filePath("a")));
            target = dir.filePath("a");
        } else if (kind == "hard-linked") {
            QCOMPARE(::link(name, QFile::encodeName(dir.filePath("other"))), 0);
        } else if (kind == "folder" || kind == "missing") {
            target = kind == "folder" ? dir.path() + '/' : dir.filePath("no/words.txt");
        } else if (kind == "-" || kind.isEmpty()) {
            target = kind;
        }
        int reader = -1;
        if (kind == "pipe" || kind == "device") {
            target = dir.filePath(kind);
            if (kind == "pipe")
                QCOMPARE(::mkfifo(QFile::encodeName(target), 0600), 0);
            else if (::mknod(QFile::encodeName(target), S_IFCHR | 0666, makedev(1, 3)) != 0)
                QSKIP("device nodes cannot be made here");
            // Opened for reading first, without waiting, so that the writer finds a reader.
            reader = ::open(QFile::encodeName(target), O_RDONLY | O_NONBLOCK);
        }
        const QString words = "--words " + m_dir.filePath("list.txt") + " --seed 1 -n 3";
        const Run r = kind == "closed" ? shell("\"$CLI\" " + words + " >&-").first
            : kind.isEmpty()           ? shell("\"$CLI\" " + words + " -o ''").first
                                       : run(words + " -o " + target);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.isEmpty() == (status == 0) && r.err.count('\n') <= 1, qPrintable(r.err));
        QVERIFY2(r.err.contains(status ? message : QString()), qPrintable(r.err));
        const QByteArray expected = status ? "old\n" : "Banana\nBanana\negg\n";
        if (kind == "-")
            QCOMPARE(r.out.toUtf8(), expected);
        if (kind == "pipe") {
            QByteArray got(64, 0);
            got.resize(qMax<ssize_t>(::read(reader, got.data(), got.size()), 0));
            QCOMPARE(got, expected);
        }
        if (reader >= 0)
            ::close(reader);
        // The file: its words, and still what it was, with the same owner, mode and links.
        struct stat after = {}, link = {};
        ::lstat(QFile::encodeName(target), &link);
        QCOMPARE(::stat(name, &after), 0);
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const bool wroteFile = status == 0 && kind != "pipe" && kind != "device" && kind != "-";
        QCOMPARE(written.readAll(), wroteFile ? expected : QByteArray("old\n"));
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_uid, before.st_uid);
        QCOMPARE(after.st_nlink, before.st_nlink + (kind == "hard-linked"));
        char kept[4] = {};
        QCOMPARE(::getxattr(name, "user.kept", kept, 3), kind == "attributes" ? 3 : -1);
        if (kind == "linked twice" || kind == "pipe" || kind == "device")
            QCOMPARE(link.st_mode & S_IFMT,
                kind == "pipe"         ? S_IFIFO
                    : kind == "device" ? S_IFCHR
                                       : S_IFLNK);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System).filter("words.txt."),
            QStringList());
    }

    void inputs_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("expected");
        const auto row
            = [](const char* name, const QString& script, int status, const QByteArray& expected) {
                  // "!": as another user when root, who would write a read-only folder anyway.
                  const QString other = "$(test $(id -u) = 0 && echo setpriv --reuid=65534 "
                                        "--regid=65534 --clear-groups) ";
                  const QString cli = "\"$CLI\" --seed 1 ";
                  // A script that names the program itself is run as it stands.
                  QTest::newRow(name) << (script.contains("$CLI") ? script
                          : script.startsWith('|')
                          ? "yes pear " + script + " " + cli + "--words /proc/self/fd/0"
                          : script.startsWith('!') ? other + cli + script.mid(1)
                                                   : cli + script)
                                      << status << expected;
              };
        row("endless stream", "--words $D/zero", 1, "cannot read $D/zero: not a text file");
        row("endless lines", "|", 1, "more words than a word list can hold");
        row("binary", "--words $D/binary.txt", 1, "cannot read $D/binary.txt: not a text file");
        row("over-long line", "--words $D/long.txt", 1, "a line longer than 4096 bytes");
        row("list name not UTF-8", "--words \"$(printf '%s/list\\376.txt' $D)\" --start k -n 1", 0,
            "kiwi\n");
        row("output name not UTF-8",
            "--words $D/list.txt --start k -n 1 -o $D/out/k\"$(printf '\\376')\" && cat $D/out/k*",
            0, "kiwi\n");
        row("name not UTF-8 in a message", "--words \"$(printf '%s/no\\376' $D)\"", 1,
            "cannot read $D/no\\xfe: No such file or directory");
        row("no words, no lines between outputs", "--words $D/list.txt -n 0 -k 3", 0, "");
        row("no words, no composed outputs", "--words $D/list.txt -n 0 -k 3 --digits 1", 0, "");
        row("separator not UTF-8", "--words $D/list.txt --start k -n 2 -s \"$(printf '\\377')\"", 0,
            "kiwi\377kiwi\n");
        row("separator not UTF-8, composed",
            "--words $D/list.txt --start k -n 2 --digits 1 -s \"$(printf '\\377')\"", 0,
            "kiwi9\377kiwi\n");
        row("line feed in a value", "-n \"$(printf '1\\n2')\"", 2, "not '1\\n2'");
        row("duplicates under unique", "--words $D/duplicates.txt --unique -n 3 -s ,", 0,
            "pear,Pear,fig\n");
        // The emoji is one character: "a" is the 2nd, and the word is 6 long.
        row("emoji positions", "--words $D/emoji.txt --letter 2:a --min 6 --max 6 -n 1", 0,
            "\U0001F600apple\n");
        row("read-only WAL database", "!--database $D/ro/wal.db --count-matches", 0, "2\n");
        row("database on a device", "--database $D/zero", 1,
            "cannot read $D/zero: not a regular file");
        // The write stops at the limit; the rest must be tried and fail, not be dropped.
        row("file size limit",
            "trap '' XFSZ; ulimit -f 1; \"$CLI\" --seed 1 --words $D/list.txt -n 2000 -o "
            "$D/out/big",
            1, "File too large");
        // Straße is STRASSE in upper case, 7 characters as written.
        row("lengths as written",
            "\"$CLI\" --words $D/sharp.txt --case upper --min 7 --count-matches; \"$CLI\" --words "
            "$D/sharp.txt --case upper --max 6 --count-matches",
            0, "1\n1\n");
        row("proper case makes two alike", "--words $D/duplicates.txt --proper --unique -n 3", 1,
            "only 2 different words match");
        row("proper case makes two alike, with definitions",
            "--database $D/ctl.mdb --proper --unique --define --start p -n 2", 1,
            "only 1 different words match");
        row("control characters in a definition", "--database $D/ctl.mdb --define --start b -n 1",
            0, "bell\ta ring\\n\\x1b]0;x\\x07\n");
        // A definition looked up only for a word written: zap's fails.
        row("control characters in a word, and a backslash",
            "\"$CLI\" --seed 2 --database $D/ctl.mdb --define --unique --lacks bl -n 1", 0,
            "r\\\\o\\x0dw\ta\\\\n\\n\\x7f\\x9b\n");
        row("entropy of words with definitions",
            "\"$CLI\" --seed 2 --database $D/ctl.mdb --define --entropy -n 1 --lacks bl", 0,
            "r\\\\o\\x0dw\ta\\\\n\\n\\x7f\\x9b\n");
        row("a definition that cannot be looked up",
            "--database $D/ctl.mdb --define --start z -n 1", 1,
            "cannot read $D/ctl.mdb: malformed JSON");
        row("a name that reads as a URI",
            "cd $D && cp ctl.mdb file:facts.mdb && \"$CLI\" --database file:facts.mdb --start b "
            "-n 1",
            0, "bell\n");
        row("read-only WAL database with changes", "!--database $D/ro/last.db -n 1", 1,
            "the database's last changes are in its -wal file");
        row("killed while writing",
            "\"$CLI\" -n 100000000 -o $D/sig/out.txt & sleep 0.3; kill -KILL $!; wait; ls $D/sig",
            0, "out.txt\n");
        row("file size limit, no file left",
            "ulimit -f 8; \"$CLI\" -n 100000 -o $D/sig/out.txt 2>&1; ls $D/sig; cat $D/sig/out.txt",
            0, "tessavine-cli: cannot write $D/sig/out.txt: File too large\nout.txt\nold\n");
        // Without O_TMPFILE: the named temporary file removed on a signal, one ignored kept so.
        row("named temporary file, signals",
            "trap '' HUP; $NOTMPFILE \"$CLI\" -n 100000000 -o $D/sig/out.txt & sleep 0.5; "
            "kill -HUP $!; sleep 0.3; kill -TERM $!; wait $!; echo $?; ls $D/sig",
            0, "143\nout.txt\n");
        row("standard output by name, closed", "\"$CLI\" -n 1 -o /dev/stdout >&-", 1,
            "cannot write /dev/stdout: Bad file descriptor");
        row("own standard error, appended to",
            "echo old > $D/log; \"$CLI\" --words $D/list.txt --start k -n 1 -o /dev/fd/2 "
            "2>> $D/log; cat $D/log",
            0, "old\nkiwi\n");
        row("a file beside standard output",
            "echo old > $D/w.txt; \"$CLI\" --words $D/list.txt --start k -n 1 -o $D/w.txt "
            "> $D/log; cat $D/w.txt $D/log",
            0, "kiwi\n");
        // As a user, whose own read-only file > refuses too, though the folder is writable.
        row("own read-only file",
            "mkdir $D/own && echo old > $D/own/ro.txt && chmod 444 $D/own/ro.txt && "
            "{ test $(id -u) != 0 || chown -R 65534:65534 $D/own; } && $(test $(id -u) = 0 && "
            "echo setpriv --reuid=65534 --regid=65534 --clear-groups) \"$CLI\" "
            "--words $D/list.txt -o $D/own/ro.txt",
            1, "cannot write $D/own/ro.txt: Permission denied");
        row("symbols alone leave out words holding one",
            "printf 'r&d\\nfig\\n' > $D/sym.txt; "
            "\"$CLI\" --words $D/sym.txt --symbols 1 --count-matches",
            0, "1\n");
        // Every passphrase fits, starts with a capital and holds its additions.
        row("passphrase additions",
            "for s in $(seq 1 20); do \"$CLI\" --seed $s --words $D/list.txt --max 5 -n 3 "
            "--digits 2 --symbols 1 --max-length 16 --case first -s ' '; done | awk 'length($0) > "
            "16 || !/^[A-Z]/ || gsub(/[0-9]/, \"&\") != 2 || gsub(/[!#$%&*+=?@^~]/, \"&\") != 1'",
            0, "");
#ifndef __SANITIZE_ADDRESS__
        // At any limit the program runs, the loader refuses it, or it says in one line that it ran
        // out of memory, reading the database too (before main, Qt Core's OpenMP runtime says so
        // itself).
        row("memory limits",
            "for v in $(seq 40000 2000 100000); do (ulimit -v $v; \"$CLI\" -n 1 2>&1 >/dev/null; "
            "echo \" $?\") | tr -d '\\n'; echo; done | grep -v -e '^ 0$' -e ' 127$' -e "
            "'^tessavine-cli: .*out of memory.* 1$' -e '^libgomp: Out of memory.* 1$'; true",
            0, "");
#endif
    }

    // Hostile input ends the run with one line, in bounded time and memory; names and values
    // pass as the bytes they are.

    void inputs()
    {
        QFETCH(QString, script);
        QFETCH(int, status);
        QFETCH(QByteArray, expected);
        const QByteArray zero = QFile::encodeName(m_dir.filePath("zero"));
        if (script.contains("$D/zero") && !QFile::exists(m_dir.filePath("zero"))
            && ::mknod(zero, S_IFCHR | 0666, makedev(1, 5)) != 0)
            QSKIP("device nodes cannot be made here");
        const auto [r, out] = shell(script);
        QCOMPARE(r.status, status);
        const QByteArray shownExpected = expected.replace("$D", QFile::encodeName(m_dir.path()));
        if (status == 0) {
            QCOMPARE(out, shownExpected);
        } else {
            QVERIFY2(r.err.contains(QString::fromUtf8(shownExpected)), qPrintable(r.err));
            QCOMPARE(r.err.count('\n'), 1);
        }
    }

    // JSON parsed as another program would: each word an object, its facts by name, every text
    // escaped, even a definition's control characters.
    void jsonParses()
    {
        const auto parsed = [this](const QString& arguments) {
            const Run r = run("--json --seed 1 " + arguments);
            return r.status == 0 ? QJsonDocument::fromJson(r.out.toUtf8()).array() : QJsonArray();
        };
        const QJsonArray bees = parsed("--database %d/facts.mdb -n 2 --start b");
        QCOMPARE(bees.size(), 2);
        QCOMPARE(bees[1].toObject(),
            QJsonObject({ { "word", "bee" }, { "level", 10 }, { "kinds", QJsonArray { "noun" } },
                { "spellings", QJsonArray { "us" } }, { "topic", "animal" }, { "syllables", 1 },
                { "definition", "a flying insect" } }));
        QCOMPARE(parsed("--database %d/facts.mdb -n 1 --mature --start g")[0].toObject()["mark"],
            "mature");
        QCOMPARE(parsed("--database %d/facts.mdb -n 1 --offensive --start z")[0].toObject()["mark"],
            "offensive");
        QCOMPARE(parsed("--database %d/de.mdb -n 1 --start h")[0].toObject(),
            QJsonObject({ { "word", "Haus" }, { "level", 10 }, { "kinds", QJsonArray { "noun" } },
                { "syllables", 1 }, { "translation", "house" } }));
        QCOMPARE(parsed("--database %d/ctl.mdb -n 1 --start b")[0].toObject()["definition"],
            QString("a ring\n\x1b]0;x\x07"));
        // No level for a word outside the commonness lists, rather than a level 0.
        QVERIFY(!parsed("--database %d/facts.mdb -n 1 --start q")[0].toObject().contains("level"));
        QCOMPARE(parsed("--words %d/emoji.txt --unique -n 1 --end d"),
            (QJsonArray { QJsonObject { { "word", "bread" } } }));
        // Several outputs: an array each; a template's outputs: its texts.
        const QJsonArray outputs = parsed("--words %d/emoji.txt -n 2 -k 3");
        QCOMPARE(outputs.size(), 3);
        QCOMPARE(outputs[2].toArray().size(), 2);
        QCOMPARE(parsed("--database %d/facts.mdb --template '{verb} \"{{' --kind noun"),
            (QJsonArray { "crow \"{" }));
        // A composed output is one string, a line of the array, the text written without --json,
        // which --max-length counts.
        const QString composed
            = "--seed 1 --words %d/list.txt -n 3 --digits 1 --max-length 16 -s -";
        QCOMPARE(run("--json " + composed).out, "[\n\"" + run(composed).out.chopped(1) + "\"\n]\n");
    }

    void helpAndManualPageNameTheSameOptions()
    {
        QFile manual(TESSAVINE_CLI_MANUAL);
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const auto options = [](const QString& text) {
            QSet<QString> names;
            for (const auto& match : QRegularExpression("--[a-z][a-z-]*").globalMatch(text))
                names.insert(match.captured());
            return names;
        };
        const QString helpText = run("--help").out;
        const QSet<QString> help = options(helpText);
        // The options wrapped within 79 columns, every topic listed.
        for (const QString& line : helpText.section("Options:", 1).split('\n'))
            QVERIFY2(line.size() <= 79, qPrintable(line));
        QVERIFY(helpText.contains("Topics of --topic:\n  action ")
            && helpText.contains("\n  weather ") && helpText.contains("\n      --version ")
            && helpText.contains("Languages of --language:\n  en    English: level, kinds,"));
        QVERIFY(help.contains("--count-matches"));
        QCOMPARE(options(QString::fromUtf8(manual.readAll()).replace("\\-", "-")), help);
        // The completion script, run by bash as it completes the words given: every option, and a
        // list's choices after its name, also after an equals sign.
        const auto completed = [this](const QString& words) {
            return shell("\"$CLI\" --completion bash -o $D/c.bash && PATH=${CLI%/*}:$PATH bash -c "
                         "'. \"$D/c.bash\"; "
                         "COMP_WORDS=(tessavine-cli "
                + words
                + "); COMP_CWORD=$((${#COMP_WORDS[@]}-1)); _tessavine_cli; "
                  "printf \"%s\\n\" \"${COMPREPLY[@]}\"'")
                .first.out;
        };
        QCOMPARE(options(completed("-")), help);
        QCOMPARE(completed("--level \"\""), "everyday\ncommon\nany\n");
        QCOMPARE(completed("--kind = ad"), "adjective\nadverb\n");
        QCOMPARE(completed("--words $D/my"), m_dir.filePath("my words.txt\n"));
        QVERIFY(completed("--language \"\"").startsWith("list\nen\n"));
        QVERIFY(run("--language list")
                    .out.startsWith("en\tEnglish\tlevel, kinds, spellings, "
                                    "syllables, rhyme, offensive, classroom, "
                                    "topic, definitions\n"));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandLine.moc"
