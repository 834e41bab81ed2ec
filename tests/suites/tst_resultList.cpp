#include "FakePlatform.h"
#include "app/ResultListModel.h"
#include "window/Form1.h"
#include "window/ResultListView.h"

#include <QAccessible>
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QtTest>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace {

QStringList wordsOf(const ResultListModel& list)
{
    QStringList words;
    for (int row = 1; row <= list.rowCount(); ++row)
        words << list.cellText(row, 1);
    return words;
}

QList<bool> checksOf(const ResultListModel& list)
{
    QList<bool> checks;
    for (int row = 1; row <= list.rowCount(); ++row)
        checks << list.isChecked(row);
    return checks;
}

// A loaded window whose list holds the given words.
struct Window
{
    FakePlatform fake;
    Form1 form { fake.platform };
    ResultListModel& list = *form.resultList();

    bool load(const QStringList& words)
    {
        if (!form.Form_Load())
            return false;
        for (const QString& word : words)
            list.append(word);
        return true;
    }
    void select(int row) { form.ListView1->setCurrentIndex(list.index(row - 1, 0)); }
};

const QStringList threeWords { "w1", "w2", "w3" };

// The rows whose tick screen readers were told had changed.
QList<int> toldTicks;

void keepTicks(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::StateChanged
        && static_cast<QAccessibleStateChangeEvent*>(event)->changedStates().checked)
        toldTicks << event->child();
}

// How the clear command is given.
enum Press
{
    Handler,
    Click,
    ReturnKey,
    LetterKey
};

} // namespace

class TestResultList : public QObject
{
    Q_OBJECT

private slots:
    void appendedRowsKeepTheirOrderAndStartUnticked();
    void listAnswersAsAListSource();
    void outOfRangeAccessThrows();
    void columnIsHeadedAndSizedAfterLoad();
    void clearResults_data();
    void clearResults();
    void deleteKey_data();
    void deleteKey();
    void deleteKeyOnAnEmptyListDoesNothing();
    void spaceTogglesTheCurrentRow();
    void tickAllAndUntickAllRoundTrip();
};

void TestResultList::appendedRowsKeepTheirOrderAndStartUnticked()
{
    Window w;
    QVERIFY(w.load({ "pear", "apple", "fig", "apple" }));
    QCOMPARE(wordsOf(w.list), QStringList({ "pear", "apple", "fig", "apple" }));
    QCOMPARE(checksOf(w.list), QList<bool>({ false, false, false, false }));
    QCOMPARE(w.list.data(w.list.index(3, 0), Qt::CheckStateRole), QVariant(Qt::Unchecked));
    QVERIFY(w.list.flags(w.list.index(0, 0)).testFlag(Qt::ItemIsUserCheckable));
}

void TestResultList::listAnswersAsAListSource()
{
    Window w;
    QVERIFY(w.load(threeWords));
    w.list.setChecked(2, true);
    const ListSource& source = w.list;
    QCOMPARE(source.rowCount(), 3);
    QCOMPARE(source.columnCount(), 1);
    QCOMPARE(source.headerText(1), QString("Generated Words"));
    QCOMPARE(source.cellText(3, 1), QString("w3"));
    QCOMPARE(source.isChecked(1), false);
    QCOMPARE(source.isChecked(2), true);

    // A very long word is shown cut short, and kept whole for the exports.
    const QString longWord(ResultListModel::shownCharacters + 1, 'x');
    w.list.append(longWord);
    QCOMPARE(source.cellText(4, 1), longWord);
    QCOMPARE(w.list.data(w.list.index(3, 0), Qt::DisplayRole).toString(),
        longWord.left(ResultListModel::shownCharacters) + QChar(0x2026));
    QCOMPARE(w.list.data(w.list.index(2, 0), Qt::DisplayRole).toString(), "w3");
}

void TestResultList::outOfRangeAccessThrows()
{
    Window w;
    QVERIFY(w.load(threeWords));
    const ListSource& source = w.list;
    QVERIFY_THROWS_EXCEPTION(PlatformError, source.cellText(0, 1));
    QVERIFY_THROWS_EXCEPTION(PlatformError, source.cellText(4, 1));
    QVERIFY_THROWS_EXCEPTION(PlatformError, source.cellText(1, 2));
    QVERIFY_THROWS_EXCEPTION(PlatformError, source.cellText(1, 0));
    QVERIFY_THROWS_EXCEPTION(PlatformError, source.headerText(0));
    QVERIFY_THROWS_EXCEPTION(PlatformError, source.headerText(2));
    QVERIFY_THROWS_EXCEPTION(PlatformError, source.isChecked(0));
    QVERIFY_THROWS_EXCEPTION(PlatformError, source.isChecked(4));
    QVERIFY_THROWS_EXCEPTION(PlatformError, w.list.remove(4));
    QVERIFY_THROWS_EXCEPTION(PlatformError, w.list.setChecked(0, true));
    QCOMPARE(wordsOf(w.list), threeWords);
}

