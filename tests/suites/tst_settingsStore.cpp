#include "platform/QtSettingsStore.h"
#include "window/Form1.h"

#include "FakePlatform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <sys/sysmacros.h>

class SettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void storeLivesInTheUsersConfigFolder();
    void valuesRoundTripThroughTheFile_data();
    void valuesRoundTripThroughTheFile();
    void missingKeyGivesTheDefault();
    void windowOptionsSurviveARestart();
    void damagedFileNeverStopsStartUp_data();
    void damagedFileNeverStopsStartUp();
    void unwritableStoreLeavesTheProgramWorking_data();
    void unwritableStoreLeavesTheProgramWorking();

private:
    QString confFile() const { return m_config.path() + "/Quillmont.conf"; }
    // A value as a fresh reader of the file on disk sees it.
    QVariant onDisk(const QString& key) const;

    QTemporaryDir m_config;
    QtSettingsStore m_store;
};

namespace {

const QString app = QStringLiteral("Quillmont");
const QString section = QStringLiteral("Tessavine");

QList<int> errorLines(const FakeDialogs& dialogs)
{
    static const QRegularExpression line(QStringLiteral("Form_Load at line (\\d+)\r\r"));
    QList<int> lines;
    for (const QString& text : dialogs.errorBoxes())
        lines << line.match(text).captured(1).toInt();
    return lines;
}

} // namespace

void SettingsStoreTest::initTestCase()
{
    // The store's folder is fixed when the first settings object is made, so it is set before.
    QVERIFY(m_config.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
}

void SettingsStoreTest::init()
{
    QFile::remove(confFile());
    QDir(confFile()).removeRecursively();
}

void SettingsStoreTest::cleanup()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
}

QVariant SettingsStoreTest::onDisk(const QString& key) const
{
    // A copy under another name is parsed afresh, not served from the settings cache.
    static int copies = 0;
    const QString copy = m_config.path() + QStringLiteral("/copy-%1.ini").arg(++copies);
    if (!QFile::copy(confFile(), copy))
        return QStringLiteral("<no file>");
    return QSettings(copy, QSettings::IniFormat).value(section + "/" + key);
}

void SettingsStoreTest::storeLivesInTheUsersConfigFolder()
{
    m_store.write(app, section, "How Many", "100");

    QFile file(confFile());
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(confFile()));
    const QByteArray text = file.readAll();
    QVERIFY2(text.startsWith("[Tessavine]\n"), text.constData());
    QVERIFY2(text.contains("\nHow%20Many=100\n"), text.constData());
}

void SettingsStoreTest::valuesRoundTripThroughTheFile_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("number") << "How Many"
                            << "100";
    QTest::newRow("empty") << "How Many"
                           << "";
    QTest::newRow("commas") << "Text5"
                            << "a,b, c";
    QTest::newRow("quotes") << "Start Letter"
                            << "\"";
    QTest::newRow("blanks around") << "Text5"
                                   << "  /my folder/  ";
    QTest::newRow("backslashes and semicolons") << "Text5"
                                                << "C:\\a;b\\";
    QTest::newRow("comment and equals signs") << "End Letter"
                                              << "#x=y;";
    QTest::newRow("leading at sign") << "Text5"
                                     << "@Invalid()";
    QTest::newRow("boolean text") << "Option7"
                                  << "True";
    QTest::newRow("non-ASCII") << "Text5"
                               << "/home/zoë/Schreibtisch/日本/";
    QTest::newRow("key with blanks") << "Letter Must Be"
                                     << "27";
}

void SettingsStoreTest::valuesRoundTripThroughTheFile()
{
    QFETCH(QString, key);
    QFETCH(QString, value);

    m_store.write(app, section, key, "before");
    m_store.write(app, section, key, value);

    QCOMPARE(m_store.read(app, section, key, "default"), value);
    // Each write reaches the disk before the call returns.
    QCOMPARE(onDisk(key).toString(), value);
}

void SettingsStoreTest::missingKeyGivesTheDefault()
{
    QCOMPARE(m_store.read(app, section, "Check1", "0"), "0");
    m_store.write(app, section, "Check2", "1");
    m_store.write(app, "Elsewhere", "Check1", "1");
    QCOMPARE(m_store.read(app, section, "Check1", "0"), "0");
    QCOMPARE(m_store.read(app, section, "Check1", QString()), QString());
    QCOMPARE(m_store.read(app, section, "Check2", "0"), "1");
}

void SettingsStoreTest::windowOptionsSurviveARestart()
{
    {
        FakePlatform fake;
        fake.platform.settings = &m_store;
        Form1 form(fake.platform);
        QVERIFY(form.Form_Load());
        form.Text1->setText("");
        form.Check4->click();
        form.Option8->click();
        form.Combo2->setCurrentIndex(3);
        form.Text5->setText("/data, words/");
    }
    FakePlatform fake;
    fake.platform.settings = &m_store;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    QVERIFY(fake.dialogs.entries.empty());
    QCOMPARE(form.Text1->text(), "");
    QCOMPARE(form.Check4->checkState(), Qt::Checked);
    QVERIFY(form.Option8->isChecked());
    QVERIFY(!form.Option7->isChecked());
    QCOMPARE(form.Combo2->currentText(), "4rd");
    QCOMPARE(form.Text5->text(), "/data, words/");
    // The write-back at start-up reached the disk as well.
    QCOMPARE(onDisk("Text2").toString(), "2");
    QCOMPARE(onDisk("Check4").toString(), "1");
    QCOMPARE(onDisk("Option7").toString(), "False");
}

