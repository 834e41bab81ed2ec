#include "app/OptionsModel.h"
#include "window/Form1.h"

#include "TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class OptionPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void textFieldsStoreEveryChange_data();
    void textFieldsStoreEveryChange();
    void checkBoxesStoreTheirState_data();
    void checkBoxesStoreTheirState();
    void listsStoreTheirIndex_data();
    void listsStoreTheirIndex();
    void outputChoicesAreExclusive_data();
    void outputChoicesAreExclusive();
    void someFieldsSelectTheirTextOnFocus_data();
    void someFieldsSelectTheirTextOnFocus();
    void selectedCharacterIsReplacedByTyping();
    void numericFieldsAreCheckedOnLeaving_data();
    void numericFieldsAreCheckedOnLeaving();
    void twoInvalidFieldsGiveOneMessagePerFocusChange_data();
    void twoInvalidFieldsGiveOneMessagePerFocusChange();
    void leavingTheWindowIsNoLeaveCheck();
    void modelValuesAreShownAndStoredOnce_data();
    void modelValuesAreShownAndStoredOnce();
};

namespace {

// A started window whose start-up writes are forgotten.
struct Window
{
    FakePlatform fake;
    Form1 form { fake.platform };
    bool loaded = false;

    Window()
    {
        loaded = form.Form_Load();
        fake.settings.writes.clear();
    }

    // Real focus changes need the window shown and active.
    bool activate()
    {
        form.show();
        QApplication::setActiveWindow(&form);
        return QTest::qWaitForWindowActive(&form);
    }

    QStringList writes() const { return writeLog(fake.settings); }

    QStringList writesOf(const QString& key) const
    {
        QStringList values;
        for (const auto& [written, value] : fake.settings.writes) {
            if (written == key)
                values << value;
        }
        return values;
    }

    template <typename W> W* control(const QString& name) const { return form.findChild<W*>(name); }
};

// Lets the checks that follow a focus change run.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

void OptionPanelTest::textFieldsStoreEveryChange_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("stored");

    // Clearing stores the empty text; each key stroke stores the whole text.
    QTest::newRow("count") << "Text1"
                           << "How Many"
                           << "12" << QStringList { "", "1", "12" };
    QTest::newRow("folder") << "Text5"
                            << "Text5"
                            << "/a b" << QStringList { "", "/", "/a", "/a ", "/a b" };
    // The one-character fields refuse a second character.
    QTest::newRow("minimum") << "Text2"
                             << "Text2"
                             << "34" << QStringList { "", "3" };
    QTest::newRow("maximum") << "Text6"
                             << "Text6"
                             << "5" << QStringList { "", "5" };
    QTest::newRow("start letter") << "Text3"
                                  << "Start Letter"
                                  << "b" << QStringList { "", "b" };
    QTest::newRow("end letter") << "Text4"
                                << "End Letter"
                                << "," << QStringList { "", "," };
}

void OptionPanelTest::textFieldsStoreEveryChange()
{
    QFETCH(QString, field);
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(QStringList, stored);

    Window w;
    QVERIFY(w.loaded);
    auto* edit = w.control<QLineEdit>(field);
    edit->clear();
    QTest::keyClicks(edit, typed);
    QCOMPARE(w.writes(), QStringList(stored).replaceInStrings(QRegularExpression("^"), key + "="));
}

void OptionPanelTest::checkBoxesStoreTheirState_data()
{
    QTest::addColumn<QString>("box");
    for (const char* box : { "Check1", "Check2", "Check3", "Check4", "Check5", "Check6" })
        QTest::newRow(box) << box;
}

void OptionPanelTest::checkBoxesStoreTheirState()
{
    QFETCH(QString, box);

    Window w;
    QVERIFY(w.loaded);
    auto* check = w.control<QCheckBox>(box);
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(check->checkState(), Qt::Checked);
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(check->checkState(), Qt::Unchecked);
    QCOMPARE(w.writes(), QStringList({ box + "=1", box + "=0" }));
}

void OptionPanelTest::listsStoreTheirIndex_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("stored");

    QTest::newRow("third position") << "Combo2" << 2 << "Nth Letter=2";
    QTest::newRow("last layout") << "Combo1" << 4 << "Combo=4";
    QTest::newRow("letter z") << "Combo3" << 27 << "Letter Must Be=27";
    QTest::newRow("no selection") << "Combo1" << -1 << "Combo=-1";
}