void TestResultList::columnIsHeadedAndSizedAfterLoad()
{
    Window w;
    QVERIFY(w.load({}));
    QCOMPARE(w.list.columnCount(QModelIndex()), 1);
    QCOMPARE(w.list.headerData(0, Qt::Horizontal, Qt::DisplayRole), QVariant("Generated Words"));
    // 7000 twips at 15 twips a pixel.
    QCOMPARE(w.form.ListView1->header()->sectionSize(0), 467);
}

void TestResultList::clearResults_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("pointer");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("handler empties the list") << threeWords << int(Handler) << 0 << QStringList();
    QTest::newRow("click empties the list") << threeWords << int(Click) << 0 << QStringList();
    QTest::newRow("Return empties the list") << threeWords << int(ReturnKey) << 0 << QStringList();
    QTest::newRow("another key keeps the rows") << threeWords << int(LetterKey) << 0 << threeWords;
    QTest::newRow("custom pointer is not busy") << threeWords << int(Click) << 99 << QStringList();
    QTest::newRow("hourglass keeps the rows") << threeWords << int(Handler) << 11 << threeWords;
    QTest::newRow("hourglass keeps the rows on click")
        << threeWords << int(Click) << 11 << threeWords;
    QTest::newRow("empty list") << QStringList() << int(Handler) << 0 << QStringList();
}

void TestResultList::clearResults()
{
    QFETCH(QStringList, words);
    QFETCH(int, press);
    QFETCH(int, pointer);
    QFETCH(QStringList, expected);

    Window w;
    QVERIFY(w.load(words));
    w.form.setMousePointer(pointer);
    const size_t entriesBefore = w.fake.dialogs.entries.size();
    if (press == Click)
        QTest::mouseClick(w.form.PushButton4, Qt::LeftButton);
    else if (press == ReturnKey || press == LetterKey)
        QTest::keyClick(w.form.PushButton4, press == ReturnKey ? Qt::Key_Return : Qt::Key_A);
    else
        w.form.PushButton4_Click();
    QCOMPARE(wordsOf(w.list), expected);
    QCOMPARE(w.form.StatusText->text() == "List cleared", pointer != 11 && press != LetterKey);
    QCOMPARE(w.fake.dialogs.entries.size(), entriesBefore);
    QCOMPARE(w.form.mousePointer(), pointer);
}

void TestResultList::deleteKey_data()
{
    QTest::addColumn<bool>("realKey");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("selected");
    QTest::addColumn<int>("pointer");
    QTest::addColumn<int>("keyCode");
    QTest::addColumn<QStringList>("expected");

    const QStringList withoutMiddle { "w1", "w3" };
    const int none = Qt::NoModifier;
    QTest::newRow("key removes the middle row") << true << none << 2 << 0 << 46 << withoutMiddle;
    QTest::newRow("handler removes the middle row")
        << false << none << 2 << 0 << 46 << withoutMiddle;
    QTest::newRow("key removes the first row")
        << true << none << 1 << 0 << 46 << QStringList({ "w2", "w3" });
    QTest::newRow("key removes the last row")
        << true << none << 3 << 0 << 46 << QStringList({ "w1", "w2" });
    QTest::newRow("shift+delete") << true << int(Qt::ShiftModifier) << 2 << 0 << 46
                                  << withoutMiddle;
    QTest::newRow("ctrl+delete") << true << int(Qt::ControlModifier) << 2 << 0 << 46
                                 << withoutMiddle;
    QTest::newRow("handler with shift")
        << false << int(Qt::ShiftModifier | Qt::AltModifier) << 2 << 0 << 46 << withoutMiddle;
    QTest::newRow("hourglass, key") << true << none << 2 << 11 << 46 << threeWords;
    QTest::newRow("hourglass, handler") << false << none << 2 << 11 << 46 << threeWords;
    QTest::newRow("no selection, key") << true << none << 0 << 0 << 46 << threeWords;
    QTest::newRow("no selection, handler") << false << none << 0 << 0 << 46 << threeWords;
    QTest::newRow("another key code") << false << none << 2 << 0 << 8 << threeWords;
}

