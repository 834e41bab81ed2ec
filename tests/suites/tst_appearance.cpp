#include "app/ResultListModel.h"
#include "platform/LocalFileSystem.h"
#include "window/Form1.h"
#include "window/ProgramLook.h"
#include "window/ResultListView.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <sys/stat.h>

class AppearanceTest : public QObject
{
    Q_OBJECT

private slots:
    void designLookIsWhiteWithArialBold();
    void designLookHoldsUnderADarkDesktop_data();
    void designLookHoldsUnderADarkDesktop();
    void skinFileRecoloursTheWindow_data();
    void skinFileRecoloursTheWindow();
    void handCursorKeepsItsDeclaredHotSpot();
    void unloadableCursorIsReportedAtLine112_data();
    void unloadableCursorIsReportedAtLine112();
    void withoutCursorFileTheHandLooksLikeTheStandardPointer();
    void pointerFollowsWhatItMovesOver_data();
    void pointerFollowsWhatItMovesOver();
    void hourglassIsNeverReplacedByHover();
};

namespace {

QList<QWidget*> facedWidgets(Form1& form)
{
    QList<QWidget*> widgets { &form };
    for (QWidget* child : form.findChildren<QWidget*>()) {
        if (qobject_cast<QGroupBox*>(child) || qobject_cast<QCheckBox*>(child)
            || qobject_cast<QRadioButton*>(child))
            widgets << child;
    }
    return widgets;
}

// A 16 x 16 cursor file with one 32-bit image and the given hot spot.
QByteArray cursorFile(quint16 hotX, quint16 hotY)
{
    QByteArray image(40, '\0');
    qToLittleEndian<quint32>(40, image.data());
    qToLittleEndian<qint32>(16, image.data() + 4);
    qToLittleEndian<qint32>(32, image.data() + 8);
    qToLittleEndian<quint16>(1, image.data() + 12);
    qToLittleEndian<quint16>(32, image.data() + 14);
    image += QByteArray(16 * 16 * 4, '\x7f');
    image += QByteArray(16 * 4, '\0');

    QByteArray file(22, '\0');
    qToLittleEndian<quint16>(2, file.data() + 2);
    qToLittleEndian<quint16>(1, file.data() + 4);
    file[6] = 16;
    file[7] = 16;
    qToLittleEndian<quint16>(hotX, file.data() + 10);
    qToLittleEndian<quint16>(hotY, file.data() + 12);
    qToLittleEndian<quint32>(quint32(image.size()), file.data() + 14);
    qToLittleEndian<quint32>(22, file.data() + 18);
    return file + image;
}

// A program folder on disk, read through the real file system.
struct ProgramFolder
{
    QTemporaryDir dir;
    LocalFileSystem files;
    FakePlatform fake;

    ProgramFolder()
    {
        QFile(dir.filePath(QStringLiteral("dbWords.mdb"))).open(QIODevice::WriteOnly);
        fake.platform.files = &files;
        fake.platform.programFolder = dir.path();
    }
    void put(const QString& name, const QByteArray& content)
    {
        QDir(dir.path()).mkpath(QFileInfo(name).path());
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
};

// How many pixels are lighter than the given grey, and the darkest grey.
std::pair<int, int> inkOf(const QImage& area, int lighterThan)
{
    int light = 0, darkest = 255;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            light += qGray(area.pixel(x, y)) > lighterThan;
            darkest = std::min(darkest, qGray(area.pixel(x, y)));
        }
    }
    return { light, darkest };
}

