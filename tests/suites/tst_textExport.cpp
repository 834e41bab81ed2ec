#include "FakeWindow.h"
#include "TestFiles.h"
#include "app/TextExport.h"
#include "engine/SeparatorLayout.h"
#include "platform/FileTextWriter.h"

#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <cstring>

namespace {

// Passes every piece on to the real writer, noting how the window looked at that moment.
class ObservingWriter : public TextWriter
{
public:
    void WriteTextPiece(const QString& text, const QString& path, int pieceNumber) override
    {
        pieces << pieceNumber;
        pointers << window->pointer;
        clearEnabled << window->clearEnabled;
        m_file.WriteTextPiece(text, path, pieceNumber);
    }

    const FakeWindow* window = nullptr;
    QList<int> pieces;
    QList<int> pointers;
    QList<bool> clearEnabled;

private:
    FileTextWriter m_file;
};

// The command on a fake window that saves through the real writer into a temporary folder.
struct Window : FakeWindow
{
    ObservingWriter writer;
    TextExport command { *this };
    QTemporaryDir dir;

    bool load(const QStringList& words, int layout)
    {
        writer.window = this;
        fake.platform.writer = &writer;
        for (const QString& word : words)
            resultList()->append(word);
        options().setEntry(OptionsModel::Layout, layout,
            layout < 0 ? QString() : SeparatorLayout::texts().value(layout));
        return dir.isValid();
    }
    QString target() const { return dir.filePath("saved.txt"); }
};

const QString location = "in Tessavine2021/08/31.Form1.PushButton2_Click ";
const QStringList threeWords { "w1", "w2", "w3" };

} // namespace

class TestTextExport : public QObject
{
    Q_OBJECT

private slots:
    void savesEveryRowInTheChosenLayout_data();
    void savesEveryRowInTheChosenLayout();
    void emptyListWritesNothing_data();
    void emptyListWritesNothing();
    void cancelledSaveDialogEndsSilently_data();
    void cancelledSaveDialogEndsSilently();
    void emptySeparatorAnswerAsksAgain();
    void noLayoutSelectedWritesNothing();
    void unwritableTargetIsReportedOnce_data();
    void unwritableTargetIsReportedOnce();
};

void TestTextExport::savesEveryRowInTheChosenLayout_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("separatorX");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("expected");

    const QByteArray none;
    QTest::newRow("multiple lines") << threeWords << 0 << "" << none << "w1\r\nw2\r\nw3";
    QTest::newRow("spaces") << threeWords << 1 << "" << none << "w1 w2 w3";
    QTest::newRow("commas") << threeWords << 2 << "" << none << "w1,w2,w3";
    QTest::newRow("comma-spaces") << threeWords << 3 << "" << none << "w1, w2, w3";
    QTest::newRow("typed blank") << threeWords << 4 << " " << none << "w1 w2 w3";
    QTest::newRow("typed several characters") << threeWords << 4 << "--|" << none << "w1--|w2--|w3";
    for (int layout = 0; layout <= 4; ++layout) {
        QTest::addRow("one word, layout %d", layout)
            << QStringList { "w1" } << layout << (layout == 4 ? "--|" : "") << none << "w1";
    }
    QTest::newRow("longer file replaced whole")
        << threeWords << 2 << "" << QByteArray(200, 'z') + "\r\n"
        << "w1,w2,w3";
    QTest::newRow("non-ASCII") << QStringList { "café", "naïve" } << 0 << "" << none
                               << "café\r\nnaïve";
}

void TestTextExport::savesEveryRowInTheChosenLayout()
{
    QFETCH(QStringList, words);
    QFETCH(int, layout);
    QFETCH(QString, separatorX);
    QFETCH(QByteArray, before);
    QFETCH(QString, expected);

    Window w;
    QVERIFY(w.load(words, layout));
    // Every row is saved, ticked or not.
    w.resultList()->setChecked(1, true);
    if (!before.isNull())
        writeAll(w.target(), before);
    if (layout == 4)
        w.fake.dialogs.promptAnswers.push_back(separatorX);
    w.fake.dialogs.saveAnswers.push_back(w.target());

    w.command.PushButton2_Click();

    const QByteArray bytes = readAll(w.target());
    QCOMPARE(bytes, expected.toLocal8Bit());
    QCOMPARE(QString::fromLocal8Bit(bytes), expected);
    // One piece per row, numbered from 1, while the window looks busy.
    QList<int> pieces;
    for (int i = 1; i <= words.size(); ++i)
        pieces << i;
    QCOMPARE(w.writer.pieces, pieces);
    QCOMPARE(w.writer.pointers, QList<int>(words.size(), CommandWindow::PointerHourglass));
    QCOMPARE(w.writer.clearEnabled, QList<bool>(words.size(), false));

    QCOMPARE(w.fake.dialogs.prompts(), layout == 4 ? QStringList { "Enter x: " } : QStringList());
    QCOMPARE(w.fake.dialogs.messages(), QStringList { "Done." });
    if (words == threeWords)
        QCOMPARE(w.status, "Saved 3 words to " + w.target());
    QVERIFY(w.fake.dialogs.errorBoxes().isEmpty());
    QCOMPARE(w.pointer, CommandWindow::PointerDefault);
    QVERIFY(w.clearEnabled);
    // The first save dialog opens at home, the next one where the last file went.
    QCOMPARE(w.fake.dialogs.lastSaveStart, w.fake.files.home);
    w.fake.files.folders << w.dir.path();
    if (layout == 4)
        w.fake.dialogs.promptAnswers.push_back(separatorX);
    w.fake.dialogs.saveAnswers.push_back(QString());
    w.command.PushButton2_Click();
    QCOMPARE(w.fake.dialogs.lastSaveStart, w.dir.path());
}

