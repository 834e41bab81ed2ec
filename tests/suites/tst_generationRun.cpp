#include "FakePlatform.h"
#include "app/ResultListModel.h"
#include "app/StatusLine.h"
#include "window/Form1.h"
#include "window/ResultListView.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QToolTip>
#include <QtTest>

namespace {

const QString startCaption = QStringLiteral("Start Generating");
const QString databasePath = QStringLiteral("/opt/tessavine/dbWords.mdb");
const QString commas = QStringLiteral("Save as one line separated by commas");
const QString typedSeparator = QStringLiteral("Save as one line separated by x");

// One window on fake services, loaded as at program start.
struct Window
{
    FakePlatform fake;
    Form1 form { fake.platform };

    bool load(const QStringList& words)
    {
        fake.words.words = words;
        const bool loaded = form.Form_Load();
        // Only what the runs ask of the store counts, not the status line's list.
        fake.words.openedPaths.clear();
        fake.words.queries.clear();
        return loaded;
    }
    void press() { form.PushButton1_Click(); }
    void pressAtYield(int k)
    {
        fake.pump.actions[k] = [this] { press(); };
    }
    void setCount(const QString& count) { form.Text1->setText(count); }
    void toFolder(const QString& folder, const QString& layout)
    {
        form.Option8->click();
        form.Text5->setText(folder);
        form.Combo1->setCurrentText(layout);
    }
    QStringList listed() const
    {
        QStringList words;
        for (int row = 1; row <= form.resultList()->rowCount(); ++row)
            words << form.resultList()->cellText(row, 1);
        return words;
    }
    // Caption, pointer, bar value and bar text.
    QStringList look() const
    {
        return { form.PushButton1->text(), QString::number(form.mousePointer()),
            QString::number(form.ProgressBar1->value()), form.ProgressBar1->format() };
    }
};

const QStringList idleLook { startCaption, QStringLiteral("0"), QStringLiteral("0"),
    QStringLiteral("Progress Bar") };

QString errorAt(int step)
{
    return QStringLiteral("in Tessavine2021/08/31.Form1.PushButton1_Click at line %1\r\r")
        .arg(step);
}

// The step numbers the error boxes report, in order.
QList<int> errorSteps(const FakeDialogs& dialogs)
{
    QList<int> steps;
    for (const QString& box : dialogs.errorBoxes()) {
        for (int step = 100; step <= 334; step += 2) {
            if (box.contains(errorAt(step)))
                steps << step;
        }
    }
    return steps;
}

QStringList promptTitles(const FakeDialogs& dialogs)
{
    QStringList titles;
    for (const FakeDialogs::Entry& entry : dialogs.entries) {
        if (entry.kind == FakeDialogs::Prompt)
            titles << entry.title;
    }
    return titles;
}

} // namespace

class TestGenerationRun : public QObject
{
    Q_OBJECT

private slots:
    void countDecidesHowManyWordsTheListHolds_data();
    void countDecidesHowManyWordsTheListHolds();
    void refusedCountChangesNothing_data();
    void refusedCountChangesNothing();
    void fullCountOfOneHundredThousandIsProduced();
    void windowLooksBusyDuringRunAndIdleAfter();

    void boundsChooseTheQuery_data();
    void boundsChooseTheQuery();
    void storeFailureIsReportedOnceAndRunEnds_data();
    void storeFailureIsReportedOnceAndRunEnds();

    void acceptanceRulesDecideWhichDrawnWordsCount_data();
    void acceptanceRulesDecideWhichDrawnWordsCount();
    void testedPositionIsWorkedOutForEachDrawnWord();
    void optionsChangedDuringRunApplyFromNextWord();
    void ruleNoWordMeetsRunsUntilStopped();
    void escapeStopsARunButNeverStartsOne();
    void drawnRowsSpanTheWholeWordSet();
    void generatorContinuesFromRunToRun();
    void properCaseIsDeliveredWhenAsked();

    void positionPromptRepeatsUntilNumeric();
    void positionBelowOneIsReportedOnceAndRunEnds_data();
    void positionBelowOneIsReportedOnceAndRunEnds();

    void fileGetsWordsJoinedByLayout_data();
    void fileGetsWordsJoinedByLayout();
    void nothingIsDeliveredWithoutLayoutOrOutput_data();
    void nothingIsDeliveredWithoutLayoutOrOutput();
    void stoppedFileRunLeavesSeparatorAfterLastWord_data();
    void stoppedFileRunLeavesSeparatorAfterLastWord();
    void runWithoutWordsLeavesFileUntouched_data();
    void runWithoutWordsLeavesFileUntouched();
    void writeFailureIsReportedOnceAndKeepsEarlierWords_data();
    void writeFailureIsReportedOnceAndKeepsEarlierWords();
    void switchToFileOutputDuringListRunFailsOnEmptyPath();

    void stopPressWithBadCountLeavesRunGoing();
    void secondPressInSameYieldStartsNestedRun();
    void statusLineCountsMatchesAndTellsWhatARunDelivered_data();
    void statusLineCountsMatchesAndTellsWhatARunDelivered();
    void wordOptionsChooseByFactsWhatIsCountedAndDrawn_data();
    void wordOptionsChooseByFactsWhatIsCountedAndDrawn();
};

