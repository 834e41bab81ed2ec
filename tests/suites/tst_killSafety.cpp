#include "engine/SqliteWordStore.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

// The real window on the real services (tests/support/KillDriver.cpp), killed with SIGKILL
// half-way: what it wrote must be whole.
class KillSafetyTest : public QObject
{
    Q_OBJECT

private slots:
    void killedFileRunLeavesOnlyWholePieces();
    void killedWindowKeepsEveryChangedOption();

private:
    // Starts the driver with HOME and the settings folder inside m_home, the settings file holding
    // the given [Tessavine] lines.
    void start(QProcess& driver, const QString& mode, const QByteArray& settings);
    // Waits while the driver runs until done() holds; false if it ended or never got there.
    static bool waitUntil(QProcess& driver, const std::function<bool()>& done);
    static void kill(QProcess& driver);
    QString settingsFile() const { return m_home.path() + "/.config/Quillmont.conf"; }

    QTemporaryDir m_home;
};

namespace {

QString buildDir()
{
    return QString::fromLocal8Bit(qgetenv("TESSAVINE_BUILD_DIR"));
}

} // namespace

void KillSafetyTest::start(QProcess& driver, const QString& mode, const QByteArray& settings)
{
    QVERIFY(m_home.isValid());
    QVERIFY(QDir().mkpath(m_home.path() + "/.config"));
    QFile file(settingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Tessavine]\n" + settings);
    file.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", m_home.path());
    environment.insert("XDG_CONFIG_HOME", m_home.path() + "/.config");
    driver.setProcessEnvironment(environment);
    driver.start(QStringLiteral(TESSAVINE_KILL_DRIVER), { buildDir(), mode });
    QVERIFY2(driver.waitForStarted(), qPrintable(driver.errorString()));
}

bool KillSafetyTest::waitUntil(QProcess& driver, const std::function<bool()>& done)
{
    // Only a bound on a failure: a healthy driver gets there in well under a second.
    const QDeadlineTimer deadline(120000);
    while (!done()) {
        if (driver.waitForFinished(10) || driver.state() != QProcess::Running
            || deadline.hasExpired())
            return false;
    }
    return true;
}

void KillSafetyTest::kill(QProcess& driver)
{
    driver.kill();
    QVERIFY(driver.waitForFinished());
    QCOMPARE(driver.exitStatus(), QProcess::CrashExit);
}

void KillSafetyTest::killedFileRunLeavesOnlyWholePieces()
{
    QTemporaryDir output;
    QVERIFY(output.isValid());
    const QString wordsFile = output.filePath("Words.txt");
    QProcess driver;
    start(driver, "generate",
        "Option7=False\nOption8=True\nCombo=0\nHow%20Many=100000\nText5=" + output.path().toUtf8()
            + "/\n");

    const bool grew = waitUntil(driver, [&] { return QFileInfo(wordsFile).size() > 64 * 1024; });
    QVERIFY2(grew, driver.readAllStandardError().constData());
    kill(driver);

    SqliteWordStore store;
    const auto table
        = store.open(buildDir() + "/dbWords.mdb")->query(QStringLiteral("select * from words"));
    QSet<QString> known;
    for (int r = 1; r <= table->count(); ++r)
        known.insert(table->word(r));

    QFile file(wordsFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString text = QString::fromUtf8(bytes);
    QCOMPARE(text.toUtf8(), bytes);
    QStringList pieces = text.split(QStringLiteral("\r\n"));
    // Only the count's last word goes without a line end.
    const QString unterminated = pieces.takeLast();
    if (!unterminated.isEmpty()) {
        QCOMPARE(pieces.size() + 1, 100000);
        pieces << unterminated;
    }
    QVERIFY(!pieces.isEmpty());
    for (const QString& word : std::as_const(pieces))
        QVERIFY2(known.contains(word), qPrintable(word));
}

void KillSafetyTest::killedWindowKeepsEveryChangedOption()
{
    QProcess driver;
    start(driver, "options", "Text2=3\n");
    QByteArray printed;
    const bool ready = waitUntil(driver, [&] {
        printed += driver.readAllStandardOutput();
        return printed.contains("ready\n");
    });
    QVERIFY2(ready, driver.readAllStandardError().constData());
    kill(driver);

    // A copy under another name is parsed afresh.
    const QString copy = m_home.filePath("copy.ini");
    QVERIFY(QFile::copy(settingsFile(), copy));
    QSettings stored(copy, QSettings::IniFormat);
    stored.beginGroup("Tessavine");
    const QList<std::pair<QString, QString>> expected {
        { "How Many", "77" },
        { "Start Letter", "q" },
        { "Text5", "/tmp/kill safety/" },
        { "Check1", "1" },
        { "Check4", "1" },
        { "Combo", "2" },
        { "Nth Letter", "3" },
        { "Option7", "False" },
        { "Option8", "True" },
        // Restored at start-up and written back.
        { "Text2", "3" },
        { "Text6", "4" },
    };
    for (const auto& [key, value] : expected)
        QCOMPARE(stored.value(key).toString(), value);
}

QTEST_GUILESS_MAIN(KillSafetyTest)
#include "tst_killSafety.moc"