void TestTextExport::emptyListWritesNothing_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no file") << QByteArray();
    QTest::newRow("existing file") << QByteArray("kept as it was\r\n");
}

void TestTextExport::emptyListWritesNothing()
{
    QFETCH(QByteArray, before);

    Window w;
    QVERIFY(w.load({}, 0));
    if (!before.isNull())
        writeAll(w.target(), before);
    w.fake.dialogs.saveAnswers.push_back(w.target());

    w.command.PushButton2_Click();

    QCOMPARE(QFileInfo::exists(w.target()), !before.isNull());
    QCOMPARE(readAll(w.target()), before);
    QVERIFY(w.writer.pieces.isEmpty());
    QCOMPARE(w.fake.dialogs.messages(), QStringList { "Done." });
    QCOMPARE(w.pointer, CommandWindow::PointerDefault);
    QVERIFY(w.clearEnabled);
}

void TestTextExport::cancelledSaveDialogEndsSilently_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("multiple lines") << 0;
    // The separator is asked for before the dialog.
    QTest::newRow("typed separator") << 4;
}

void TestTextExport::cancelledSaveDialogEndsSilently()
{
    QFETCH(int, layout);

    Window w;
    QVERIFY(w.load(threeWords, layout));
    w.pointer = CommandWindow::PointerCustom;
    w.clearEnabled = false;
    if (layout == 4)
        w.fake.dialogs.promptAnswers.push_back("-");
    w.fake.dialogs.saveAnswers.push_back(QString());

    w.command.PushButton2_Click();

    QCOMPARE(w.fake.dialogs.prompts().size(), layout == 4 ? 1 : 0);
    QCOMPARE(w.fake.dialogs.textsOf(FakeDialogs::SaveFile), QStringList { "Save" });
    QCOMPARE(w.fake.dialogs.lastFilters, QStringList({ "Text Files (*.txt)", "All Files (*.*)" }));
    QVERIFY(w.fake.dialogs.messages().isEmpty());
    QVERIFY(w.fake.dialogs.errorBoxes().isEmpty());
    QVERIFY(w.writer.pieces.isEmpty());
    QCOMPARE(w.pointer, CommandWindow::PointerCustom);
    QVERIFY(!w.clearEnabled);
}

void TestTextExport::emptySeparatorAnswerAsksAgain()
{
    Window w;
    QVERIFY(w.load(threeWords, 4));
    w.fake.dialogs.promptAnswers = { "", "", "+" };
    w.fake.dialogs.saveAnswers.push_back(w.target());

    w.command.PushButton2_Click();

    QCOMPARE(w.fake.dialogs.prompts(), QStringList(3, "Enter x: "));
    for (const FakeDialogs::Entry& entry : w.fake.dialogs.entries) {
        if (entry.kind == FakeDialogs::Prompt)
            QCOMPARE(entry.title, QString("Input X"));
    }
    QCOMPARE(readAll(w.target()), QByteArray("w1+w2+w3"));
}

void TestTextExport::noLayoutSelectedWritesNothing()
{
    Window w;
    QVERIFY(w.load(threeWords, -1));
    w.fake.dialogs.saveAnswers.push_back(w.target());

    w.command.PushButton2_Click();

    QCOMPARE(w.fake.dialogs.textsOf(FakeDialogs::SaveFile).size(), 1);
    QVERIFY(!QFileInfo::exists(w.target()));
    QCOMPARE(w.fake.dialogs.messages(), QStringList { "Done." });
}

void TestTextExport::unwritableTargetIsReportedOnce_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("layout");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("step");

    QTest::newRow("missing folder, first of three")
        << threeWords << 0 << "missing/saved.txt" << ENOENT << 138;
    QTest::newRow("missing folder, only row")
        << QStringList { "w1" } << 0 << "missing/saved.txt" << ENOENT << 140;
    QTest::newRow("parent is a file, spaces")
        << threeWords << 1 << "plain.txt/saved.txt" << ENOTDIR << 150;
    QTest::newRow("directory, commas") << threeWords << 2 << "folder" << EISDIR << 162;
    QTest::newRow("directory, comma-spaces, only row")
        << QStringList { "w1" } << 3 << "folder" << EISDIR << 176;
    QTest::newRow("directory, typed") << threeWords << 4 << "folder" << EISDIR << 186;
}

void TestTextExport::unwritableTargetIsReportedOnce()
{
    QFETCH(QStringList, words);
    QFETCH(int, layout);
    QFETCH(QString, target);
    QFETCH(int, error);
    QFETCH(int, step);

    Window w;
    QVERIFY(w.load(words, layout));
    QVERIFY(QDir(w.dir.path()).mkdir("folder"));
    writeAll(w.dir.filePath("plain.txt"), "plain");
    if (layout == 4)
        w.fake.dialogs.promptAnswers.push_back(";");
    w.fake.dialogs.saveAnswers.push_back(w.dir.filePath(target));

    w.command.PushButton2_Click();

    const QStringList boxes = w.fake.dialogs.errorBoxes();
    QCOMPARE(boxes.size(), 1);
    const QString expected = QString::fromLocal8Bit(std::strerror(error)) + "\r\n" + location
        + "at line " + QString::number(step) + "\r\r";
    QVERIFY2(boxes.first().startsWith(expected), qPrintable(boxes.first()));
    QCOMPARE(w.writer.pieces, QList<int> { 1 });
    QVERIFY(w.fake.dialogs.messages().isEmpty());
    QCOMPARE(w.pointer, CommandWindow::PointerDefault);
    QVERIFY(w.clearEnabled);
    QCOMPARE(readAll(w.dir.filePath("plain.txt")), QByteArray("plain"));
}

QTEST_GUILESS_MAIN(TestTextExport)
#include "tst_textExport.moc"
