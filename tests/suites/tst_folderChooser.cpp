#include "app/ErrorBoxText.h"
#include "window/Form1.h"

#include "TestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class FolderChooserTest : public QObject
{
    Q_OBJECT

private slots:
    void chosenFolderFillsTheFieldWithOneSeparator_data();
    void chosenFolderFillsTheFieldWithOneSeparator();
    void cancelChangesNothing();
    void everyChoiceOverwritesBothKeysAndStartsAtTheField();
    void dialogFailureIsReportedOnceAtLine100();
};

namespace {

struct Window
{
    FakePlatform fake;
    Form1 form { fake.platform };
    bool loaded = false;

    Window()
    {
        fake.settings.values.insert("Text5", "/before/");
        loaded = form.Form_Load();
        fake.settings.writes.clear();
    }

    QStringList writes() const { return writeLog(fake.settings); }
};

} // namespace

void FolderChooserTest::chosenFolderFillsTheFieldWithOneSeparator_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("field");

    QTest::newRow("folder") << "/home/user/out"
                            << "/home/user/out/";
    QTest::newRow("root") << "/"
                          << "/";
    QTest::newRow("folder with blanks") << "/home/user/my words"
                                        << "/home/user/my words/";
    const QString longest = "/" + QString(258, 'd');
    QTest::newRow("259 characters") << longest << longest + "/";
}

void FolderChooserTest::chosenFolderFillsTheFieldWithOneSeparator()
{
    QFETCH(QString, chosen);
    QFETCH(QString, field);

    Window w;
    QVERIFY(w.loaded);
    w.fake.dialogs.folderAnswers.push_back(chosen);
    w.form.PushButton9->click();

    QCOMPARE(w.form.Text5->text(), field);
    // The raw path is kept first; the field's own change stores the path with its separator.
    QCOMPARE(w.writes(), QStringList({ "LastFolderDot=" + chosen, "Text5=" + field }));
    QCOMPARE(w.fake.dialogs.entries.size(), size_t(1));
    const FakeDialogs::Entry& dialog = w.fake.dialogs.entries.front();
    QCOMPARE(dialog.kind, FakeDialogs::Folder);
    QCOMPARE(dialog.text, "Save To This Folder");
    // "/before/" does not exist: the dialog opens at home.
    QCOMPARE(w.fake.dialogs.lastFolderStart, w.fake.files.home);
}

void FolderChooserTest::cancelChangesNothing()
{
    Window w;
    QVERIFY(w.loaded);
    w.fake.dialogs.folderAnswers.push_back(QString());
    w.form.PushButton9->click();

    QCOMPARE(w.form.Text5->text(), "/before/");
    QVERIFY(w.fake.settings.writes.empty());
    QCOMPARE(w.fake.dialogs.textsOf(FakeDialogs::Folder).size(), 1);
    QCOMPARE(w.fake.dialogs.entries.size(), size_t(1));
}

void FolderChooserTest::everyChoiceOverwritesBothKeysAndStartsAtTheField()
{
    Window w;
    QVERIFY(w.loaded);
    w.fake.files.folders << "/first/";
    w.fake.dialogs.folderAnswers = { "/first", "/second/" };
    w.form.PushButton9->click();
    w.form.PushButton9->click();

    QCOMPARE(w.fake.dialogs.lastFolderStart, "/first/");
    QCOMPARE(w.writes(),
        QStringList({ "LastFolderDot=/first", "Text5=/first/", "LastFolderDot=/second/",
            "Text5=/second/" }));
    QCOMPARE(w.fake.settings.values.value("LastFolderDot"), "/second/");
    QCOMPARE(w.fake.settings.values.value("Text5"), "/second/");
}

void FolderChooserTest::dialogFailureIsReportedOnceAtLine100()
{
    Window w;
    QVERIFY(w.loaded);
    w.fake.dialogs.folderFailure = "No folder dialog";
    w.form.PushButton9->click();

    QCOMPARE(w.fake.dialogs.errorBoxes(),
        QStringList { "No folder dialog\r\nin Tessavine2021/08/31.Form1.PushButton9_Click at "
                      "line 100\r\rPlease email screenshot of this message to "
            + ErrorBoxText::supportAddress() });
    QCOMPARE(w.form.Text5->text(), "/before/");
    QVERIFY(w.fake.settings.writes.empty());
}

QTEST_MAIN(FolderChooserTest)
#include "tst_folderChooser.moc"