void OptionPanelTest::listsStoreTheirIndex()
{
    QFETCH(QString, list);
    QFETCH(int, index);
    QFETCH(QString, stored);

    Window w;
    QVERIFY(w.loaded);
    w.control<QComboBox>(list)->setCurrentIndex(index);
    QCOMPARE(w.writes(), QStringList { stored });
}

void OptionPanelTest::outputChoicesAreExclusive_data()
{
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<QStringList>("selected");

    // After each click: which button is on.
    QTest::newRow("to file") << "8" << QStringList { "8" };
    QTest::newRow("to file and back") << "87" << QStringList { "8", "7" };
    QTest::newRow("selected one clicked again") << "77" << QStringList { "7", "7" };
    QTest::newRow("file clicked twice") << "88" << QStringList { "8", "8" };
}

void OptionPanelTest::outputChoicesAreExclusive()
{
    QFETCH(QString, clicks);
    QFETCH(QStringList, selected);

    Window w;
    QVERIFY(w.loaded);
    for (qsizetype i = 0; i < clicks.size(); ++i) {
        w.fake.settings.writes.clear();
        QRadioButton* button = clicks[i] == '7' ? w.form.Option7 : w.form.Option8;
        QTest::mouseClick(button, Qt::LeftButton);
        const bool on7 = selected[i] == "7";
        QCOMPARE(w.form.Option7->isChecked(), on7);
        QCOMPARE(w.form.Option8->isChecked(), !on7);
        QCOMPARE(w.writes(),
            QStringList({ on7 ? "Option7=True" : "Option7=False",
                on7 ? "Option8=False" : "Option8=True" }));
        // Screen readers hear option buttons, not check boxes.
        for (QRadioButton* option : { w.form.Option7, w.form.Option8 }) {
            QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(option);
            QCOMPARE(spoken->role(), QAccessible::RadioButton);
            QCOMPARE(bool(spoken->state().checked), option->isChecked());
        }
    }
}

void OptionPanelTest::someFieldsSelectTheirTextOnFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("selects");

    QTest::newRow("count") << "Text1"
                           << "250" << true;
    QTest::newRow("start letter") << "Text3"
                                  << "s" << true;
    QTest::newRow("end letter") << "Text4"
                                << "e" << true;
    QTest::newRow("minimum") << "Text2"
                             << "2" << false;
    QTest::newRow("maximum") << "Text6"
                             << "8" << false;
    QTest::newRow("folder") << "Text5"
                            << "/tmp/out/" << false;
}

void OptionPanelTest::someFieldsSelectTheirTextOnFocus()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, selects);

    Window w;
    QVERIFY(w.loaded);
    QVERIFY(w.activate());
    auto* edit = w.control<QLineEdit>(field);
    edit->setText(text);
    w.form.PushButton1->setFocus(Qt::TabFocusReason);
    settle();

    // A click gives the focus without the selection the platform makes on tabbing.
    QTest::mouseClick(edit, Qt::LeftButton);
    settle();
    QCOMPARE(QApplication::focusWidget(), edit);
    QCOMPARE(edit->selectedText(), selects ? text : QString());
    QVERIFY(w.fake.dialogs.entries.empty());
}

void OptionPanelTest::selectedCharacterIsReplacedByTyping()
{
    Window w;
    QVERIFY(w.loaded);
    QVERIFY(w.activate());
    QTest::mouseClick(w.form.Text3, Qt::LeftButton);
    settle();
    QTest::keyClick(w.form.Text3, Qt::Key_Z);
    QCOMPARE(w.form.Text3->text(), "z");
    QCOMPARE(w.writesOf("Start Letter"), QStringList { "z" });
}

