#include "app/ErrorBoxText.h"
#include "app/StepGuard.h"
#include "app/ApplicationTitle.h"

#include "FakePlatform.h"

#include <QtTest>
#include <stdexcept>

class ErrorBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void messageIsBuiltPieceByPiece_data();
    void messageIsBuiltPieceByPiece();
    void failingStepIsReportedAndTheNextStepRuns();
    void everyFailureGivesItsOwnBox();
    void failedTestCountsAsHeldAndFailedJumpTestDoesNotJump();
    void failuresOutsideThePlatformPassTheGuard();
    void applicationTitleDropsTheLastWord_data();
    void applicationTitleDropsTheLastWord();
};

namespace {

const QString request = QStringLiteral("Please email screenshot of this message to ");

// The boxes a guard shows, collected in order.
struct Boxes
{
    QStringList texts;
    StepGuard guard(const QString& handler)
    {
        return StepGuard([this](const QString& text) { texts << text; }, handler);
    }
};

} // namespace

void ErrorBoxTest::messageIsBuiltPieceByPiece_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("handler");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("expected");

    const QString address = ErrorBoxText::supportAddress();
    QTest::newRow("third step of the folder button")
        << "desc"
        << "PushButton9_Click" << 104
        << "desc\r\nin Tessavine2021/08/31.Form1.PushButton9_Click at line 104\r\r" + request
            + address;
    QTest::newRow("empty description")
        << ""
        << "PushButton4_Click" << 100
        << "\r\nin Tessavine2021/08/31.Form1.PushButton4_Click at line 100\r\r" + request + address;
    QTest::newRow("start-up, description kept as given")
        << "  Type mismatch. "
        << "Form_Load" << 206
        << "  Type mismatch. \r\nin Tessavine2021/08/31.Form1.Form_Load at line 206\r\r" + request
            + address;
}

void ErrorBoxTest::messageIsBuiltPieceByPiece()
{
    QFETCH(QString, description);
    QFETCH(QString, handler);
    QFETCH(int, step);
    QFETCH(QString, expected);

    QVERIFY(!ErrorBoxText::supportAddress().isEmpty());
    QCOMPARE(ErrorBoxText::message(description, ErrorBoxText::location(handler), step,
                 ErrorBoxText::supportAddress()),
        expected);
}

void ErrorBoxTest::failingStepIsReportedAndTheNextStepRuns()
{
    Boxes boxes;
    StepGuard guard = boxes.guard(QStringLiteral("PushButton9_Click"));
    QStringList ran;

    QVERIFY(guard.step(100, [&] { ran << "100"; }));
    QVERIFY(!guard.step(102, [&] {
        ran << "102";
        throw PlatformError(QStringLiteral("Disk full"));
        ran << "rest of 102";
    }));
    QVERIFY(guard.step(104, [&] { ran << "104"; }));

    QCOMPARE(ran, QStringList({ "100", "102", "104" }));
    QCOMPARE(boxes.texts,
        QStringList { "Disk full\r\nin Tessavine2021/08/31.Form1.PushButton9_Click at line 102\r\r"
            + request + ErrorBoxText::supportAddress() });
    QCOMPARE(guard.failures(), 1);
    QCOMPARE(guard.current(), 104);
}

void ErrorBoxTest::everyFailureGivesItsOwnBox()
{
    Boxes boxes;
    StepGuard guard = boxes.guard(QStringLiteral("PushButton2_Click"));

    guard.step(106, [] { throw PlatformError(QStringLiteral("first")); });
    guard.step(108, [] {});
    guard.step(110, [] { throw std::runtime_error("second"); });

    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY(boxes.texts[0].startsWith("first\r\nin Tessavine2021/08/31.Form1.PushButton2_Click "
                                      "at line 106\r\r"));
    QVERIFY(boxes.texts[1].startsWith("second\r\nin Tessavine2021/08/31.Form1.PushButton2_Click "
                                      "at line 110\r\r"));
    QCOMPARE(guard.failures(), 2);
}

void ErrorBoxTest::failedTestCountsAsHeldAndFailedJumpTestDoesNotJump()
{
    Boxes boxes;
    StepGuard guard = boxes.guard(QStringLiteral("PushButton1_Click"));
    const auto fails = []() -> bool { throw PlatformError(QStringLiteral("x")); };

    QVERIFY(guard.test(116, fails));
    QVERIFY(!guard.jumpTest(124, fails));
    // Tests that do not fail give their own outcome.
    QVERIFY(!guard.test(126, [] { return false; }));
    QVERIFY(guard.jumpTest(128, [] { return true; }));

    QCOMPARE(boxes.texts.size(), 2);
    QVERIFY(boxes.texts[0].contains("at line 116\r\r"));
    QVERIFY(boxes.texts[1].contains("at line 124\r\r"));
}

void ErrorBoxTest::failuresOutsideThePlatformPassTheGuard()
{
    // An unanswered dialog in a test must end the test, not be reported and skipped.
    Boxes boxes;
    StepGuard guard = boxes.guard(QStringLiteral("PushButton1_Click"));
    QVERIFY_THROWS_EXCEPTION(
        UnexpectedDialog, guard.step(100, [] { throw UnexpectedDialog { "Enter x: " }; }));
    QVERIFY(boxes.texts.isEmpty());
}

void ErrorBoxTest::applicationTitleDropsTheLastWord_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("title");

    QTest::newRow("one word") << "Tessavine"
                              << "Tessavine";
    QTest::newRow("two words") << "Tessavine Words"
                               << "Tessavine";
    QTest::newRow("three words") << "Random Word Generator"
                                 << "Random Word";
    const QString forty = QString(19, 'a') + ' ' + QString(20, 'b');
    QTest::newRow("40 after one cut") << forty + " tail" << forty;
    QTest::newRow("41 after one cut, cut again") << forty + "c tail" << QString(19, 'a');
    QTest::newRow("long without blanks after one cut stays")
        << QString(50, 'x') + " tail" << QString(50, 'x');
}

void ErrorBoxTest::applicationTitleDropsTheLastWord()
{
    QFETCH(QString, product);
    QFETCH(QString, title);
    QCOMPARE(applicationTitle(product), title);
}

QTEST_GUILESS_MAIN(ErrorBoxTest)
#include "tst_errorBox.moc"
