#include "app/ErrorBoxText.h"
#include "platform/FileTextWriter.h"
#include "engine/SqliteWordStore.h"
#include "app/ResultListModel.h"
#include "window/Form1.h"

#include "FakePlatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>

// Generation runs on damaged word databases and unusable output folders, through the real word
// store and the real text writer: at most one error box, never a crash or a hang, and the window
// back to its idle look.
class HostileInputsTest : public QObject
{
    Q_OBJECT

private slots:
    void damagedWordDatabase_data();
    void damagedWordDatabase();
    void unusableOutputFolder_data();
    void unusableOutputFolder();
};

namespace {

// A window on fakes, but with the real word store reading dbWords.mdb from a temporary program
// folder. A run is stopped at the latest after 2000 attempts, so that none can hang.
struct Window
{
    explicit Window(const QString& programFolder)
        : folder(programFolder)
    {
        fake.pump.actions[2000] = [this] { form.PushButton1_Click(); };
    }
    // The window copies the platform when it is made, so the real services go in before.
    const Platform& platform()
    {
        fake.platform.programFolder = folder;
        fake.files.files << folder + "/dbWords.mdb";
        fake.platform.words = &store;
        fake.platform.writer = &writer;
        return fake.platform;
    }
    QStringList look() const
    {
        return { form.PushButton1->text(), QString::number(form.mousePointer()),
            QString::number(form.ProgressBar1->value()) };
    }
    QString errorBox(const QString& description, int step) const
    {
        return ErrorBoxText::message(description,
            ErrorBoxText::location(QStringLiteral("PushButton1_Click")), step,
            ErrorBoxText::supportAddress());
    }

    QString folder;
    SqliteWordStore store;
    FileTextWriter writer;
    FakePlatform fake;
    Form1 form { platform() };
};

const QStringList idleLook { QStringLiteral("Start Generating"), QStringLiteral("0"),
    QStringLiteral("0") };

} // namespace

void HostileInputsTest::damagedWordDatabase_data()
{
    QTest::addColumn<QByteArray>("contents"); // null: made by the statements instead
    QTest::addColumn<QByteArray>("statements");
    QTest::addColumn<bool>("letterRule"); // the 1st letter must be a vowel
    QTest::addColumn<QString>("description"); // empty: no box
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("listed");

    const QByteArray odd = "create table words (word text);"
                           "insert into words values (replace(hex(zeroblob(50000)), '0', 'a')),"
                           "  (''), (NULL);";
    QTest::newRow("empty file") << QByteArray("") << QByteArray() << false << "no such table: words"
                                << 156 << 0;
    QTest::newRow("not a database") << QByteArray(8192, '\x7f') << QByteArray() << false
                                    << "file is not a database" << 150 << 0;
    QTest::newRow("no words table") << QByteArray() << QByteArray("create table other (word);")
                                    << false << "no such table: words" << 156 << 0;
    QTest::newRow("empty words table")
        << QByteArray() << QByteArray("create table words (word text);") << false << "" << 0 << 0;
    QTest::newRow("long, empty and NULL words") << QByteArray() << odd << false << "" << 0 << 30;
    // The first draw takes the long word, the second the empty one, whose first letter cannot
    // be taken: that test counts as passed, the word is listed, and the run ends.
    QTest::newRow("empty word under a letter rule")
        << QByteArray() << odd << true << "Invalid procedure call or argument" << 232 << 2;
}

void HostileInputsTest::damagedWordDatabase()
{
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, statements);
    QFETCH(bool, letterRule);
    QFETCH(QString, description);
    QFETCH(int, step);
    QFETCH(int, listed);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString database = folder.filePath("dbWords.mdb");
    if (!contents.isNull()) {
        QFile file(database);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
    } else {
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(database).constData(), &db), SQLITE_OK);
        const int rc = sqlite3_exec(db, statements.constData(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        QCOMPARE(rc, SQLITE_OK);
    }

    Window w(folder.path());
    QVERIFY(w.form.Form_Load());
    w.form.Text1->setText("30");
    w.form.Check4->setChecked(letterRule);
    w.form.Combo2->setCurrentText("1st");
    w.form.Combo3->setCurrentText("[vowel]");
    w.fake.random.script = { 0.0, 0.5 };
    w.form.PushButton1_Click();

    const QStringList expected
        = description.isEmpty() ? QStringList() : QStringList { w.errorBox(description, step) };
    QCOMPARE(w.fake.dialogs.errorBoxes(), expected);
    QCOMPARE(w.fake.dialogs.entries.size(), size_t(expected.size()));
    QCOMPARE(w.form.resultList()->rowCount(), listed);
    QCOMPARE(w.look(), idleLook);
}

void HostileInputsTest::unusableOutputFolder_data()
{
    QTest::addColumn<QString>("folder"); // "<file>" stands for a regular file
    QTest::addColumn<int>("error");

    // Each fails for root too.
    QTest::newRow("a file") << "<file>/" << ENOTDIR;
    QTest::newRow("inside a file") << "<file>/inner/" << ENOTDIR;
    QTest::newRow("missing folder") << "<missing>/deeper/" << ENOENT;
    QTest::newRow("under /proc") << "/proc/" << ENOENT;
    QTest::newRow("name too long") << "<missing>/" + QString(5000, 'n') + "/" << ENAMETOOLONG;
}

void HostileInputsTest::unusableOutputFolder()
{
    QFETCH(QString, folder);
    QFETCH(int, error);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile plain(dir.filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    folder.replace("<file>", plain.fileName()).replace("<missing>", dir.filePath("missing"));

    Window w(QString::fromLocal8Bit(qgetenv("TESSAVINE_BUILD_DIR")));
    QVERIFY(w.form.Form_Load());
    w.form.Text1->setText("5");
    w.form.Option8->click();
    w.form.Text5->setText(folder);
    w.form.Combo1->setCurrentIndex(0);
    w.form.PushButton1_Click();

    // The first word cannot be written: one box, and the run ends there.
    QCOMPARE(w.fake.dialogs.errorBoxes(),
        QStringList { w.errorBox(QString::fromLocal8Bit(std::strerror(error)), 276) });
    QCOMPARE(w.fake.dialogs.entries.size(), size_t(1));
    QCOMPARE(w.fake.pump.calls, 1);
    QCOMPARE(w.look(), idleLook);
    QCOMPARE(QFileInfo(plain.fileName()).size(), 0);
}

QTEST_MAIN(HostileInputsTest)
#include "tst_hostileInputs.moc"
