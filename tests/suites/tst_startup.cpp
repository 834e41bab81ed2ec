#include "app/ErrorBoxText.h"
#include "app/ResultListModel.h"
#include "engine/OptionTable.h"
#include "window/Form1.h"
#include "window/ResultListView.h"

#include "FakePlatform.h"
#include "desktop/QtDialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void emptyStoreRestoresTheFirstRunState();
    void firstRunValuesAreWrittenBack();
    void keysAreReadInStartupOrder();
    void storedValuesAreRestored();
    void languageRestoredByItsCodeAndItsWordsCounted();
    void refusedValueIsReportedAtItsLineAndTheRestStillRestored_data();
    void refusedValueIsReportedAtItsLineAndTheRestStillRestored();
    void outputChoiceRestoredLastWins_data();
    void outputChoiceRestoredLastWins();
    void entriesAndLastCharactersReachScreenReaders();
    void windowProgramArgumentsAndWriteFailures_data();
    void windowProgramArgumentsAndWriteFailures();
    void listsAreNotSelectedWhileBeingFilled_data();
    void listsAreNotSelectedWhileBeingFilled();
    void missingDesktopIsReportedAtLine204_data();
    void missingDesktopIsReportedAtLine204();
    void missingDatabaseEndsTheProgramUntouched();
    void startUpBoxIsCentredOnTheScreen();
    void everyControlHasItsOwnAccessibleNameAndRole();
};

namespace {

const QString formLoadLocation = QStringLiteral("in Tessavine2021/08/31.Form1.Form_Load ");

QString errorText(const QString& description, int line)
{
    return description + "\r\n" + formLoadLocation + "at line " + QString::number(line)
        + "\r\rPlease email screenshot of this message to " + ErrorBoxText::supportAddress();
}

QStringList itemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

QStringList writesOf(const FakeSettings& settings, const QString& key)
{
    QStringList values;
    for (const auto& [written, value] : settings.writes) {
        if (written == key)
            values << value;
    }
    return values;
}

QList<QCheckBox*> checksOf(const Form1& form)
{
    return { form.Check1, form.Check2, form.Check3, form.Check4, form.Check5, form.Check6 };
}

} // namespace

void StartupTest::emptyStoreRestoresTheFirstRunState()
{
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    QVERIFY(fake.dialogs.entries.empty());
    QCOMPARE(form.Text1->text(), "100");
    for (const QCheckBox* box : checksOf(form))
        QCOMPARE(box->checkState(), Qt::Unchecked);
    QVERIFY(form.Option7->isChecked());
    QVERIFY(!form.Option8->isChecked());
    QCOMPARE(itemsOf(form.Combo1),
        QStringList({ "Save as multiple lines", "Save as one line separated by spaces",
            "Save as one line separated by commas", "Save as one line separated by comma-spaces",
            "Save as one line separated by x" }));
    QCOMPARE(itemsOf(form.Combo2), QStringList({ "1st", "2nd", "3rd", "4rd", "x", "last" }));
    QStringList kinds { "[vowel]", "[consonant]" };
    for (char letter = 'a'; letter <= 'z'; ++letter)
        kinds << QString(QChar(letter));
    QCOMPARE(itemsOf(form.Combo3), kinds);
    for (const QComboBox* list : { form.Combo1, form.Combo2, form.Combo3 })
        QCOMPARE(list->currentIndex(), 0);
    QCOMPARE(form.Text3->text(), "a");
    QCOMPARE(form.Text4->text(), "a");
    QCOMPARE(form.Text6->text(), "4");
    QCOMPARE(form.Text2->text(), "2");
    QCOMPARE(form.Text5->text(), "/home/user/Desktop/");

    QCOMPARE(form.windowTitle(), "Tessavine");
    QCOMPARE(form.applicationTitle(), "Tessavine");
    QVERIFY(!form.windowIcon().pixmap(32).isNull());
    QCOMPARE(form.ListView1->model()->columnCount(), 1);
    QCOMPARE(form.ListView1->model()->headerData(0, Qt::Horizontal).toString(), "Generated Words");
    QCOMPARE(form.PushButton1->text(), "Start Generating");

    QCOMPARE(form.focusWidget(), form.Text1);
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.Text1);
}