void TestGenerationRun::countDecidesHowManyWordsTheListHolds_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("words");

    QTest::newRow("3") << "3" << 3;
    QTest::newRow("blanks around") << " 3 " << 3;
    QTest::newRow("2.5 rounds down to even") << "2.5" << 2;
    QTest::newRow("3.5 rounds up to even") << "3.5" << 4;
    QTest::newRow("exponent") << "1e1" << 10;
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("negative") << "-3" << 0;
}

void TestGenerationRun::countDecidesHowManyWordsTheListHolds()
{
    QFETCH(QString, count);
    QFETCH(int, words);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    for (int i = 0; i < 5; ++i)
        w.form.resultList()->append(QStringLiteral("old"));
    w.setCount(count);
    w.press();

    QCOMPARE(w.listed(), QStringList(words, QStringLiteral("alpha")));
    QCOMPARE(w.fake.pump.calls, words);
    // Even a run that draws nothing opens the store and makes its query.
    QCOMPARE(w.fake.words.openedPaths, QStringList { databasePath });
    QCOMPARE(w.fake.words.queries.size(), 1);
    QCOMPARE(w.fake.words.openConnections, 0);
    QVERIFY(w.fake.dialogs.entries.empty());
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::refusedCountChangesNothing_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("message");

    const QString notNumber = QStringLiteral("Must be number.");
    const QString tooBig = QStringLiteral("The number is too big because it is larger than 100000");
    QTest::newRow("empty") << "" << notNumber;
    QTest::newRow("letters") << "ten" << notNumber;
    QTest::newRow("two points") << "1.2.3" << notNumber;
    QTest::newRow("100000.4") << "100000.4" << tooBig;
    QTest::newRow("100001") << "100001" << tooBig;
    QTest::newRow("huge") << "1e999" << tooBig;
}

