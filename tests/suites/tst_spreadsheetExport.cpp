#include "TestSupport.h"
#include "app/ListSource.h"
#include "app/ResultListModel.h"
#include "app/SpreadsheetExport.h"
#include "window/Form1.h"
#include "window/ResultListView.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// Two columns with headers "Word" and "Note".
class TwoColumnList : public ListSource
{
public:
    struct Row
    {
        QString word, note;
        bool ticked;
    };
    explicit TwoColumnList(QList<Row> rows)
        : m_rows(std::move(rows))
    { }
    int rowCount() const override { return int(m_rows.size()); }
    int columnCount() const override { return 2; }
    QString headerText(int column) const override { return column == 1 ? "Word" : "Note"; }
    QString cellText(int row, int column) const override
    {
        return column == 1 ? m_rows[row - 1].word : m_rows[row - 1].note;
    }
    bool isChecked(int row) const override { return m_rows[row - 1].ticked; }

private:
    QList<Row> m_rows;
};

// An application that fails to start instead of being absent.
class FailingLauncher : public SpreadsheetLauncher
{
public:
    std::unique_ptr<SpreadsheetApplication> start() override
    {
        throw PlatformError("ActiveX component can't create object");
    }
};

using Window = LoadedWindow;

const QString notInstalledCheck = "Excel is not installed on this computer. You need to have it "
                                  "installed to use this software without error.";
const QString notInstalledCommand = "Excel is not installed on this computer. You need to have it "
                                    "installed to use this feature.";
// The check's own start, then the export's.
const QStringList opening { "start", "start", "addWorkbook", "cell(1,1)=Generated Words" };
const QStringList closing { "autoFit", "visible=true" };

} // namespace

class TestSpreadsheetExport : public QObject
{
    Q_OBJECT

private slots:
    void writesTheTickedRowsInOrder_data();
    void writesTheTickedRowsInOrder();
    void onlyLaterColumnsLoseEqualsSigns();
    void missingApplicationGivesBothMessages_data();
    void missingApplicationGivesBothMessages();
    void withoutTickedRowNoSheetIsMade_data();
    void withoutTickedRowNoSheetIsMade();
    void failedCellIsReportedOnce_data();
    void failedCellIsReportedOnce();
    void windowIsBusyWhileExporting();
};

void TestSpreadsheetExport::writesTheTickedRowsInOrder_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<int>("yields");
    QTest::addColumn<QString>("status");

    const QStringList three { "w1", "w2", "w3" };
    QTest::newRow("only row 2 ticked")
        << three << QList<int> { 2 } << QStringList { "cell(3,1)=w2" } << 1 + 3 + 1
        << "1 row exported to a new worksheet";
    QTest::newRow("all ticked, column 1 keeps its =")
        << QStringList { "=w", "a=b" } << QList<int> { 1, 2 }
        << QStringList { "cell(2,1)==w", "cell(3,1)=a=b" } << 1 + 2 + 2
        << "2 rows exported to a new worksheet";
}

void TestSpreadsheetExport::writesTheTickedRowsInOrder()
{
    QFETCH(QStringList, words);
    QFETCH(QList<int>, ticked);
    QFETCH(QStringList, cells);
    QFETCH(int, yields);
    QFETCH(QString, status);

    Window w;
    QVERIFY(w.load(words, ticked));

    w.form.PushButton5_Click();

    QCOMPARE(w.form.StatusText->text(), status);
    QCOMPARE(w.fake.spreadsheet.calls, opening + cells + closing);
    QCOMPARE(w.fake.spreadsheet.started, 2);
    QCOMPARE(w.fake.pump.calls, yields);
    QVERIFY(w.fake.dialogs.entries.empty());
    QVERIFY(w.idle());
    QCOMPARE(w.form.resultList()->rowCount(), words.size());
}

void TestSpreadsheetExport::onlyLaterColumnsLoseEqualsSigns()
{
    Window w;
    QVERIFY(w.load({}));
    SpreadsheetExport exporter(w.form);
    exporter.exportList(
        TwoColumnList({ { "=a=", "=b=c", true }, { "skip", "me", false }, { "d", "==", true } }));

    QCOMPARE(w.fake.spreadsheet.calls,
        QStringList({ "start", "start", "addWorkbook", "cell(1,1)=Word", "cell(1,2)=Note",
            "cell(2,1)==a=", "cell(2,2)=bc", "cell(4,1)=d", "cell(4,2)=", "autoFit",
            "visible=true" }));
    // Two header cells, three rows, two cells in each ticked row.
    QCOMPARE(w.fake.pump.calls, 2 + 3 + 4);
    QVERIFY(w.fake.dialogs.entries.empty());
}