void StartupTest::firstRunValuesAreWrittenBack()
{
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    const QMap<QString, QString> expected { { "How Many", "100" }, { "Check1", "0" },
        { "Check2", "0" }, { "Check3", "0" }, { "Check4", "0" }, { "Check5", "0" },
        { "Check6", "0" }, { "Option7", "True" }, { "Option8", "False" }, { "Combo", "0" },
        { "Nth Letter", "0" }, { "Letter Must Be", "0" }, { "Start Letter", "a" },
        { "End Letter", "a" }, { "Text6", "4" }, { "Text2", "2" },
        { "Text5", "/home/user/Desktop/" }, { "Commonness", "0" }, { "Kind", "0" },
        { "Spelling", "0" }, { "Leave Out", "0" }, { "Word Topic", "0" }, { "Syllables", "0" } };
    QCOMPARE(fake.settings.values, expected);
}

void StartupTest::keysAreReadInStartupOrder()
{
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    QCOMPARE(fake.settings.reads,
        QStringList({ "How Many", "Check1", "Check2", "Check3", "Check4", "Check5", "Check6",
            "Option7", "Option8", "Combo", "Nth Letter", "Letter Must Be", "Start Letter",
            "End Letter", "Text6", "Text2", "Text5", "Commonness", "Kind", "Spelling",
            "Leave Out Offensive", "Leave Out", "Topic", "Word Topic", "Syllables" }));
}

void StartupTest::storedValuesAreRestored()
{
    FakePlatform fake;
    fake.settings.values = { { "How Many", "" }, { "Check1", "1" }, { "Check4", "1" },
        { "Check5", "2" }, { "Check6", "0" }, { "Leave Out Offensive", "0" }, { "Topic", "4" },
        { "Option7", "False" }, { "Option8", "-1" }, { "Combo", "4" }, { "Nth Letter", "2.5" },
        { "Letter Must Be", "27" }, { "Start Letter", "" }, { "End Letter", "q" }, { "Text6", "x" },
        { "Text2", "9" }, { "Text5", "/no/separator" } };
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    QVERIFY(fake.dialogs.entries.empty());
    // An empty stored text is a value, not a missing key.
    QCOMPARE(form.Text1->text(), "");
    QCOMPARE(form.Check1->checkState(), Qt::Checked);
    QCOMPARE(form.Check4->checkState(), Qt::Checked);
    QCOMPARE(form.Check6->checkState(), Qt::Unchecked);
    // The greyed state is shown and written back; a click never leads back to it.
    QCOMPARE(form.Check5->checkState(), Qt::PartiallyChecked);
    for (int click = 0; click < 3; ++click)
        form.Check5->click();
    QCOMPARE(writesOf(fake.settings, "Check5"), QStringList({ "2", "1", "0", "1" }));
    QVERIFY(!form.Option7->isChecked());
    QVERIFY(form.Option8->isChecked());
    QCOMPARE(form.Combo1->currentIndex(), 4);
    // The tick box of before, cleared, let every word in.
    QCOMPARE(form.Combo10->currentIndex(), 2);
    // So did the topic list of before, among topics since left out.
    QCOMPARE(form.Combo7->currentText(), "animal");
    // Halves round to the even neighbour.
    QCOMPARE(form.Combo2->currentIndex(), 2);
    QCOMPARE(form.Combo3->currentText(), "z");
    QCOMPARE(form.Text3->text(), "");
    QCOMPARE(form.Text4->text(), "q");
    QCOMPARE(form.Text6->text(), "x");
    QCOMPARE(form.Text2->text(), "9");
    // Nothing adds the separator to a typed folder at start-up.
    QCOMPARE(form.Text5->text(), "/no/separator");
    QCOMPARE(fake.settings.values.value("How Many"), "");
    QCOMPARE(fake.settings.values.value("Option7"), "False");
    QCOMPARE(fake.settings.values.value("Option8"), "True");
    QCOMPARE(fake.settings.values.value("Nth Letter"), "2");
}