void TestGenerationRun::refusedCountChangesNothing()
{
    QFETCH(QString, count);
    QFETCH(QString, message);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    w.form.resultList()->append(QStringLiteral("old"));
    w.setCount(count);
    const size_t writes = w.fake.settings.writes.size();
    w.press();

    QCOMPARE(w.fake.dialogs.messages(), QStringList { message });
    QCOMPARE(w.fake.dialogs.entries.front().title, w.form.applicationTitle());
    QCOMPARE(w.fake.dialogs.entries.size(), size_t(1));
    QCOMPARE(w.listed(), QStringList { QStringLiteral("old") });
    QVERIFY(w.fake.words.openedPaths.isEmpty());
    QCOMPARE(w.fake.settings.writes.size(), writes);
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::fullCountOfOneHundredThousandIsProduced()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    w.setCount(QStringLiteral("100000"));
    w.press();

    QCOMPARE(w.form.resultList()->rowCount(), 100000);
    QCOMPARE(w.fake.pump.calls, 100000);
    QVERIFY(w.fake.dialogs.entries.empty());
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::windowLooksBusyDuringRunAndIdleAfter()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    w.setCount(QStringLiteral("3"));
    QList<QStringList> during;
    w.fake.pump.onEvery = [&](int) { during << w.look(); };
    w.press();

    const auto busy = [](const char* value) {
        return QStringList { QStringLiteral("Stop"), QStringLiteral("11"),
            QString::fromLatin1(value), QStringLiteral("Progress Bar") };
    };
    QCOMPARE(during, (QList<QStringList> { busy("33"), busy("67"), busy("100") }));
    QCOMPARE(w.look(), idleLook);
    QVERIFY(w.form.StopRequested);

    // A second run starts from the idle look just the same.
    during.clear();
    w.setCount(QStringLiteral("1"));
    w.press();
    QCOMPARE(during, QList<QStringList> { busy("100") });
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::boundsChooseTheQuery_data()
{
    QTest::addColumn<bool>("minimumTicked");
    QTest::addColumn<bool>("maximumTicked");
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("maximumAfter");
    QTest::addColumn<int>("refusedAt"); // a bound that is not a whole number: no query, one box

    const QString all = QStringLiteral("select * from words");
    QTest::newRow("no bounds") << false << false << "2"
                               << "4" << all << "4" << 0;
    QTest::newRow("both") << true << true << "2"
                          << "4" << all + " where length(word)>=2 AND length(word)<=4"
                          << "4" << 0;
    QTest::newRow("maximum") << false << true << "2"
                             << "4" << all + " where length(word)<=4"
                             << "4" << 0;
    QTest::newRow("minimum") << true << false << "2"
                             << "4" << all + " where length(word)>=2"
                             << "4" << 0;
    QTest::newRow("equal") << true << true << "5"
                           << "5" << all + " where length(word)>=5 AND length(word)<=5"
                           << "5" << 0;
    QTest::newRow("maximum raised") << true << true << "7"
                                    << "3" << all + " where length(word)>=7 AND length(word)<=7"
                                    << "7" << 0;
    QTest::newRow("maximum alone not raised") << false << true << "7"
                                              << "3" << all + " where length(word)<=3"
                                              << "3" << 0;
    QTest::newRow("minimum alone leaves maximum") << true << false << "7"
                                                  << "3" << all + " where length(word)>=7"
                                                  << "3" << 0;
    QTest::newRow("non-numeric minimum not copied") << true << true << "a"
                                                    << "3" << QString() << "3" << 166;
    QTest::newRow("parameter as maximum") << false << true << "2"
                                          << "?" << QString() << "?" << 170;
    QTest::newRow("parameter as minimum") << true << false << "?"
                                          << "4" << QString() << "4" << 174;
}

void TestGenerationRun::boundsChooseTheQuery()
{
    QFETCH(bool, minimumTicked);
    QFETCH(bool, maximumTicked);
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(QString, query);
    QFETCH(QString, maximumAfter);
    QFETCH(int, refusedAt);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    w.setCount(QStringLiteral("1"));
    w.form.Check6->setChecked(minimumTicked);
    w.form.Check5->setChecked(maximumTicked);
    w.form.Text2->setText(minimum);
    w.form.Text6->setText(maximum);
    w.press();

    QCOMPARE(w.fake.words.queries, query.isNull() ? QStringList() : QStringList { query });
    QCOMPARE(w.form.Text6->text(), maximumAfter);
    QCOMPARE(w.fake.settings.values.value(QStringLiteral("Text6")), maximumAfter);
    QCOMPARE(errorSteps(w.fake.dialogs), refusedAt ? QList<int> { refusedAt } : QList<int>());
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::storeFailureIsReportedOnceAndRunEnds_data()
{
    QTest::addColumn<bool>("openFails");
    QTest::addColumn<bool>("minimumTicked");
    QTest::addColumn<bool>("maximumTicked");
    QTest::addColumn<int>("step");

    QTest::newRow("open") << true << false << false << 150;
    QTest::newRow("query without bounds") << false << false << false << 156;
    QTest::newRow("query with both bounds") << false << true << true << 166;
    QTest::newRow("query with maximum") << false << false << true << 170;
    QTest::newRow("query with minimum") << false << true << false << 174;
}

void TestGenerationRun::storeFailureIsReportedOnceAndRunEnds()
{
    QFETCH(bool, openFails);
    QFETCH(bool, minimumTicked);
    QFETCH(bool, maximumTicked);
    QFETCH(int, step);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    (openFails ? w.fake.words.openFailure : w.fake.words.queryFailure)
        = QStringLiteral("store broken");
    w.form.Check6->setChecked(minimumTicked);
    w.form.Check5->setChecked(maximumTicked);
    w.setCount(QStringLiteral("3"));
    w.press();

    QCOMPARE(errorSteps(w.fake.dialogs), QList<int> { step });
    QVERIFY(w.fake.dialogs.errorBoxes().front().startsWith(QStringLiteral("store broken\r\n")));
    QCOMPARE(w.fake.dialogs.entries.size(), size_t(1));
    QCOMPARE(w.fake.words.queries.size(), openFails ? 0 : 1);
    QVERIFY(w.listed().isEmpty());
    QCOMPARE(w.fake.pump.calls, 0);
    QCOMPARE(w.fake.words.openConnections, 0);
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::acceptanceRulesDecideWhichDrawnWordsCount_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("startOn");
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("endOn");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("letter"); // empty: the letter rule is off
    QTest::addColumn<bool>("accepted");

    const QString vowel = QStringLiteral("[vowel]");
    const QString consonant = QStringLiteral("[consonant]");
    // clang-format off
    QTest::newRow("no rules") << "xyz" << false << "" << false << "" << "1st" << "" << true;
    QTest::newRow("last consonant: cat") << "cat" << false << "" << false << "" << "last" << consonant << true;
    QTest::newRow("last consonant: tree") << "tree" << false << "" << false << "" << "last" << consonant << false;
    QTest::newRow("4rd vowel: cat") << "cat" << false << "" << false << "" << "4rd" << vowel << false;
    QTest::newRow("4rd vowel: code") << "code" << false << "" << false << "" << "4rd" << vowel << true;
    QTest::newRow("1st consonant: yes") << "yes" << false << "" << false << "" << "1st" << consonant << true;
    QTest::newRow("1st consonant: apple") << "apple" << false << "" << false << "" << "1st" << consonant << false;
    QTest::newRow("1st vowel: Éclair") << "Éclair" << false << "" << false << "" << "1st" << vowel << false;
    QTest::newRow("1st consonant: Éclair") << "Éclair" << false << "" << false << "" << "1st" << consonant << true;
    QTest::newRow("start A: apple") << "apple" << true << "A" << false << "" << "1st" << "" << true;
    QTest::newRow("start A: Apple") << "Apple" << true << "A" << false << "" << "1st" << "" << true;
    QTest::newRow("start a: berry") << "berry" << true << "a" << false << "" << "1st" << "" << false;
    QTest::newRow("start empty") << "apple" << true << "" << false << "" << "1st" << "" << false;
    QTest::newRow("start blank") << "apple" << true << " " << false << "" << "1st" << "" << false;
    QTest::newRow("end T: cat") << "cat" << false << "" << true << "T" << "1st" << "" << true;
    QTest::newRow("end t: tree") << "tree" << false << "" << true << "t" << "1st" << "" << false;
    QTest::newRow("2nd e: bed") << "bed" << false << "" << false << "" << "2nd" << "e" << true;
    QTest::newRow("2nd e: bad") << "bad" << false << "" << false << "" << "2nd" << "e" << false;
    QTest::newRow("3rd e: BEE") << "BEE" << false << "" << false << "" << "3rd" << "e" << true;
    QTest::newRow("all three hold") << "cat" << true << "c" << true << "t" << "2nd" << vowel << true;
    QTest::newRow("end fails alone") << "cat" << true << "c" << true << "s" << "2nd" << vowel << false;
    QTest::newRow("start fails alone") << "cat" << true << "b" << true << "t" << "2nd" << vowel << false;
    // clang-format on
}

void TestGenerationRun::acceptanceRulesDecideWhichDrawnWordsCount()
{
    QFETCH(QString, word);
    QFETCH(bool, startOn);
    QFETCH(QString, start);
    QFETCH(bool, endOn);
    QFETCH(QString, end);
    QFETCH(QString, position);
    QFETCH(QString, letter);
    QFETCH(bool, accepted);

    Window w;
    QVERIFY(w.load({ word }));
    w.setCount(QStringLiteral("1"));
    w.form.Check2->setChecked(startOn);
    w.form.Text3->setText(start);
    w.form.Check3->setChecked(endOn);
    w.form.Text4->setText(end);
    w.form.Combo2->setCurrentText(position);
    w.form.Check4->setChecked(!letter.isEmpty());
    if (!letter.isEmpty())
        w.form.Combo3->setCurrentText(letter);
    // A rejected word is drawn again and again; the second attempt stops the run.
    w.pressAtYield(2);
    w.press();

    QCOMPARE(w.listed(), accepted ? QStringList { word } : QStringList());
    QCOMPARE(w.fake.pump.calls, accepted ? 1 : 2);
    QVERIFY(w.fake.dialogs.entries.empty());
}

void TestGenerationRun::testedPositionIsWorkedOutForEachDrawnWord()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("cat"), QStringLiteral("together") }));
    w.setCount(QStringLiteral("1"));
    w.form.Combo2->setCurrentText(QStringLiteral("4rd"));
    w.form.Check4->setChecked(true);
    w.form.Combo3->setCurrentText(QStringLiteral("[vowel]"));
    w.fake.random.script = { 0.0 };
    w.press();

    // Only "together" has a vowel at its 4th letter; "cat" is tested at its last.
    QCOMPARE(w.listed(), QStringList { QStringLiteral("together") });
    QCOMPARE(w.fake.pump.calls, 1);
}