void TestResultList::deleteKey()
{
    QFETCH(bool, realKey);
    QFETCH(int, modifiers);
    QFETCH(int, selected);
    QFETCH(int, pointer);
    QFETCH(int, keyCode);
    QFETCH(QStringList, expected);

    Window w;
    QVERIFY(w.load(threeWords));
    // The last row is ticked: its check state has to move up with its text.
    w.list.setChecked(3, true);
    if (selected > 0)
        w.select(selected);
    w.form.setMousePointer(pointer);

    const auto shift = Qt::KeyboardModifiers::fromInt(modifiers);
    if (realKey)
        QTest::keyClick(w.form.ListView1, Qt::Key_Delete, shift);
    else
        w.form.ListView1_KeyDown(keyCode, shift);

    QCOMPARE(wordsOf(w.list), expected);
    QCOMPARE(w.form.StatusText->text() == "1 row deleted, 2 left", expected != threeWords);
    const qsizetype w3 = expected.indexOf("w3");
    for (int row = 1; row <= w.list.rowCount(); ++row)
        QCOMPARE(w.list.isChecked(row), row == w3 + 1);
}

void TestResultList::deleteKeyOnAnEmptyListDoesNothing()
{
    Window w;
    QVERIFY(w.load({}));
    QTest::keyClick(w.form.ListView1, Qt::Key_Delete);
    w.form.ListView1_KeyDown(46, Qt::NoModifier);
    QCOMPARE(w.list.rowCount(), 0);
    QVERIFY(w.fake.dialogs.entries.empty());
    // And it is heard to be empty.
    QVERIFY(QAccessible::queryAccessibleInterface(w.form.ListView1)
                ->text(QAccessible::Description)
                .startsWith("Empty."));
}

void TestResultList::spaceTogglesTheCurrentRow()
{
    Window w;
    QVERIFY(w.load(threeWords));
    w.select(2);
    // As a screen reader hears it: the row's tick and place, and the tick's change as it comes.
    QPlatformAccessibility* screenReaders
        = QGuiApplicationPrivate::platformIntegration()->accessibility();
    screenReaders->setActive(true);
    QAccessible::installUpdateHandler(keepTicks);
    QTest::keyClick(w.form.ListView1, Qt::Key_Space);
    // A row that is not the current one changes unheard.
    w.list.setChecked(1, true);
    QAccessible::installUpdateHandler(nullptr);
    screenReaders->setActive(false);
    QCOMPARE(checksOf(w.list), QList<bool>({ true, true, false }));
    QCOMPARE(toldTicks, QList<int>({ 1 }));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(w.form.ListView1);
    QAccessibleInterface* row = list->tableInterface()->cellAt(1, 0);
    QCOMPARE(row->text(QAccessible::Name), "w2");
    QVERIFY(row->state().checkable && row->state().checked);
    QCOMPARE(row->text(QAccessible::Description), "2 of 3");
    QCOMPARE(list->indexOfChild(row), 1);
    QCOMPARE(list->child(0)->text(QAccessible::Name), "w1");
    // A screen reader's own toggle.
    row->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(checksOf(w.list), QList<bool>({ true, false, false }));
}

void TestResultList::tickAllAndUntickAllRoundTrip()
{
    Window w;
    QVERIFY(w.load(threeWords));
    w.list.setChecked(2, true);
    auto* tickAll = w.form.ListView1->findChild<QAction*>("TickAll");
    auto* untickAll = w.form.ListView1->findChild<QAction*>("UntickAll");
    QVERIFY(tickAll && untickAll);
    QCOMPARE(tickAll->text(), QString("Tick All"));
    QCOMPARE(untickAll->text(), QString("Untick All"));
    QVERIFY(w.form.ListView1->actions().contains(tickAll));
    QVERIFY(w.form.ListView1->actions().contains(untickAll));
    QCOMPARE(w.form.ListView1->contextMenuPolicy(), Qt::ActionsContextMenu);

    QSignalSpy changed(&w.list, &QAbstractItemModel::dataChanged);
    tickAll->trigger();
    QCOMPARE(checksOf(w.list), QList<bool>({ true, true, true }));
    QVERIFY(!changed.isEmpty());
    untickAll->trigger();
    QCOMPARE(checksOf(w.list), QList<bool>({ false, false, false }));
    QCOMPARE(wordsOf(w.list), threeWords);
}

QTEST_MAIN(TestResultList)
#include "tst_resultList.moc"