void StartupTest::languageRestoredByItsCodeAndItsWordsCounted()
{
    // German installed beside English: the list shows, a stored language no longer installed
    // gives way to English, the status line counts the chosen language's words, and a word's
    // translation is named so in its tooltip. A topic, which German words lack, is greyed and
    // counts for nothing while German is chosen, and is back as it was with English; a vowel rule
    // takes German's vowels.
    QTemporaryDir folder;
    // Besides, a code at the ends of the letter and digit ranges with a piece of 8, and names that
    // are not a language's database: codes too short or long, a digit in the first piece, a piece
    // empty or too long, an underscore, English's code, other beginnings and endings.
    for (const char* name :
        { "dbWords.mdb", "dbWords-de.mdb", "dbWords-za-AZ09AZ09.mdb", "dbWords-x.mdb",
            "dbWords-abcd.mdb", "dbWords-d1.mdb", "dbWords-pt-.mdb", "dbWords-de-123456789.mdb",
            "dbWords-de_DE.mdb", "dbWords-en.mdb", "dbWords-fr.mdb.bak", "xdbWords-fr.mdb" }) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const std::pair<const char*, const char*> cases[] = { { "de", "de" }, { "fr", "en" } };
    for (const auto& [stored, chosen] : cases) {
        FakePlatform fake;
        fake.platform.programFolder = folder.path();
        fake.files.files += folder.filePath("dbWords.mdb");
        const bool german = chosen == QLatin1String("de");
        fake.settings.values = { { "Language", stored }, { "How Many", "1" },
            { "Word Topic", german ? "2" : "0" }, { "Check4", german ? "1" : "0" } };
        fake.words.words = { "Öl" };
        fake.words.definitions = { { "Öl", "oil" } };
        fake.words.about = { { "language", "de" }, { "definitions", "translation" },
            { "facts", "level,definitions" }, { "vowels", "aeiouäöü" } };
        Form1 form(fake.platform);
        QVERIFY(form.Form_Load());
        QVERIFY(!form.Combo9->isHidden());
        QCOMPARE(form.Combo9->count(), 3);
        QCOMPARE(form.Combo9->currentData().toString(), chosen);
        QCOMPARE(fake.settings.values.value("Language"), chosen);
        const QString database
            = folder.filePath(chosen == QLatin1String("en") ? "dbWords.mdb" : "dbWords-de.mdb");
        QTRY_COMPARE(fake.words.openedPaths.value(fake.words.openedPaths.size() - 1), database);
        QTRY_COMPARE(form.StatusText->text(), "1 of 1 word matches \u00b7 0.00 bits a word");
        form.PushButton1->click();
        QCOMPARE(form.resultList()->index(0, 0).data(Qt::ToolTipRole).toString(),
            german ? "Translation: oil" : "oil");
        QCOMPARE(form.Combo7->isEnabled(), !german);
        QCOMPARE(form.Combo6->isEnabled(), !german);
        form.Combo9->setCurrentIndex(form.Combo9->findData("en"));
        QVERIFY(form.Combo7->isEnabled());
        QCOMPARE(form.Combo7->currentIndex(), german ? 2 : 0);
    }
}

void StartupTest::refusedValueIsReportedAtItsLineAndTheRestStillRestored_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("line");

    QTest::newRow("check, text") << "Check3"
                                 << "abc"
                                 << "Type mismatch" << 146;
    QTest::newRow("check, below clear") << "Check3"
                                        << "-1"
                                        << "Invalid property value" << 146;
    QTest::newRow("check, state 3") << "Check6"
                                    << "3"
                                    << "Invalid property value" << 152;
    QTest::newRow("leave-out box, greyed") << "Leave Out Offensive"
                                           << "2"
                                           << "Invalid property value" << 122;
    QTest::newRow("check, overflow") << "Check1"
                                     << "70000"
                                     << "Overflow" << 142;
    QTest::newRow("option, text") << "Option8"
                                  << "yes"
                                  << "Type mismatch" << 156;
    QTest::newRow("layout one past the end") << "Combo"
                                             << "5"
                                             << "Invalid property value" << 168;
    QTest::newRow("layout below no selection") << "Combo"
                                               << "-2"
                                               << "Invalid property value" << 168;
    QTest::newRow("position one past the end") << "Nth Letter"
                                               << "6"
                                               << "Invalid property value" << 182;
    QTest::newRow("letter kind one past the end") << "Letter Must Be"
                                                  << "28"
                                                  << "Invalid property value" << 194;
    QTest::newRow("word kind, no entry") << "Kind"
                                         << "-1"
                                         << "Invalid property value" << 118;
}