void TestGenerationRun::optionsChangedDuringRunApplyFromNextWord()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("apple"), QStringLiteral("berry") }));
    w.setCount(QStringLiteral("3"));
    w.form.Check2->setChecked(true);
    w.form.Text3->setText(QStringLiteral("a"));
    w.fake.random.script = { 0.0, 0.9, 0.9 };
    // Only apple can be drawn until the rule is dropped during the yield of attempt 3.
    w.fake.pump.actions[3] = [&] {
        w.form.Check2->setChecked(false);
        w.form.Check1->setChecked(true);
    };
    w.press();

    QCOMPARE(w.listed(),
        (QStringList {
            QStringLiteral("apple"), QStringLiteral("apple"), QStringLiteral("Berry") }));
    QCOMPARE(w.fake.pump.calls, 3);
}

void TestGenerationRun::ruleNoWordMeetsRunsUntilStopped()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("apple"), QStringLiteral("berry") }));
    w.setCount(QStringLiteral("3"));
    w.form.Check2->setChecked(true);
    w.form.Text3->setText(QString());
    QSet<int> barValues;
    w.fake.pump.onEvery = [&](int) { barValues << w.form.ProgressBar1->value(); };
    w.fake.random.script = { 0.25 };
    w.pressAtYield(200);
    w.press();

    // It waits for the user instead of drawing.
    QVERIFY(w.listed().isEmpty());
    QCOMPARE(w.fake.pump.calls, 200);
    QCOMPARE(w.fake.pump.waits, 100);
    QCOMPARE(w.fake.random.script.size(), size_t(1));
    QCOMPARE(barValues, QSet<int> { 33 });
    QVERIFY(w.fake.dialogs.entries.empty());
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::escapeStopsARunButNeverStartsOne()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("apple") }));
    w.setCount(QStringLiteral("5"));
    QShortcut* escape = nullptr;
    for (QShortcut* shortcut : w.form.findChildren<QShortcut*>()) {
        if (shortcut->key() == QKeySequence(Qt::Key_Escape))
            escape = shortcut;
    }
    QVERIFY(escape);
    emit escape->activated();
    QVERIFY(w.listed().isEmpty());
    QCOMPARE(w.look(), idleLook);
    w.fake.pump.actions[w.fake.pump.calls + 3] = [escape] { emit escape->activated(); };
    w.press();
    QCOMPARE(w.listed().size(), 3);
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::drawnRowsSpanTheWholeWordSet()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("first"), QStringLiteral("middle"), QStringLiteral("last") }));
    w.setCount(QStringLiteral("3"));
    w.fake.random.script = { 0.0, 0.999999, 0.5 };
    w.press();

    QCOMPARE(w.listed(),
        (QStringList {
            QStringLiteral("first"), QStringLiteral("last"), QStringLiteral("middle") }));
}

void TestGenerationRun::generatorContinuesFromRunToRun()
{
    Window w;
    QStringList words;
    for (char c = 'a'; c <= 'z'; ++c)
        words << QString(QLatin1Char(c));
    QVERIFY(w.load(words));
    w.setCount(QStringLiteral("8"));
    w.press();
    const QStringList first = w.listed();
    w.press();

    QCOMPARE(w.listed().size(), 8);
    QVERIFY(w.listed() != first);
}