void TestSpreadsheetExport::missingApplicationGivesBothMessages_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<bool>("startFails");
    QTest::newRow("empty list") << QStringList() << false;
    QTest::newRow("ticked row") << QStringList { "w1" } << false;
    QTest::newRow("start fails") << QStringList { "w1" } << true;
}

void TestSpreadsheetExport::missingApplicationGivesBothMessages()
{
    QFETCH(QStringList, words);
    QFETCH(bool, startFails);

    Window w;
    QVERIFY(w.load(words, words.isEmpty() ? QList<int>() : QList<int> { 1 }));
    w.fake.spreadsheet.installed = false;
    FailingLauncher failing;
    Platform platform = w.fake.platform;
    platform.spreadsheet = &failing;
    Form1 failingForm(platform);
    Form1& form = startFails ? failingForm : w.form;
    if (startFails)
        QVERIFY(failingForm.Form_Load());
    w.fake.dialogs.entries.clear();

    form.PushButton5_Click();

    // Failures inside the check never reach the error box.
    QCOMPARE(w.fake.dialogs.entries.size(), size_t(2));
    QCOMPARE(w.fake.dialogs.messages(), QStringList({ notInstalledCheck, notInstalledCommand }));
    for (const FakeDialogs::Entry& entry : w.fake.dialogs.entries)
        QCOMPARE(entry.title, form.applicationTitle());
    QCOMPARE(w.fake.spreadsheet.calls, startFails ? QStringList() : QStringList { "start" });
    QCOMPARE(form.mousePointer(), Form1::PointerDefault);
    QVERIFY(form.PushButton4->isEnabled());
}

void TestSpreadsheetExport::withoutTickedRowNoSheetIsMade_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::newRow("empty list") << QStringList();
    QTest::newRow("nothing ticked") << QStringList { "w1", "w2" };
}

void TestSpreadsheetExport::withoutTickedRowNoSheetIsMade()
{
    QFETCH(QStringList, words);
    Window w;
    QVERIFY(w.load(words));
    w.form.PushButton5_Click();
    QCOMPARE(w.fake.spreadsheet.calls, QStringList { "start" });
    QCOMPARE(w.fake.spreadsheet.started, 1);
    QCOMPARE(w.fake.dialogs.messages(), QStringList { "No row is ticked." });
    QVERIFY(w.idle());
}

void TestSpreadsheetExport::failedCellIsReportedOnce_data()
{
    QTest::addColumn<int>("failingCell");
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("header") << 1 << 124 << QStringList();
    QTest::newRow("first row") << 2 << 152 << QStringList { "cell(2,1)=w1" };
    QTest::newRow("second row") << 3 << 152 << QStringList { "cell(2,1)=w1", "cell(3,1)=w2" };
}

void TestSpreadsheetExport::failedCellIsReportedOnce()
{
    QFETCH(int, failingCell);
    QFETCH(int, step);
    QFETCH(QStringList, cells);

    Window w;
    QVERIFY(w.load({ "w1", "w2", "w3" }, { 1, 2, 3 }));
    w.fake.spreadsheet.failingCell = failingCell;

    w.form.PushButton5_Click();

    QCOMPARE(w.fake.spreadsheet.calls, opening + cells);
    const QStringList boxes = w.fake.dialogs.errorBoxes();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().startsWith("Cell refused\r\nin Tessavine2021/08/31.Form1."
                                      "PushButton5_Click at line "
                 + QString::number(step) + "\r\r"),
        qPrintable(boxes.first()));
    QVERIFY(w.fake.dialogs.messages().isEmpty());
    QVERIFY(w.idle());
}

void TestSpreadsheetExport::windowIsBusyWhileExporting()
{
    Window w;
    QVERIFY(w.load({ "w1", "w2" }, { 2 }));
    w.form.ListView1->setCurrentIndex(w.form.resultList()->index(0, 0));
    QList<int> pointers;
    QList<bool> enabled;
    w.fake.pump.onEvery = [&](int) {
        pointers << w.form.mousePointer();
        enabled << w.form.PushButton4->isEnabled();
        // Neither "Clear Results" nor the Delete key may cut the list meanwhile.
        w.form.PushButton4_Click();
        w.form.ListView1_KeyDown(46, Qt::NoModifier);
    };

    w.form.PushButton5_Click();

    QCOMPARE(pointers, QList<int>(4, Form1::PointerHourglass));
    QCOMPARE(enabled, QList<bool>(4, false));
    QCOMPARE(w.form.resultList()->rowCount(), 2);
    QCOMPARE(w.fake.spreadsheet.calls, opening + QStringList { "cell(3,1)=w2" } + closing);
    QVERIFY(w.idle());
}

QTEST_MAIN(TestSpreadsheetExport)
#include "tst_spreadsheetExport.moc"