void StartupTest::refusedValueIsReportedAtItsLineAndTheRestStillRestored()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, description);
    QFETCH(int, line);

    FakePlatform fake;
    fake.settings.values = { { "Check2", "1" }, { "Nth Letter", "3" }, { "Letter Must Be", "1" },
        { "Start Letter", "s" }, { "Text5", "/out/" } };
    fake.settings.values.insert(key, stored);
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    QCOMPARE(fake.dialogs.errorBoxes(), QStringList { errorText(description, line) });
    QCOMPARE(fake.dialogs.entries.front().title, "Application Error");
    // The refused control keeps its design state, which is never written back.
    // A word list keeps the entry it shows from the start.
    const QMap<QString, QWidget*> controls { { "Check1", form.Check1 }, { "Check3", form.Check3 },
        { "Leave Out Offensive", form.Combo10 }, { "Check6", form.Check6 },
        { "Option8", form.Option8 }, { "Combo", form.Combo1 }, { "Nth Letter", form.Combo2 },
        { "Letter Must Be", form.Combo3 }, { "Kind", form.Combo5 } };
    QWidget* control = controls.value(key);
    if (auto* box = qobject_cast<QCheckBox*>(control)) {
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QVERIFY(!box->isTristate());
        QVERIFY(writesOf(fake.settings, key).isEmpty());
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        QCOMPARE(list->currentIndex(), list == form.Combo5 || list == form.Combo10 ? 0 : -1);
        QVERIFY(writesOf(fake.settings, key).isEmpty());
    } else {
        QVERIFY(!form.Option8->isChecked());
        QVERIFY(form.Option7->isChecked());
    }
    // Steps before and after the failing one still ran.
    QCOMPARE(form.Check2->checkState(), Qt::Checked);
    if (key != "Nth Letter")
        QCOMPARE(form.Combo2->currentText(), "4rd");
    if (key != "Letter Must Be")
        QCOMPARE(form.Combo3->currentText(), "[consonant]");
    QCOMPARE(form.Text3->text(), "s");
    QCOMPARE(form.Text5->text(), "/out/");
}

void StartupTest::outputChoiceRestoredLastWins_data()
{
    QTest::addColumn<QString>("option7");
    QTest::addColumn<QString>("option8");
    QTest::addColumn<bool>("selected7");
    QTest::addColumn<bool>("selected8");

    QTest::newRow("both selected") << "True"
                                   << "True" << false << true;
    QTest::newRow("neither selected") << "False"
                                      << "False" << false << false;
    QTest::newRow("numbers, 0 is false") << "0"
                                         << "1" << false << true;
    QTest::newRow("only the first") << "True"
                                    << "False" << true << false;
}

void StartupTest::outputChoiceRestoredLastWins()
{
    QFETCH(QString, option7);
    QFETCH(QString, option8);
    QFETCH(bool, selected7);
    QFETCH(bool, selected8);

    FakePlatform fake;
    fake.settings.values = { { "Option7", option7 }, { "Option8", option8 } };
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    QCOMPARE(form.Option7->isChecked(), selected7);
    QCOMPARE(form.Option8->isChecked(), selected8);
    // The pair is written back once, Option7 first, with the states shown.
    const auto text = [](bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); };
    QStringList pairWrites;
    for (const auto& [key, value] : fake.settings.writes) {
        if (key.startsWith("Option"))
            pairWrites << key + "=" + value;
    }
    QCOMPARE(
        pairWrites, QStringList({ "Option7=" + text(selected7), "Option8=" + text(selected8) }));
}