void OptionPanelTest::numericFieldsAreCheckedOnLeaving_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<bool>("boundsTicked");
    QTest::addColumn<bool>("maximumTicked");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("maximumAfter");

    const QString notNumeric = "Must be a numeric entry.";
    const QString notPositive = "Must be greater than zero.";
    // For rows that leave Text2, "text" is the minimum and the maximum stays "4".
    QTest::newRow("count empty") << "Text1"
                                 << ""
                                 << "2" << false << false << notNumeric << "4";
    QTest::newRow("count letters") << "Text1"
                                   << "ten"
                                   << "2" << false << false << notNumeric << "4";
    QTest::newRow("count with blanks and exponent") << "Text1"
                                                    << " 1e3 "
                                                    << "2" << false << false << ""
                                                    << "4";
    QTest::newRow("count negative, no range here") << "Text1"
                                                   << "-5"
                                                   << "2" << false << false << ""
                                                   << "4";
    QTest::newRow("minimum zero") << "Text2"
                                  << "0"
                                  << "0" << false << false << notPositive << "4";
    QTest::newRow("minimum letter") << "Text2"
                                    << "a"
                                    << "a" << false << false << notNumeric << "4";
    QTest::newRow("minimum above maximum leaves the maximum") << "Text2"
                                                              << "9"
                                                              << "9" << true << true << ""
                                                              << "4";
    QTest::newRow("maximum zero") << "Text6"
                                  << "0"
                                  << "2" << false << false << notPositive << "0";
    QTest::newRow("maximum letter, no raise") << "Text6"
                                              << "x"
                                              << "5" << true << true << notNumeric << "x";
    QTest::newRow("maximum below minimum is raised") << "Text6"
                                                     << "3"
                                                     << "5" << true << true << ""
                                                     << "5";
    QTest::newRow("maximum zero is reported, then raised")
        << "Text6"
        << "0"
        << "3" << true << true << notPositive << "3";
    QTest::newRow("maximum unticked, no raise") << "Text6"
                                                << "3"
                                                << "5" << true << false << ""
                                                << "3";
    QTest::newRow("minimum unticked, no raise") << "Text6"
                                                << "3"
                                                << "5" << false << true << ""
                                                << "3";
    QTest::newRow("empty minimum, no raise") << "Text6"
                                             << "2"
                                             << "" << true << true << ""
                                             << "2";
    QTest::newRow("maximum above minimum") << "Text6"
                                           << "7"
                                           << "5" << true << true << ""
                                           << "7";
}

void OptionPanelTest::numericFieldsAreCheckedOnLeaving()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, minimum);
    QFETCH(bool, boundsTicked);
    QFETCH(bool, maximumTicked);
    QFETCH(QString, message);
    QFETCH(QString, maximumAfter);

    Window w;
    QVERIFY(w.loaded);
    QVERIFY(w.activate());
    auto* edit = w.control<QLineEdit>(field);
    w.form.Check6->setChecked(boundsTicked);
    w.form.Check5->setChecked(maximumTicked);
    w.form.Text2->setText(minimum);
    edit->setText(text);
    edit->setFocus(Qt::TabFocusReason);
    settle();
    QCOMPARE(QApplication::focusWidget(), edit);
    w.fake.settings.writes.clear();
    QStringList maximumWhenShown;
    w.fake.dialogs.onMessage = [&](const QString&) { maximumWhenShown << w.form.Text6->text(); };

    QTest::keyClick(edit, Qt::Key_Tab);
    settle();

    const QStringList expected = message.isEmpty() ? QStringList() : QStringList { message };
    QCOMPARE(w.fake.dialogs.messages(), expected);
    for (const FakeDialogs::Entry& entry : w.fake.dialogs.entries)
        QCOMPARE(entry.title, "Tessavine");
    // A failing field gets the focus back and keeps its text.
    QCOMPARE(QApplication::focusWidget() == edit, !message.isEmpty());
    if (edit != w.form.Text6)
        QCOMPARE(edit->text(), text);
    QCOMPARE(w.form.Text2->text(), minimum);
    QCOMPARE(w.form.Text6->text(), maximumAfter);
    // The message comes before the raise, which stores the new maximum.
    if (!message.isEmpty() && edit == w.form.Text6)
        QCOMPARE(maximumWhenShown, QStringList { text });
    const bool raised = edit == w.form.Text6 && maximumAfter != text;
    QCOMPARE(w.writes(), raised ? QStringList { "Text6=" + maximumAfter } : QStringList());
}