void TestGenerationRun::properCaseIsDeliveredWhenAsked()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("ice cream") }));
    w.setCount(QStringLiteral("1"));
    w.form.Check1->setChecked(true);
    w.press();
    QCOMPARE(w.listed(), QStringList { QStringLiteral("Ice Cream") });

    w.toFolder(QStringLiteral("/out"), commas);
    w.press();
    QCOMPARE(w.fake.writer.files[QStringLiteral("/out/Words.txt")], QStringLiteral("Ice Cream"));
}

void TestGenerationRun::positionPromptRepeatsUntilNumeric()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("bad"), QStringLiteral("bed") }));
    w.setCount(QStringLiteral("1"));
    w.form.Combo2->setCurrentText(QStringLiteral("x"));
    w.fake.dialogs.promptAnswers = { QStringLiteral("two"), QString(), QStringLiteral(" 2 ") };
    QStringList captions;
    w.fake.dialogs.onMessage = [&](const QString&) { captions << w.form.PushButton1->text(); };
    w.press();

    QCOMPARE(w.fake.dialogs.prompts(), QStringList(3, QStringLiteral("Enter X: ")));
    QCOMPARE(w.fake.dialogs.messages(), QStringList(2, QStringLiteral("Must be a numeric entry.")));
    QCOMPARE(captions, QStringList(2, QStringLiteral("Stop")));
    QCOMPARE(promptTitles(w.fake.dialogs), QStringList(3, QStringLiteral("Input X")));
    // Asked even with the letter rule off; with it on, the entered position is the one tested.
    QCOMPARE(w.listed().size(), 1);

    w.form.Check4->setChecked(true);
    w.form.Combo3->setCurrentText(QStringLiteral("e"));
    w.fake.dialogs.promptAnswers = { QStringLiteral("2") };
    w.fake.random.script = { 0.0, 0.0, 0.9 };
    w.press();
    QCOMPARE(w.listed(), QStringList { QStringLiteral("bed") });
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::positionBelowOneIsReportedOnceAndRunEnds_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("step");

    QTest::newRow("0, vowel") << "0"
                              << "[vowel]" << 232;
    QTest::newRow("0, consonant") << "0"
                                  << "[consonant]" << 240;
    QTest::newRow("0, letter") << "0"
                               << "e" << 246;
    QTest::newRow("negative") << "-2"
                              << "[vowel]" << 232;
    QTest::newRow("rounds to 0") << "0.5"
                                 << "[vowel]" << 232;
}

void TestGenerationRun::positionBelowOneIsReportedOnceAndRunEnds()
{
    QFETCH(QString, position);
    QFETCH(QString, letter);
    QFETCH(int, step);

    Window w;
    QVERIFY(w.load({ QStringLiteral("cat") }));
    w.setCount(QStringLiteral("3"));
    w.form.Combo2->setCurrentText(QStringLiteral("x"));
    w.form.Check4->setChecked(true);
    w.form.Combo3->setCurrentText(letter);
    w.fake.dialogs.promptAnswers = { position };
    w.press();

    QCOMPARE(errorSteps(w.fake.dialogs), QList<int> { step });
    // The failed test counts as passed: the word is delivered.
    QCOMPARE(w.listed(), QStringList { QStringLiteral("cat") });
    QCOMPARE(w.fake.pump.calls, 1);
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::fileGetsWordsJoinedByLayout_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("content");

    QTest::newRow("multiple lines")
        << "Save as multiple lines" << QStringList() << "alpha\r\nbeta\r\ngamma";
    QTest::newRow("spaces") << "Save as one line separated by spaces" << QStringList()
                            << "alpha beta gamma";
    QTest::newRow("commas") << commas << QStringList() << "alpha,beta,gamma";
    QTest::newRow("comma-spaces") << "Save as one line separated by comma-spaces" << QStringList()
                                  << "alpha, beta, gamma";
    QTest::newRow("typed") << typedSeparator << QStringList { "", "", "-+" }
                           << "alpha-+beta-+gamma";
    QTest::newRow("typed blank") << typedSeparator << QStringList { " " } << "alpha beta gamma";
}

