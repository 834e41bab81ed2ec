#include "engine/PlatformError.h"
#include "platform/XlsxSpreadsheetApplication.h"
#include "platform/XlsxSpreadsheetLauncher.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// The first sheet of a workbook file: texts by cell ("B2"), whole widths by column number, and
// the cells that are not plain texts.
struct Sheet
{
    QMap<QString, QString> cells;
    QMap<int, int> widths;
    QStringList nonTextCells;
};

QByteArray unzipEntry(const QString& zipFile, const QString& entry)
{
    QProcess unzip;
    unzip.start("unzip", { "-p", zipFile, entry });
    unzip.waitForFinished();
    return unzip.readAllStandardOutput();
}

Sheet readSheet(const QString& workbookPath)
{
    QStringList strings;
    QXmlStreamReader shared(unzipEntry(workbookPath, "xl/sharedStrings.xml"));
    while (!shared.atEnd()) {
        if (shared.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (shared.name() == u"si")
            strings << QString();
        else if (shared.name() == u"t")
            strings.last() += shared.readElementText();
    }
    Sheet sheet;
    QString cell;
    QXmlStreamReader xml(unzipEntry(workbookPath, "xl/worksheets/sheet1.xml"));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attribute = [&xml](const char* name) {
            return xml.attributes().value(QLatin1String(name)).toString();
        };
        if (xml.name() == u"col") {
            sheet.widths[attribute("min").toInt()] = int(attribute("width").toDouble());
        } else if (xml.name() == u"c") {
            cell = attribute("r");
            if (attribute("t") != u"s")
                sheet.nonTextCells << cell;
        } else if (xml.name() == u"f") {
            sheet.nonTextCells << cell;
        } else if (xml.name() == u"v") {
            sheet.cells[cell] = strings.value(xml.readElementText().toInt());
        }
    }
    return sheet;
}

void writeScript(const QString& path, const QString& body)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body.toUtf8() + '\n');
    file.close();
    QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
}

}

class tst_XlsxSpreadsheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_path = qgetenv("PATH"); }
    void init();
    void cleanup();
    void writesEveryCellAsTextWhereItWasSet();
    void choosesTheLaunchCommand_data();
    void choosesTheLaunchCommand();
    void checksCellsAgainstTheSheetLimits_data();
    void checksCellsAgainstTheSheetLimits();
    void reportsALaunchCommandThatCannotStart();
    void removesOwnWorkbooksOlderThanADay();

private:
    // Writes a program into bin/ that records its name and arguments, one a line.
    QString writeRecorder(const QString& name);
    // Waits for the recorder to be called and gives what it recorded.
    QStringList recordedCall();
    static QString exportFolder();

    QByteArray m_path;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_XlsxSpreadsheet::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkdir("bin"));
    qputenv("XDG_CACHE_HOME", m_dir->filePath("cache").toUtf8());
    qunsetenv("TESSAVINE_SPREADSHEET");
}

void tst_XlsxSpreadsheet::cleanup()
{
    qputenv("PATH", m_path);
    m_dir.reset();
}

QString tst_XlsxSpreadsheet::writeRecorder(const QString& name)
{
    QString path = m_dir->filePath("bin/" + name);
    writeScript(path,
        QString("printf '%s\\n' \"${0##*/}\" \"$@\" > '%1.part' && /bin/mv '%1.part' '%1'")
            .arg(m_dir->filePath("call")));
    return path;
}

QStringList tst_XlsxSpreadsheet::recordedCall()
{
    QFile log(m_dir->filePath("call"));
    [&] { QTRY_VERIFY_WITH_TIMEOUT(log.exists(), 10000); }();
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QString tst_XlsxSpreadsheet::exportFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/exports";
}

void tst_XlsxSpreadsheet::writesEveryCellAsTextWhereItWasSet()
{
    qputenv("TESSAVINE_SPREADSHEET", writeRecorder("calc").toUtf8());
    const auto application = XlsxSpreadsheetLauncher().start();
    QVERIFY(application);
    const QString longText(40000, u'w');
    application->addWorkbook();
    application->setCellText(1, 1, "Generated Words");
    application->setCellText(1, 2, "Ex");
    application->setCellText(2, 1, "=x");
    application->setCellText(2, 2, "café");
    application->setCellText(4, 1, "zebra");
    application->setCellText(4, 2, "42");
    application->setCellText(4, 3, longText);
    application->autoFitColumns();
    QVERIFY(!QFileInfo::exists(exportFolder()));

    application->setVisible(true);

    const QStringList call = recordedCall();
    QCOMPARE(call.size(), 2);
    QCOMPARE(QFileInfo(call[1]).absolutePath(), exportFolder());
    QVERIFY(call[1].endsWith(".xlsx"));
    const Sheet sheet = readSheet(call[1]);
    const QMap<QString, QString> expected { { "A1", "Generated Words" }, { "B1", "Ex" },
        { "A2", "=x" }, { "B2", "café" }, { "A4", "zebra" }, { "B4", "42" },
        { "C4", longText.left(32767) } };
    QCOMPARE(sheet.cells.keys(), expected.keys());
    for (const QString& cell : expected.keys())
        QCOMPARE(sheet.cells[cell], expected[cell]);
    QCOMPARE(sheet.nonTextCells, QStringList());
    // Longest text plus one: "café" counts four characters, the long text is capped.
    QCOMPARE(sheet.widths, (QMap<int, int> { { 1, 16 }, { 2, 5 }, { 3, 255 } }));
}