void moveOver(QWidget* widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

void AppearanceTest::designLookIsWhiteWithArialBold()
{
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    for (QWidget* widget : facedWidgets(form))
        QCOMPARE(widget->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(form.font().family(), QStringLiteral("Arial"));
    QVERIFY(form.font().bold());
    QCOMPARE(form.font().pointSizeF(), 9.0);
    QCOMPARE(form.ListView1->font().pointSizeF(), 9.0);
    for (QPushButton* button : form.findChildren<QPushButton*>())
        QCOMPARE(button->font().pointSizeF(), 11.25);
}

void AppearanceTest::designLookHoldsUnderADarkDesktop_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<bool>("darkFusionPalette");
    QTest::newRow("dark Fusion palette") << QStringLiteral("Fusion") << true;
    // What GNOME users set so that Qt programs match; its own colours and larger metrics.
    QTest::newRow("Adwaita-Dark") << QStringLiteral("Adwaita-Dark") << false;
}

void AppearanceTest::designLookHoldsUnderADarkDesktop()
{
    QFETCH(QString, style);
    QFETCH(bool, darkFusionPalette);
    const QPalette before = QApplication::palette();
    const QString styleBefore = QApplication::style()->name();
    auto restore = qScopeGuard([&] {
        QApplication::setPalette(before);
        QApplication::setStyle(styleBefore);
    });
    // The desktop's choice comes first, as at start-up; then the program's own.
    QStyle* desktop = QStyleFactory::create(style);
    QVERIFY2(desktop, "the adwaita-qt6 package is missing (scripts/install-deps.sh test)");
    QApplication::setStyle(desktop);
    QPalette dark(QColor(53, 53, 53), QColor(40, 40, 40));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    QApplication::setPalette(darkFusionPalette ? dark : desktop->standardPalette());
    ProgramLook::apply();
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    for (int row = 0; row < 10; ++row)
        form.resultList()->append(QStringLiteral("word"));
    form.resultList()->flush();
    const QImage window = form.grab().toImage();

    // Boxes, menus and drop-down lists take the same light look.
    QMessageBox box;
    QMenu menu;
    for (QWidget* other : QList<QWidget*> { &box, &menu, form.Combo1->view() }) {
        QCOMPARE(other->style()->name(), QStringLiteral("fusion"));
        QVERIFY(other->palette().color(QPalette::Window).lightness() > 200);
        QVERIFY(other->palette().color(QPalette::WindowText).lightness() < 60);
    }
    // Every caption fits its control, and the list shows as many rows as its design gives it.
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>()) {
        const int needed = qobject_cast<QPushButton*>(button)
            ? button->fontMetrics().horizontalAdvance(button->text()) + 8
            : button->sizeHint().width();
        QVERIFY2(needed <= button->width(), qPrintable(button->objectName()));
    }
    for (const QComboBox* list : form.Frame8->findChildren<QComboBox*>())
        QVERIFY2(list->sizeHint().width() <= list->width(), qPrintable(list->objectName()));
    const QWidget* rows = form.ListView1->viewport();
    QCOMPARE(form.ListView1->indexAt(QPoint(2, rows->height() - 2)).row(), 6);
    // Buttons and drop-downs: dark letters on a light face.
    for (QWidget* control :
        QList<QWidget*> { form.PushButton1, form.PushButton9, form.Combo1, form.Combo3 }) {
        const QImage area = window.copy(
            QRect(control->mapTo(&form, QPoint(4, 4)), control->size() - QSize(8, 8)));
        const auto [light, darkest] = inkOf(area, 200);
        QVERIFY2(light > area.width() * area.height() / 2 && darkest < 64,
            qPrintable(control->objectName()));
    }
    // Captions of frames, check boxes (tick box included) and option buttons: mostly white, so
    // no grey strip, with dark letters.
    for (QWidget* caption : QList<QWidget*> {
             form.Frame3, form.Check2, form.Check4, form.Check1, form.Option7, form.Option8 }) {
        const int width = caption == form.Check4 ? form.Combo2->x() - caption->x() : 120;
        const QImage area
            = window.copy(QRect(caption->mapTo(&form, QPoint(0, 0)), QSize(width, 16)));
        const auto [white, darkest] = inkOf(area, 254);
        QVERIFY2(white > width * 16 / 2 && darkest < 64, qPrintable(caption->objectName()));
    }
    // The letter-rule caption ends before the letter drop-down: no letter left of its edge.
    const QPoint corner = form.Combo3->mapTo(&form, QPoint(-1, 0));
    for (int y = corner.y(); y < corner.y() + form.Combo3->height(); ++y)
        QVERIFY(qGray(window.pixel(corner.x(), y)) > 200);
}

void AppearanceTest::skinFileRecoloursTheWindow_data()
{
    QTest::addColumn<bool>("skinIsFile");
    QTest::newRow("file x/o.cjs") << true;
    QTest::newRow("folder x/o.cjs") << false;
}

void AppearanceTest::skinFileRecoloursTheWindow()
{
    QFETCH(bool, skinIsFile);
    ProgramFolder folder;
    if (skinIsFile)
        folder.put(QStringLiteral("x/o.cjs"), "skin");
    else
        QVERIFY(QDir(folder.dir.path()).mkpath(QStringLiteral("x/o.cjs")));
    Form1 form(folder.fake.platform);
    QVERIFY(form.Form_Load());
    const QColor expected
        = skinIsFile ? QApplication::palette().color(QPalette::Button) : QColor(Qt::white);
    for (QWidget* widget : facedWidgets(form))
        QCOMPARE(widget->palette().color(QPalette::Window), expected);
    QVERIFY(folder.fake.dialogs.entries.empty());
}