void OptionPanelTest::twoInvalidFieldsGiveOneMessagePerFocusChange_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("byMouse");

    QTest::newRow("tab from minimum to maximum") << "Text2"
                                                 << "Text6" << false;
    QTest::newRow("click from minimum into maximum") << "Text2"
                                                     << "Text6" << true;
    QTest::newRow("back-tab from maximum to minimum") << "Text6"
                                                      << "Text2" << false;
    QTest::newRow("click from maximum into minimum") << "Text6"
                                                     << "Text2" << true;
    // The click belongs to the message: Start does not run and gives no second box.
    QTest::newRow("click from count onto Start") << "Text1"
                                                 << "PushButton1" << true;
}

void OptionPanelTest::twoInvalidFieldsGiveOneMessagePerFocusChange()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, byMouse);

    Window w;
    QVERIFY(w.loaded);
    QVERIFY(w.activate());
    auto* start = w.control<QLineEdit>(from);
    auto* other = w.control<QWidget>(to);
    start->setFocus(Qt::TabFocusReason);
    settle();
    w.form.Text1->setText("ten");
    w.form.Text2->setText("a");
    w.form.Text6->setText("b");

    for (int move = 1; move <= 3; ++move) {
        if (byMouse)
            QTest::mouseClick(other, Qt::LeftButton);
        else if (start == w.form.Text2)
            QTest::keyClick(start, Qt::Key_Tab);
        else
            QTest::keyClick(start, Qt::Key_Backtab, Qt::ShiftModifier);
        settle();
        QCOMPARE(w.fake.dialogs.messages().size(), move);
        QCOMPARE(QApplication::focusWidget(), start);
    }
    QCOMPARE(w.fake.dialogs.messages().constLast(), "Must be a numeric entry.");
}

void OptionPanelTest::leavingTheWindowIsNoLeaveCheck()
{
    Window w;
    QVERIFY(w.loaded);
    QVERIFY(w.activate());
    w.form.Text1->setFocus(Qt::TabFocusReason);
    w.form.Text1->clear();
    settle();

    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
    settle();
    QVERIFY(w.fake.dialogs.entries.empty());

    // Back in the window, the next move out of the field is checked.
    QVERIFY(w.activate());
    settle();
    QCOMPARE(QApplication::focusWidget(), w.form.Text1);
    QVERIFY(w.fake.dialogs.entries.empty());
    QTest::keyClick(w.form.Text1, Qt::Key_Tab);
    settle();
    QCOMPARE(w.fake.dialogs.messages(), QStringList { "Must be a numeric entry." });
}

void OptionPanelTest::modelValuesAreShownAndStoredOnce_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");

    using O = OptionsModel;
    QTest::newRow("folder") << int(O::Folder) << 0 << "/x/"
                            << "Text5"
                            << "/x/"
                            << "Text5=/x/";
    // The field takes one character and already shows it: the model and the store get what it
    // shows.
    QTest::newRow("cut maximum") << int(O::MaxLength) << 0 << "45"
                                 << "Text6"
                                 << "4"
                                 << "Text6=4";
    QTest::newRow("tick") << int(O::LetterRule) << int(Qt::Checked) << ""
                          << "Check4"
                          << ""
                          << "Check4=1";
    QTest::newRow("list entry") << int(O::LetterKind) << 2 << ""
                                << "Combo3"
                                << "a"
                                << "Letter Must Be=2";
}

// What a command gives the model, its control shows and the store gets, once.
void OptionPanelTest::modelValuesAreShownAndStoredOnce()
{
    QFETCH(int, option);
    QFETCH(int, state);
    QFETCH(QString, text);
    QFETCH(QString, control);
    QFETCH(QString, shown);
    QFETCH(QString, stored);

    Window w;
    QVERIFY(w.loaded);
    const auto o = OptionsModel::Option(option);
    w.form.options().setEntry(o, state, text);
    QCOMPARE(w.writes(), QStringList { stored });
    if (auto* box = w.control<QCheckBox>(control))
        QCOMPARE(int(box->checkState()), state);
    else
        QCOMPARE(w.form.options().text(o), shown);
    if (auto* field = w.control<QLineEdit>(control))
        QCOMPARE(field->text(), shown);
    if (auto* list = w.control<QComboBox>(control))
        QCOMPARE(list->currentText(), shown);
}

QTEST_MAIN(OptionPanelTest)
#include "tst_optionPanel.moc"