void TestGenerationRun::fileGetsWordsJoinedByLayout()
{
    QFETCH(QString, layout);
    QFETCH(QStringList, answers);
    QFETCH(QString, content);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma") }));
    w.form.resultList()->append(QStringLiteral("kept"));
    w.toFolder(QStringLiteral("/home/u/"), layout);
    w.setCount(QStringLiteral("3"));
    w.fake.dialogs.promptAnswers.assign(answers.begin(), answers.end());
    const QString path = QStringLiteral("//home/u/Words.txt");
    const QString file = QStringLiteral("/home/u/Words.txt");
    w.fake.writer.files[file] = QStringLiteral("earlier contents");
    w.fake.random.script = { 0.0, 0.4, 0.9 };
    w.press();

    QCOMPARE(w.fake.writer.files[file], content);
    QCOMPARE(w.fake.writer.files.size(), size_t(1));
    QList<int> pieces;
    for (const FakeTextWriter::Call& call : w.fake.writer.calls) {
        pieces << call.piece;
        QCOMPARE(call.path, path);
    }
    QCOMPARE(pieces, (QList<int> { 1, 2, 3 }));
    QCOMPARE(w.fake.dialogs.prompts(), QStringList(answers.size(), QStringLiteral("Enter x: ")));
    QCOMPARE(promptTitles(w.fake.dialogs), QStringList(answers.size(), QStringLiteral("Input X")));
    QVERIFY(w.fake.dialogs.messages().isEmpty());
    QCOMPARE(w.listed(), QStringList { QStringLiteral("kept") });
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::nothingIsDeliveredWithoutLayoutOrOutput_data()
{
    QTest::addColumn<bool>("noLayout");

    QTest::newRow("no layout picked") << true;
    QTest::newRow("no output chosen") << false;
}

void TestGenerationRun::nothingIsDeliveredWithoutLayoutOrOutput()
{
    QFETCH(bool, noLayout);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    w.form.resultList()->append(QStringLiteral("kept"));
    w.toFolder(QStringLiteral("/out"), commas);
    if (noLayout)
        w.form.Combo1->setCurrentIndex(-1);
    else
        w.form.Option8->setChecked(false);
    w.setCount(QStringLiteral("4"));
    w.press();

    QVERIFY(w.fake.writer.calls.empty());
    QCOMPARE(w.listed(), QStringList { QStringLiteral("kept") });
    QCOMPARE(w.fake.pump.calls, 4);
    QVERIFY(w.fake.dialogs.entries.empty());
}

void TestGenerationRun::stoppedFileRunLeavesSeparatorAfterLastWord_data()
{
    QTest::addColumn<int>("pressAt");
    QTest::addColumn<QString>("content");

    // The attempt whose yield took the press still delivers its word.
    QTest::newRow("first yield") << 1 << "alpha,";
    QTest::newRow("second yield") << 2 << "alpha,beta,";
    QTest::newRow("third yield") << 3 << "alpha,beta,gamma,";
}

void TestGenerationRun::stoppedFileRunLeavesSeparatorAfterLastWord()
{
    QFETCH(int, pressAt);
    QFETCH(QString, content);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma") }));
    w.toFolder(QStringLiteral("/out"), commas);
    w.setCount(QStringLiteral("5"));
    w.fake.random.script = { 0.0, 0.4, 0.9 };
    QStringList captions;
    w.fake.pump.actions[pressAt] = [&] {
        w.press();
        captions << w.form.PushButton1->text();
    };
    w.press();

    QCOMPARE(w.fake.writer.files[QStringLiteral("/out/Words.txt")], content);
    QCOMPARE(w.fake.pump.calls, pressAt);
    QCOMPARE(captions, QStringList { startCaption });
    QVERIFY(w.fake.dialogs.entries.empty());
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::runWithoutWordsLeavesFileUntouched_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("emptyWordSet");
    QTest::addColumn<bool>("rejectAll");
    QTest::addColumn<int>("yields");

    QTest::newRow("count 0") << "0" << false << false << 0;
    QTest::newRow("negative count") << "-1" << false << false << 0;
    QTest::newRow("empty word set") << "3" << true << false << 0;
    QTest::newRow("stopped before a word was accepted") << "3" << false << true << 4;
}

void TestGenerationRun::runWithoutWordsLeavesFileUntouched()
{
    QFETCH(QString, count);
    QFETCH(bool, emptyWordSet);
    QFETCH(bool, rejectAll);
    QFETCH(int, yields);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    w.toFolder(QStringLiteral("/out"), commas);
    const QString path = QStringLiteral("/out/Words.txt");
    w.fake.writer.files[path] = QStringLiteral("earlier contents");
    w.setCount(count);
    if (emptyWordSet)
        w.fake.words.filter = [](const QString&, const QString&) { return false; };
    if (rejectAll) {
        w.form.Check2->setChecked(true);
        w.form.Text3->setText(QStringLiteral("z"));
        w.pressAtYield(3);
    }
    w.press();

    QVERIFY(w.fake.writer.calls.empty());
    QCOMPARE(w.fake.writer.files[path], QStringLiteral("earlier contents"));
    QCOMPARE(w.fake.pump.calls, yields);
    QCOMPARE(w.fake.words.openConnections, 0);
    QVERIFY(w.fake.dialogs.entries.empty());
    QCOMPARE(w.look(), idleLook);

    // The next run that delivers a word replaces the contents.
    w.form.Check2->setChecked(false);
    w.fake.words.filter = nullptr;
    w.setCount(QStringLiteral("1"));
    w.press();
    QCOMPARE(w.fake.writer.files[path], QStringLiteral("alpha"));
}

void TestGenerationRun::writeFailureIsReportedOnceAndKeepsEarlierWords_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("step");

    QTest::newRow("word with separator") << "5" << 292;
    QTest::newRow("last word") << "3" << 294;
}