void AppearanceTest::handCursorKeepsItsDeclaredHotSpot()
{
    ProgramFolder folder;
    folder.put(QStringLiteral("HAND-M.CUR"), cursorFile(3, 5));
    Form1 form(folder.fake.platform);
    QVERIFY(form.Form_Load());
    QVERIFY(form.hasCustomPointerImage());
    QVERIFY(folder.fake.dialogs.entries.empty());
    form.setMousePointer(Form1::PointerCustom);
    QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(form.cursor().hotSpot(), QPoint(3, 5));
}

void AppearanceTest::unloadableCursorIsReportedAtLine112_data()
{
    QTest::addColumn<bool>("pipe");
    QTest::newRow("not a cursor") << false;
    // Would block the start-up for good if it were opened for reading as a file.
    QTest::newRow("named pipe") << true;
}

void AppearanceTest::unloadableCursorIsReportedAtLine112()
{
    QFETCH(bool, pipe);
    ProgramFolder folder;
    if (pipe)
        QCOMPARE(
            ::mkfifo(QFile::encodeName(folder.dir.filePath("HAND-M.CUR")).constData(), 0600), 0);
    else
        folder.put(QStringLiteral("HAND-M.CUR"), "not a cursor");
    Form1 form(folder.fake.platform);
    QVERIFY(form.Form_Load());
    const QStringList boxes = folder.fake.dialogs.errorBoxes();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.first().contains(QStringLiteral("Form1.Form_Load at line 112\r\r")));
    QVERIFY(!form.hasCustomPointerImage());
    QCOMPARE(form.Text1->text(), QStringLiteral("100"));
}

void AppearanceTest::withoutCursorFileTheHandLooksLikeTheStandardPointer()
{
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    moveOver(form.PushButton2);
    QCOMPARE(form.mousePointer(), Form1::PointerCustom);
    QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
}

void AppearanceTest::pointerFollowsWhatItMovesOver_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    for (const char* button : { "PushButton1", "PushButton2", "PushButton3", "PushButton4",
             "PushButton5", "PushButton9" })
        QTest::newRow(button) << QString::fromLatin1(button) << 0 << 99;
    for (const char* background : { "Form1", "Frame1", "Frame2", "Frame3", "Frame4", "Frame5",
             "Frame6", "Frame7", "ListView1" })
        QTest::newRow(background) << QString::fromLatin1(background) << 99 << 0;
    QTest::newRow("progress bar keeps the hand") << QStringLiteral("ProgressBar1") << 99 << 99;
    QTest::newRow("check box keeps the default") << QStringLiteral("Check1") << 0 << 0;
}

void AppearanceTest::pointerFollowsWhatItMovesOver()
{
    QFETCH(QString, control);
    QFETCH(int, start);
    QFETCH(int, expected);
    FakePlatform fake;
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    form.setMousePointer(start);
    QWidget* target = control == QLatin1String("Form1") ? &form : form.findChild<QWidget*>(control);
    QVERIFY(target);
    if (auto* view = qobject_cast<ResultListView*>(target))
        target = view->viewport();
    moveOver(target);
    QCOMPARE(form.mousePointer(), expected);
}

void AppearanceTest::hourglassIsNeverReplacedByHover()
{
    FakePlatform fake;
    fake.words.words = { QStringLiteral("cat") };
    Form1 form(fake.platform);
    QVERIFY(form.Form_Load());
    form.Text1->setText(QStringLiteral("2"));
    QList<int> during;
    fake.pump.actions[1] = [&] {
        for (QWidget* widget :
            QList<QWidget*> { form.PushButton1, form.Frame2, form.ListView1->viewport(), &form }) {
            moveOver(widget);
            during << form.mousePointer();
        }
    };
    form.PushButton1_Click();
    QCOMPARE(during, (QList<int> { 11, 11, 11, 11 }));
    QCOMPARE(form.mousePointer(), 0);
    moveOver(form.PushButton1);
    QCOMPARE(form.mousePointer(), 99);
}

QTEST_MAIN(AppearanceTest)
#include "tst_appearance.moc"