void StartupTest::listsAreNotSelectedWhileBeingFilled_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");

    QTest::newRow("layout") << "Combo"
                            << "3";
    QTest::newRow("position") << "Nth Letter"
                              << "5";
    QTest::newRow("letter kind") << "Letter Must Be"
                                 << "27";
}

void StartupTest::listsAreNotSelectedWhileBeingFilled()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);

    FakePlatform fake;
    fake.settings.values.insert(key, stored);
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    QCOMPARE(writesOf(fake.settings, key), QStringList { stored });
}

void StartupTest::missingDesktopIsReportedAtLine204_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("folder not stored") << false;
    QTest::newRow("folder stored") << true;
}

void StartupTest::missingDesktopIsReportedAtLine204()
{
    QFETCH(bool, stored);

    FakePlatform fake;
    fake.files.desktop.clear();
    if (stored)
        fake.settings.values.insert("Text5", "/stored/");
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    QCOMPARE(fake.dialogs.errorBoxes(),
        QStringList { errorText("The desktop folder cannot be found.", 204) });
    QCOMPARE(form.Text5->text(), "");
    QVERIFY(writesOf(fake.settings, "Text5").isEmpty());
    QCOMPARE(form.Text2->text(), "2");
    QCOMPARE(form.focusWidget(), form.Text1);
}

void StartupTest::missingDatabaseEndsTheProgramUntouched()
{
    FakePlatform fake;
    fake.files.files.clear();
    fake.settings.values = { { "How Many", "7" } };
    Form1 form(fake.platform);

    QVERIFY(!form.Form_Load());

    QCOMPARE(fake.dialogs.entries.size(), size_t(1));
    const FakeDialogs::Entry& box = fake.dialogs.entries.front();
    QCOMPARE(box.kind, FakeDialogs::Message);
    QCOMPARE(box.text, "/opt/tessavine/dbWords.mdb not found.");
    QCOMPARE(box.title, "Tessavine");
    QVERIFY(fake.settings.reads.isEmpty());
    QVERIFY(fake.settings.writes.empty());
    QCOMPARE(form.Text1->text(), "");
    QVERIFY(!form.isVisible());
}

void StartupTest::startUpBoxIsCentredOnTheScreen()
{
    // Qt's real message box, answered as soon as it is the active modal window.
    QtDialogs dialogs;
    FakePlatform fake;
    fake.files.files.clear();
    fake.platform.dialogs = &dialogs;
    Form1 form(fake.platform);
    QString shownText;
    QRect shownAt;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        shownText = box->text();
        shownAt = box->frameGeometry();
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(10);

    QVERIFY(!form.Form_Load());

    QCOMPARE(shownText, "/opt/tessavine/dbWords.mdb not found.");
    const QPoint offCentre = shownAt.center() - form.screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() < 40, qPrintable(QString::number(offCentre.x())));
}

void StartupTest::everyControlHasItsOwnAccessibleNameAndRole()
{
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    QCOMPARE(QAccessible::queryAccessibleInterface(&form)->role(), QAccessible::Window);
    // Every option's control exists under the name the option table gives it.
    for (const OptionTable::Row& row : OptionTable::rows())
        QVERIFY2(!row.controlName || form.findChild<QWidget*>(row.controlName), row.controlName);
    // Every control a user reaches has a name of its own; a list is named by what it chooses,
    // not by its entry. Unnamed objects are the parts Qt builds inside a control.
    QSet<QString> names;
    for (QWidget* control : form.findChildren<QWidget*>()) {
        const bool reached = qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control)
            || qobject_cast<QAbstractButton*>(control) || qobject_cast<QProgressBar*>(control)
            || qobject_cast<QAbstractItemView*>(control);
        if (!reached || control->objectName().isEmpty())
            continue;
        const QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        const QString name = face->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty() && !names.contains(name), qPrintable(control->objectName()));
        names.insert(name);
        if (auto* list = qobject_cast<QComboBox*>(control))
            QVERIFY2(face->role() == QAccessible::ComboBox && name != list->currentText()
                    && face->text(QAccessible::Value) == list->currentText(),
                qPrintable(name));
    }
    // The status line is named by what it says, so that a change is heard.
    QCOMPARE(
        QAccessible::queryAccessibleInterface(form.StatusText)->role(), QAccessible::Notification);
    form.StatusText->setText(QStringLiteral("List cleared"));
    QCOMPARE(QAccessible::queryAccessibleInterface(form.StatusText)->text(QAccessible::Name),
        QStringLiteral("List cleared"));
}

