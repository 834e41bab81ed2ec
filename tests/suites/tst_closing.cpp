#include "app/ResultListModel.h"
#include "window/Form1.h"

#include "FakePlatform.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

class ClosingTest : public QObject
{
    Q_OBJECT

private slots:
    void closingInsideAGenerationEndsItAtOnce_data();
    void closingInsideAGenerationEndsItAtOnce();
};

void ClosingTest::closingInsideAGenerationEndsItAtOnce_data()
{
    QTest::addColumn<int>("closeAt");
    QTest::newRow("first yield") << 1;
    QTest::newRow("middle yield") << 3;
    QTest::newRow("last yield") << 5;
}

void ClosingTest::closingInsideAGenerationEndsItAtOnce()
{
    QFETCH(int, closeAt);

    FakePlatform fake;
    fake.words.words = QStringList { "apple", "brook", "cedar", "delta" };
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    form.Text1->setText("5");
    form.show();
    fake.pump.actions[closeAt] = [&form] { QVERIFY(form.close()); };

    form.PushButton1->click();

    QVERIFY(form.isClosed());
    QVERIFY(!form.isVisible());
    QCOMPARE(fake.pump.calls, closeAt);
    QCOMPARE(form.resultList()->rowCount(), closeAt - 1);
    // None of the run's closing steps ran after the close.
    QCOMPARE(form.PushButton1->text(), "Stop");
    QCOMPARE(form.mousePointer(), int(Form1::PointerHourglass));
    QVERIFY(!form.StopRequested);
    QVERIFY(form.ProgressBar1->value() > 0);
    QVERIFY(fake.dialogs.entries.empty());
    // The run's database connection went with it.
    QCOMPARE(fake.words.openConnections, 0);
}

QTEST_MAIN(ClosingTest)
#include "tst_closing.moc"