void tst_XlsxSpreadsheet::choosesTheLaunchCommand_data()
{
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<QString>("defaultApplication");
    QTest::addColumn<QString>("configured");
    QTest::addColumn<QStringList>("expectedCall");

    const QStringList all { "soffice", "libreoffice", "xdg-mime", "xdg-open", "my calc" };
    const QStringList xdg { "xdg-mime", "xdg-open" };
    const QString desktop("calc.desktop");
    QTest::newRow("nothing installed") << QStringList() << desktop << "" << QStringList();
    QTest::newRow("configured command first")
        << all << desktop << "\"%1/my calc\" --view \"two words\""
        << QStringList { "my calc", "--view", "two words" };
    QTest::newRow("blank configuration ignored")
        << all << desktop << "  " << QStringList { "soffice", "--calc", "-n" };
    QTest::newRow("libreoffice name") << xdg + QStringList { "libreoffice" } << desktop << ""
                                      << QStringList { "libreoffice", "--calc", "-n" };
    QTest::newRow("desktop default") << xdg << desktop << "" << QStringList { "xdg-open" };
    QTest::newRow("no desktop default") << xdg << ""
                                        << "" << QStringList();
    QTest::newRow("no xdg-open") << QStringList { "xdg-mime" } << desktop << "" << QStringList();
}

void tst_XlsxSpreadsheet::choosesTheLaunchCommand()
{
    QFETCH(QStringList, programs);
    QFETCH(QString, defaultApplication);
    QFETCH(QString, configured);
    QFETCH(QStringList, expectedCall);
    const QString bin = m_dir->filePath("bin");
    for (const QString& program : programs) {
        if (program != u"xdg-mime") {
            writeRecorder(program);
            continue;
        }
        writeScript(bin + "/xdg-mime",
            "[ \"$*\" = 'query default "
            "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet' ] && echo '"
                + defaultApplication + "'");
    }
    qputenv("PATH", bin.toUtf8());
    qputenv("TESSAVINE_SPREADSHEET", configured.replace("%1", bin).toUtf8());

    const auto application = XlsxSpreadsheetLauncher().start();

    QCOMPARE(bool(application), !expectedCall.isEmpty());
    if (!application)
        return;
    application->addWorkbook();
    application->setVisible(true);
    QStringList call = recordedCall();
    QVERIFY(!call.isEmpty() && QFileInfo(call.takeLast()).isFile());
    QCOMPARE(call, expectedCall);
}

void tst_XlsxSpreadsheet::checksCellsAgainstTheSheetLimits_data()
{
    QTest::addColumn<bool>("workbookAdded");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("last cell") << true << 1048576 << 16384 << true;
    QTest::newRow("row 0") << true << 0 << 1 << false;
    QTest::newRow("column 0") << true << 1 << 0 << false;
    QTest::newRow("row past the sheet") << true << 1048577 << 1 << false;
    QTest::newRow("column past the sheet") << true << 1 << 16385 << false;
    QTest::newRow("no workbook") << false << 1 << 1 << false;
}

void tst_XlsxSpreadsheet::checksCellsAgainstTheSheetLimits()
{
    QFETCH(bool, workbookAdded);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(bool, accepted);
    XlsxSpreadsheetApplication application({ writeRecorder("calc") }, exportFolder());
    if (workbookAdded)
        application.addWorkbook();

    if (!accepted) {
        QVERIFY_THROWS_EXCEPTION(PlatformError, application.setCellText(row, column, "x"));
        return;
    }
    application.setCellText(row, column, "x");
    application.setVisible(true);
    QCOMPARE(readSheet(recordedCall().value(1)).cells.size(), 1);
}

void tst_XlsxSpreadsheet::reportsALaunchCommandThatCannotStart()
{
    const QString missing = m_dir->filePath("missing-program");
    qputenv("TESSAVINE_SPREADSHEET", missing.toUtf8());
    const auto application = XlsxSpreadsheetLauncher().start();
    QVERIFY(application);
    application->addWorkbook();
    application->setCellText(1, 1, "x");

    try {
        application->setVisible(true);
        QFAIL("no error reported");
    } catch (const PlatformError& error) {
        QVERIFY2(error.description().contains(missing), qPrintable(error.description()));
    }
    QCOMPARE(QDir(exportFolder()).entryList(QDir::Files), QStringList());
}

void tst_XlsxSpreadsheet::removesOwnWorkbooksOlderThanADay()
{
    QVERIFY(QDir().mkpath(exportFolder()));
    const QDateTime now = QDateTime::currentDateTime();
    const QMap<QString, QDateTime> files { { "Tessavine-old.xlsx", now.addDays(-2) },
        { "Tessavine-recent.xlsx", now.addSecs(-23 * 3600LL) },
        { "notes-old.xlsx", now.addDays(-2) } };
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QFile file(exportFolder() + u'/' + it.key());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.setFileTime(it.value(), QFileDevice::FileModificationTime));
    }
    qputenv("TESSAVINE_SPREADSHEET", writeRecorder("calc").toUtf8());
    const auto application = XlsxSpreadsheetLauncher().start();
    QVERIFY(application);
    application->addWorkbook();

    application->setVisible(true);

    QStringList expected { "Tessavine-recent.xlsx", "notes-old.xlsx",
        QFileInfo(recordedCall().value(1)).fileName() };
    expected.sort();
    QCOMPARE(QDir(exportFolder()).entryList(QDir::Files, QDir::Name), expected);
}

QTEST_GUILESS_MAIN(tst_XlsxSpreadsheet)
#include "tst_xlsxSpreadsheet.moc"