void StartupTest::entriesAndLastCharactersReachScreenReaders()
{
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());

    // Orca reads a drop-down's entry only as its text, and speaks a new one only when it is
    // selected whole.
    for (QComboBox* list : form.findChildren<QComboBox*>()) {
        list->setCurrentIndex(1);
        QAccessibleTextInterface* text
            = QAccessible::queryAccessibleInterface(list)->textInterface();
        QVERIFY2(text, qPrintable(list->objectName()));
        int start = -1;
        int end = -1;
        text->selection(0, &start, &end);
        QCOMPARE(text->text(start, end), list->itemText(1));
    }
    // A field's attribute run reaches its end, or Orca leaves out the last character.
    form.Text1->setText(QStringLiteral("100"));
    int start = -1;
    int end = -1;
    QAccessible::queryAccessibleInterface(form.Text1)->textInterface()->attributes(2, &start, &end);
    QCOMPARE(end, 3);
}

void StartupTest::windowProgramArgumentsAndWriteFailures_data()
{
    QTest::addColumn<QString>("script"); // $P is the program, $D a folder holding a full device
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");

    QTest::newRow("help into a full device")
        << "\"$P\" --help >\"$D/full\"" << 1
        << "tessavine: cannot write the help: No space left on device\n";
    QTest::newRow("version into a full device")
        << "\"$P\" --version >\"$D/full\"" << 1
        << "tessavine: cannot write the version: No space left on device\n";
    QTest::newRow("version into a pipe whose reader has gone")
        << "\"$P\" --version >&3" << 1 << "tessavine: cannot write the version: Broken pipe\n";
    QTest::newRow("version into a closed output")
        << "\"$P\" --version >&-" << 1
        << "tessavine: cannot write the version: Bad file descriptor\n";
    QTest::newRow("unknown argument without a display")
        << "\"$P\" -platform xcb --bogus" << 2
        << "tessavine: unknown argument '--bogus'; try 'tessavine --help'\n";
    QTest::newRow("Qt's own arguments without a display")
        << "\"$P\" -platform xcb -style Fusion -reverse" << 1
        << "tessavine: cannot open the window: no display could be reached (DISPLAY and "
           "WAYLAND_DISPLAY are not set)\n";
}

void StartupTest::windowProgramArgumentsAndWriteFailures()
{
    QFETCH(QString, script);
    QFETCH(int, status);
    QFETCH(QString, error);

    QTemporaryDir folder;
    // A device that is always full, made here: the system's own is not the tests' to use.
    if (script.contains("/full")
        && ::mknod(QFile::encodeName(folder.filePath("full")), S_IFCHR | 0600, makedev(1, 7)) != 0)
        QSKIP("making a device node needs root");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("P", TESSAVINE_PROGRAM);
    environment.insert("D", folder.path());
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    program.setProcessEnvironment(environment);
    // Descriptor 3 is a pipe whose reader has gone.
    int pipe[2];
    QCOMPARE(::pipe(pipe), 0);
    ::close(pipe[0]);
    program.setChildProcessModifier([end = pipe[1]] { ::dup2(end, 3); });
    program.start("/bin/sh", { "-c", script });
    const bool finished = program.waitForFinished(10000);
    ::close(pipe[1]);
    QVERIFY(finished);
    QCOMPARE(program.readAllStandardError(), error.toUtf8());
    QCOMPARE(program.exitCode(), status);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
