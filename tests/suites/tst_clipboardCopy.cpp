#include "TestSupport.h"
#include "app/ClipboardCopy.h"
#include "app/ListSource.h"
#include "app/ResultListModel.h"
#include "desktop/QtClipboard.h"
#include "window/Form1.h"
#include "window/ResultListView.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// A list with as many columns as its rows have cells.
class TableList : public ListSource
{
public:
    TableList(QList<QStringList> rows, QList<bool> ticked)
        : m_rows(std::move(rows))
        , m_ticked(std::move(ticked))
    { }
    int rowCount() const override { return int(m_rows.size()); }
    int columnCount() const override { return m_rows.isEmpty() ? 0 : int(m_rows[0].size()); }
    QString headerText(int column) const override { return QString("H%1").arg(column); }
    QString cellText(int row, int column) const override { return m_rows[row - 1][column - 1]; }
    bool isChecked(int row) const override { return m_ticked[row - 1]; }

private:
    QList<QStringList> m_rows;
    QList<bool> m_ticked;
};

using Window = LoadedWindow;

const QString copiedMessage = "Results have been copied to the clipboard.\r\rClick a text area "
                              "where you normally type and press Ctrl+V to paste the clipboard.";

} // namespace

class TestClipboardCopy : public QObject
{
    Q_OBJECT

private slots:
    void copiesTheTickedRows_data();
    void copiesTheTickedRows();
    void padsCellsToTheColumnWidths_data();
    void padsCellsToTheColumnWidths();
    void clipboardOperationsRetrySilently_data();
    void clipboardOperationsRetrySilently();
    void busyClipboardStillReportsSuccess();
    void clearResultsIsDisabledWhileCopying();
    void failureInsideTheCopyIsReportedOnce();
    void realClipboardReceivesTheText();
};

void TestClipboardCopy::copiesTheTickedRows_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("yields");
    QTest::addColumn<QString>("status");

    const QStringList three { "w1", "w2", "w3" };
    QTest::newRow("rows 1 and 3 of three") << three << QList<int> { 1, 3 } << "w1\r\nw3\r\n"
                                           << 8 << "2 rows copied";
    QTest::newRow("single row ends with a line end")
        << QStringList { "w1" } << QList<int> { 1 } << "w1\r\n"
        << 3 << "1 row copied";
    QTest::newRow("no padding in one column")
        << QStringList { "a", "abcd", "ab" } << QList<int> { 1, 2, 3 } << "a\r\nabcd\r\nab\r\n"
        << 9 << "3 rows copied";
    // A refused copy leaves the line as it was.
    QTest::newRow("all unticked: clipboard untouched")
        << three << QList<int>() << "<before>" << 0 << "";
    QTest::newRow("empty list: clipboard untouched")
        << QStringList() << QList<int>() << "<before>" << 0 << "";
}

void TestClipboardCopy::copiesTheTickedRows()
{
    QFETCH(QStringList, words);
    QFETCH(QList<int>, ticked);
    QFETCH(QString, expected);
    QFETCH(int, yields);
    QFETCH(QString, status);

    Window w;
    QVERIFY(w.load(words, ticked));
    w.fake.pump.calls = 0;
    const QString before = w.form.StatusText->text();

    w.form.PushButton3_Click();

    QCOMPARE(w.form.StatusText->text(), status.isEmpty() ? before : status);
    QCOMPARE(w.fake.clipboard.text, expected);
    const int touches = ticked.isEmpty() ? 0 : 1;
    QCOMPARE(w.fake.clipboard.clears, touches);
    QCOMPARE(w.fake.clipboard.puts, touches);
    QCOMPARE(w.fake.pump.calls, yields);
    QCOMPARE(w.fake.dialogs.entries.size(), size_t(1));
    QCOMPARE(w.fake.dialogs.messages(),
        QStringList { ticked.isEmpty() ? QStringLiteral("No row is ticked.") : copiedMessage });
    QCOMPARE(w.fake.dialogs.entries.front().title, w.form.applicationTitle());
    QVERIFY(w.form.PushButton4->isEnabled());
    QCOMPARE(w.form.resultList()->rowCount(), words.size());
}

void TestClipboardCopy::padsCellsToTheColumnWidths_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("yields");

    QTest::newRow("two columns") << QList<QStringList> { { "ab", "c" }, { "abcd", "ef" } }
                                 << QList<bool> { true, true } << "ab  \tc\r\nabcd\tef\r\n"
                                 << 4 + 2 + 4;
    QTest::newRow("unticked rows count for the widths")
        << QList<QStringList> { { "ab", "c" }, { "abcdef", "x" } } << QList<bool> { true, false }
        << "ab    \tc\r\n"
        << 4 + 2 + 2;
    QTest::newRow("only blanks are cut at the end, tabs stay")
        << QList<QStringList> { { "", "x" }, { "ab", "" } } << QList<bool> { true, true }
        << "  \tx\r\nab\t\r\n"
        << 4 + 2 + 4;
    QTest::newRow("blank-only line")
        << QList<QStringList> { { " " }, { "a" } } << QList<bool> { true, true } << "\r\na\r\n"
        << 2 + 2 + 2;
}