void SettingsStoreTest::damagedFileNeverStopsStartUp_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<QString>("startLetter");

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) % 256);
    QTest::newRow("binary garbage") << garbage << QList<int>() << "a";
    QTest::newRow("garbage around a good section")
        << garbage + "\n[Tessavine]\nStart%20Letter=g\n" + garbage << QList<int>() << "g";
    QTest::newRow("invalid UTF-8 where numbers belong")
        << QByteArray("[Tessavine]\nCheck3=\xff\xfe\nCombo=\xc3(\nStart%20Letter=b\n")
        << QList<int> { 146, 168 } << "b";
    QTest::newRow("invalid UTF-8 in a text")
        << QByteArray("[Tessavine]\nEnd%20Letter=\xff\nStart%20Letter=c\n") << QList<int>() << "c";
    QTest::newRow("very long values") << "[Tessavine]\nHow%20Many=" + QByteArray(200000, '9')
            + "\nNth%20Letter=" + QByteArray(5000, '1') + "\nStart%20Letter=d\n"
                                      << QList<int> { 182 } << "d";
    // A typed value that cannot be decoded counts as missing (Combo, Option8).
    QTest::newRow("broken lines and typed values")
        << QByteArray("[Tessavine\nCheck1\n=1\n[Tessavine]\nCheck2=1\nCheck2=x\n"
                      "Check6=@Rect(1 2 3 4)\nCombo=@Variant(\\0\\0\\0\\x7f\\0garbage)\n"
                      "Option8=@Invalid()\nStart%20Letter=e\n")
        << QList<int> { 144, 152 } << "e";
}

void SettingsStoreTest::damagedFileNeverStopsStartUp()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, lines);
    QFETCH(QString, startLetter);

    QFile file(confFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    FakePlatform fake;
    fake.platform.settings = &m_store;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    QCOMPARE(errorLines(fake.dialogs), lines);
    // The damaged file was written whole again: nothing to warn of.
    QVERIFY(fake.dialogs.messages().empty());
    QCOMPARE(form.Text3->text(), startLetter);
    QCOMPARE(form.Text2->text(), "2");
    QCOMPARE(form.Combo3->currentIndex(), 0);
    QCOMPARE(m_store.read(app, section, "Text2", "missing"), "2");
}

void SettingsStoreTest::unwritableStoreLeavesTheProgramWorking_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("settings file is a folder") << "folder";
    QTest::newRow("settings folder is a file") << "folder is a file";
    QTest::newRow("settings file is a named pipe") << "pipe";
    QTest::newRow("settings file links to a null device") << "device";
}

void SettingsStoreTest::unwritableStoreLeavesTheProgramWorking()
{
    QFETCH(QString, kind);
    const bool folderIsAFile = kind == "folder is a file";

    // All fail for root too; none may block or be replaced.
    const QString plainFile = m_config.path() + "/plain-file";
    const QString device = m_config.path() + "/null";
    if (folderIsAFile) {
        QFile file(plainFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, plainFile);
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(confFile() + "/inside"));
    } else if (kind == "pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(confFile()), 0600), 0);
    } else {
        QFile::remove(device);
        if (::mknod(QFile::encodeName(device), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("device nodes cannot be made here");
        QVERIFY(QFile::link(device, confFile()));
    }

    // A store of its own: values that never reached the disk stay in the memory of the store
    // that took them.
    QtSettingsStore store;
    FakePlatform fake;
    fake.platform.settings = &store;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    // Told once, naming the file, and never again.
    QCOMPARE(fake.dialogs.messages().size(), 1);
    QVERIFY(fake.dialogs.messages().front().contains("Quillmont.conf"));
    QCOMPARE(form.Text1->text(), "100");
    form.Check1->click();
    form.Text1->setText("5");
    form.Option8->click();
    QCOMPARE(form.Check1->checkState(), Qt::Checked);
    QVERIFY(form.Option8->isChecked());
    QCOMPARE(fake.dialogs.entries.size(), size_t(1));
    QVERIFY(!QFileInfo(confFile()).isFile());
    if (folderIsAFile)
        QCOMPARE(QFileInfo(plainFile).size(), 0);
    struct stat after = {};
    QCOMPARE(::stat(QFile::encodeName(confFile()), &after), kind == "folder is a file" ? -1 : 0);
    if (kind == "pipe" || kind == "device")
        QCOMPARE(after.st_mode & S_IFMT, kind == "pipe" ? S_IFIFO : S_IFCHR);
    QFile::remove(confFile());
}

QTEST_MAIN(SettingsStoreTest)
#include "tst_settingsStore.moc"