void TestGenerationRun::writeFailureIsReportedOnceAndKeepsEarlierWords()
{
    QFETCH(QString, count);
    QFETCH(int, step);

    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma") }));
    w.toFolder(QStringLiteral("/out"), commas);
    w.setCount(count);
    w.fake.random.script = { 0.0, 0.4, 0.9 };
    w.fake.pump.actions[3] = [&] { w.fake.writer.failure = QStringLiteral("Permission denied"); };
    w.press();

    QCOMPARE(errorSteps(w.fake.dialogs), QList<int> { step });
    QVERIFY(w.fake.dialogs.errorBoxes().front().startsWith(QStringLiteral("Permission denied")));
    QCOMPARE(w.fake.writer.calls.size(), size_t(3));
    QCOMPARE(w.fake.writer.files[QStringLiteral("/out/Words.txt")], QStringLiteral("alpha,beta,"));
    QCOMPARE(w.fake.pump.calls, 3);
    QVERIFY(w.fake.dialogs.messages().isEmpty());
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::switchToFileOutputDuringListRunFailsOnEmptyPath()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    w.setCount(QStringLiteral("5"));
    w.fake.pump.actions[2] = [&] { w.form.Option8->click(); };
    w.press();

    QCOMPARE(w.listed(), QStringList { QStringLiteral("alpha") });
    QCOMPARE(w.fake.writer.calls.size(), size_t(1));
    QCOMPARE(w.fake.writer.calls.front().path, QString());
    QCOMPARE(errorSteps(w.fake.dialogs), QList<int> { 276 });
    QCOMPARE(w.fake.pump.calls, 2);
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::stopPressWithBadCountLeavesRunGoing()
{
    Window w;
    QVERIFY(w.load({ QStringLiteral("alpha") }));
    w.setCount(QStringLiteral("3"));
    QString captionAfter;
    w.fake.pump.actions[2] = [&] {
        w.setCount(QStringLiteral("many"));
        w.press();
        captionAfter = w.form.PushButton1->text();
    };
    w.press();

    QCOMPARE(w.fake.dialogs.messages(), QStringList { QStringLiteral("Must be number.") });
    QCOMPARE(captionAfter, QStringLiteral("Stop"));
    QCOMPARE(w.listed().size(), 3);
    QCOMPARE(w.fake.pump.calls, 3);
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::secondPressInSameYieldStartsNestedRun()
{
    Window w;
    const QStringList words { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
        QStringLiteral("d"), QStringLiteral("e") };
    QVERIFY(w.load(words));
    w.setCount(QStringLiteral("3"));
    // Outer attempt 1 draws a; the nested run draws b, c, d; the outer attempt 2 then draws e.
    w.fake.random.script = { 0.0, 0.2, 0.4, 0.6, 0.8 };
    w.fake.pump.actions[2] = [&] {
        w.press();
        w.press();
    };
    w.press();

    QCOMPARE(w.listed(),
        (QStringList {
            QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"), QStringLiteral("e") }));
    QCOMPARE(w.fake.pump.calls, 5);
    QCOMPARE(w.fake.words.openedPaths.size(), 2);
    QCOMPARE(w.fake.words.openConnections, 0);
    QVERIFY(w.fake.dialogs.entries.empty());
    QCOMPARE(w.look(), idleLook);
}

void TestGenerationRun::statusLineCountsMatchesAndTellsWhatARunDelivered_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("toFile");
    QTest::addColumn<int>("stopAt");
    QTest::addColumn<QString>("expected");

    const QString none = "No word matches these options";
    QTest::newRow("every word") << "" << 0 << 0 << false << 0 << "4 of 4 words match";
    QTest::newRow("start rule") << "c" << 0 << 0 << false << 0 << "2 of 4 words match";
    QTest::newRow("one word") << "e" << 0 << 0 << false << 0 << "1 of 4 words matches";
    QTest::newRow("no word") << "z" << 0 << 0 << false << 0 << none;
    QTest::newRow("length bound") << "" << 4 << 0 << false << 0 << none;
    QTest::newRow("list run") << "" << 0 << 3 << false << 0 << "3 words in the list";
    QTest::newRow("file run") << "" << 0 << 1 << true << 0 << "1 word written to /out/Words.txt";
    QTest::newRow("stopped run") << "" << 0 << 5 << false << 3 << "Stopped after 3 words";
    // A negative stopAt: the disk fills at that yield.
    QTest::newRow("run ended by a write error")
        << "" << 0 << 5 << true << -3
        << "Ended by an error after 2 words written to /out/Words.txt";
    QTest::newRow("run without a match") << "z" << 0 << 2 << false << 2 << none;
}

void TestGenerationRun::statusLineCountsMatchesAndTellsWhatARunDelivered()
{
    QFETCH(QString, start);
    QFETCH(int, minimum);
    QFETCH(int, count);
    QFETCH(bool, toFile);
    QFETCH(int, stopAt);
    QFETCH(QString, expected);

    QLocale::setDefault(QLocale::c());
    QCOMPARE(StatusLine::countText(12345, 64069, 13.59),
        QStringLiteral("12345 of 64069 words match \u00b7 13.59 bits a word"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(StatusLine::countText(12345, 64069, 13.59),
        QStringLiteral("12,345 of 64,069 words match \u00b7 13.59 bits a word"));
    QCOMPARE(StatusLine::countText(0, 0, 0), "The word database holds no words");
    Window w;
    QVERIFY(w.load({ "cat", "dog", "cow", "emu" }));
    w.form.Check2->setChecked(!start.isEmpty());
    w.form.Text3->setText(start);
    w.form.Check6->setChecked(minimum > 0);
    w.form.Text2->setText(QString::number(minimum));
    if (toFile)
        w.toFolder("/out", commas);
    if (count > 0) {
        w.setCount(QString::number(count));
        if (stopAt > 0)
            w.pressAtYield(stopAt);
        if (stopAt < 0)
            w.fake.pump.actions[-stopAt] = [&] { w.fake.writer.failure = "No space left"; };
        w.press();
    }
    // The strength of a word is the next test's.
    QTRY_COMPARE(w.form.StatusText->text().section(QStringLiteral(" \u00b7 "), 0, 0), expected);
    QCOMPARE(QAccessible::queryAccessibleInterface(w.form.StatusText)->text(QAccessible::Name),
        w.form.StatusText->text());
}

void TestGenerationRun::wordOptionsChooseByFactsWhatIsCountedAndDrawn_data()
{
    QTest::addColumn<bool>("facts");
    QTest::addColumn<QList<int>>(
        "choices"); // commonness, kind, spelling, offensive box[, topic, syllables]
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("listed"); // four draws, one from each quarter

    // clang-format off
    QTest::newRow("defaults: no offensive or British-only word") << true << QList { 0, 0, 0, 1 } << "2 of 3 words match \u00b7 1.00 bits a word" << "cat cat walk walk";
    QTest::newRow("defaults without facts: every word") << false << QList { 0, 0, 0, 1 } << "4 of 4 words match \u00b7 2.00 bits a word" << "cat zorp colour walk";
    QTest::newRow("everyday") << true << QList { 1, 0, 0, 1 } << "1 of 3 words matches \u00b7 0.00 bits a word" << "cat cat cat cat";
    QTest::newRow("British verbs") << true << QList { 0, 2, 1, 1 } << "2 of 3 words match \u00b7 1.00 bits a word" << "colour colour walk walk";
    QTest::newRow("any spelling, offensive too") << true << QList { 0, 0, 3, 0 } << "4 of 4 words match \u00b7 2.00 bits a word" << "cat zorp colour walk";
    QTest::newRow("common without facts") << false << QList { 2, 0, 0, 1 } << "Level, kind, spelling, topic, syllables and rhymes need word facts, which this word list does not have" << "";
    QTest::newRow("animals") << true << QList { 0, 0, 0, 1, 4, 0 } << "1 of 3 words matches \u00b7 0.00 bits a word" << "cat cat cat cat";
    QTest::newRow("6+ syllables, any spelling") << true << QList { 0, 0, 3, 1, 0, 6 } << "1 of 4 words matches \u00b7 0.00 bits a word" << "colour colour colour colour";
    // clang-format on
}

void TestGenerationRun::wordOptionsChooseByFactsWhatIsCountedAndDrawn()
{
    QFETCH(bool, facts);
    QFETCH(QList<int>, choices);
    QFETCH(QString, status);
    QFETCH(QString, listed);

    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Window w;
    using namespace Spelling;
    if (facts) {
        // zorp stands for an offensive word, colour for a British-only one.
        w.fake.words.facts = { { "cat",
                                   { 10, WordKind::Noun, American | British | Canadian, 0, 6, 1 } },
            { "zorp", { 50, WordKind::Noun, American, 1, 0, 7 } },
            { "colour", { 10, WordKind::Noun | WordKind::Verb, British | Canadian, 0, 0, 9 } },
            { "walk", { 35, WordKind::Verb, American | British | Canadian, 0, 39, 1 } } };
        // A definition is text, however it looks, and a tooltip shows only its start.
        w.fake.words.definitions = { { "cat", "<img src=\"cat.png\">" + QString(2000, u'a') },
            { "walk", "go on foot" }, { "colour/2", "give a colour to" } };
    }
    QVERIFY(w.load({ "cat", "zorp", "colour", "walk" }));
    w.form.Combo4->setCurrentIndex(choices[0]);
    w.form.Combo5->setCurrentIndex(choices[1]);
    w.form.Combo6->setCurrentIndex(choices[2]);
    w.form.Check7->setChecked(choices[3]);
    if (choices.size() > 4) {
        w.form.Combo7->setCurrentIndex(choices[4]);
        w.form.Combo8->setCurrentIndex(choices[5]);
    }
    QTRY_COMPARE(w.form.StatusText->text(), status);

    w.setCount(QStringLiteral("4"));
    w.fake.random.script = { 0.1, 0.35, 0.6, 0.85 };
    w.press();
    QCOMPARE(w.listed().join(' '), listed);
    // Without facts a rule on them is the user's choice, told once in a plain box.
    QCOMPARE(errorSteps(w.fake.dialogs), QList<int>());
    QCOMPARE(w.fake.dialogs.messages().size(), listed.isEmpty() ? 1 : 0);
    // A row's tooltip is its word's definition, in the kind chosen (bit 1 << index - 1).
    const QString kind = choices[1] ? u'/' + QString::number(1 << (choices[1] - 1)) : QString();
    const QString definition = w.fake.words.definitions.value(w.listed().value(0) + kind);
    const QString tip = w.form.resultList()->index(0, 0).data(Qt::ToolTipRole).toString();
    const qsizetype most = ResultListModel::shownDefinitionCharacters;
    QCOMPARE(tip.size(), std::min(definition.size(), most + 1));
    QVERIFY(definition.startsWith(tip.left(most)));
    if (definition.startsWith("<img")) {
        QWidget* rows = w.form.ListView1->viewport();
        QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), rows->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(rows, &help);
        QVERIFY(QToolTip::text().contains("&lt;img src=&quot;cat.png&quot;&gt;aaa"));
    }
}

QTEST_MAIN(TestGenerationRun)
#include "tst_generationRun.moc"