void TestClipboardCopy::padsCellsToTheColumnWidths()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QList<bool>, ticked);
    QFETCH(QString, expected);
    QFETCH(int, yields);

    Window w;
    QVERIFY(w.load({}));
    w.fake.pump.calls = 0;
    ClipboardCopy copy(w.form);
    copy.CopyListToClipboard(TableList(rows, ticked));

    QCOMPARE(w.fake.clipboard.text, expected);
    QCOMPARE(w.fake.pump.calls, yields);
}

void TestClipboardCopy::clipboardOperationsRetrySilently_data()
{
    QTest::addColumn<bool>("put");
    QTest::addColumn<int>("failures");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("failuresLeft");

    for (bool put : { false, true }) {
        const char* name = put ? "put" : "clear";
        QTest::addRow("%s, succeeds at once", name) << put << 0 << 1 << 0;
        QTest::addRow("%s, succeeds at attempt 1000", name) << put << 999 << 1 << 0;
        QTest::addRow("%s, gives up after 1000", name) << put << 1000 << 0 << 0;
        QTest::addRow("%s, no attempt beyond 1000", name) << put << 1001 << 0 << 1;
    }
}

void TestClipboardCopy::clipboardOperationsRetrySilently()
{
    QFETCH(bool, put);
    QFETCH(int, failures);
    QFETCH(int, done);
    QFETCH(int, failuresLeft);

    FakeClipboard clipboard;
    clipboard.failuresLeft = failures;
    if (put)
        ClipboardCopy::PutClipboardText(clipboard, "w1\r\n", 0);
    else
        ClipboardCopy::ClearClipboard(clipboard);
    QCOMPARE(put ? clipboard.puts : clipboard.clears, done);
    QCOMPARE(clipboard.failuresLeft, failuresLeft);
    QCOMPARE(clipboard.text, QString(done == 0 ? "<before>" : put ? "w1\r\n" : ""));
}

void TestClipboardCopy::busyClipboardStillReportsSuccess()
{
    Window w;
    QVERIFY(w.load({ "w1" }, { 1 }));
    w.fake.clipboard.failuresLeft = 5000;
    const QString status = w.form.StatusText->text();

    w.form.PushButton3_Click();

    QCOMPARE(w.fake.clipboard.failuresLeft, 3000);
    QCOMPARE(w.fake.clipboard.text, QString("<before>"));
    QVERIFY(w.fake.dialogs.errorBoxes().isEmpty());
    QCOMPARE(w.fake.dialogs.messages(), QStringList { copiedMessage });
    // The text never got there: the line does not say it was copied.
    QCOMPARE(w.form.StatusText->text(), status);
}

void TestClipboardCopy::clearResultsIsDisabledWhileCopying()
{
    Window w;
    QVERIFY(w.load({ "w1", "w2" }, { 2 }));
    QList<bool> enabled;
    QList<int> pointers;
    w.fake.pump.onEvery = [&](int) {
        enabled << w.form.PushButton4->isEnabled();
        pointers << w.form.mousePointer();
    };

    w.form.PushButton3_Click();

    QCOMPARE(enabled, QList<bool>(5, false));
    // The copy does not show the hourglass.
    QCOMPARE(pointers, QList<int>(5, Form1::PointerDefault));
    QVERIFY(w.form.PushButton4->isEnabled());
    QCOMPARE(w.fake.clipboard.text, QString("w2\r\n"));
}

void TestClipboardCopy::failureInsideTheCopyIsReportedOnce()
{
    Window w;
    QVERIFY(w.load({ "w1", "w2", "w3" }, { 1, 2, 3 }));
    // The Delete key still works during a copy: the last row goes just before it is read.
    w.form.ListView1->setCurrentIndex(w.form.resultList()->index(2, 0));
    w.fake.pump.actions[3] = [&] { w.form.ListView1_KeyDown(46, Qt::NoModifier); };

    w.form.PushButton3_Click();

    QCOMPARE(w.form.resultList()->rowCount(), 2);
    const QStringList boxes = w.fake.dialogs.errorBoxes();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes.first().contains(
                 "\r\nin Tessavine2021/08/31.Form1.PushButton3_Click at line 108\r\r"),
        qPrintable(boxes.first()));
    QVERIFY(w.fake.dialogs.messages().isEmpty());
    QCOMPARE(w.fake.clipboard.text, QString("<before>"));
    QCOMPARE(w.fake.clipboard.clears, 0);
    QVERIFY(w.form.PushButton4->isEnabled());
}

void TestClipboardCopy::realClipboardReceivesTheText()
{
    QtClipboard real;
    QClipboard* system = QGuiApplication::clipboard();
    real.putText("w1\r\nw3\r\n");
    QCOMPARE(system->text(), QString("w1\r\nw3\r\n"));
    real.clear();
    QCOMPARE(system->text(), QString());

    FakePlatform fake;
    Platform platform = fake.platform;
    platform.clipboard = &real;
    Form1 form(platform);
    QVERIFY(form.Form_Load());
    for (const char* word : { "café", "w2", "w3" })
        form.resultList()->append(QString::fromUtf8(word));
    form.resultList()->setChecked(1, true);
    form.resultList()->setChecked(3, true);
    form.PushButton3_Click();
    QCOMPARE(system->text(), QString("café\r\nw3\r\n"));
}

QTEST_MAIN(TestClipboardCopy)
#include "tst_clipboardCopy.moc"
