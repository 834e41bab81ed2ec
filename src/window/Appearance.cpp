#include "window/Appearance.h"

#include "engine/PlatformError.h"
#include "platform/LocalFilePath.h"
#include "window/Form1.h"
#include "window/ResultListView.h"
#include "window/ProgramLook.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Appearance {

namespace {

    void setBackground(QWidget* widget, const QColor& colour)
    {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, colour);
        // Check boxes and option buttons fill with the button colour.
        if (qobject_cast<QAbstractButton*>(widget))
            palette.setColor(QPalette::Button, colour);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }

    // The blanks of "The ... letter must be a" make room for the position drop-down; as many are
    // kept as let the caption's end clear the letter drop-down in this font and style.
    void fitLetterRuleCaption(Form1& form)
    {
        QCheckBox* box = form.Check4;
        const QString head = QStringLiteral("The");
        const QString tail = QStringLiteral("letter must be a");
        QStyleOptionButton option;
        option.initFrom(box);
        const int textStart = box->x()
            + box->style()->pixelMetric(QStyle::PM_IndicatorWidth, &option, box)
            + box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, box);
        const QFontMetrics metrics(box->font());
        const int room = form.Combo3->x() - 2 - textStart;
        int blanks = 36;
        while (blanks > 1
            && metrics.horizontalAdvance(head + QString(blanks, QLatin1Char(' ')) + tail) > room)
            --blanks;
        box->setText(head + QString(blanks, QLatin1Char(' ')) + tail);
    }

    // A check box or option button as wide as its caption needs, where the design's width falls a
    // few pixels short in this font and style; the frame's edge is the limit.
    void fitCaptions(Form1& form)
    {
        for (QAbstractButton* box : form.findChildren<QAbstractButton*>()) {
            if (qobject_cast<QPushButton*>(box))
                continue;
            const int room = box->parentWidget()->width() - box->x();
            if (box->width() < box->sizeHint().width())
                box->resize(std::min(box->sizeHint().width(), room), box->height());
        }
    }

    // Widgets whose background follows the window's face colour.
    QList<QWidget*> facedWidgets(Form1& form)
    {
        QList<QWidget*> widgets { &form };
        for (QWidget* child : form.findChildren<QWidget*>()) {
            if (qobject_cast<QGroupBox*>(child) || qobject_cast<QCheckBox*>(child)
                || qobject_cast<QRadioButton*>(child) || qobject_cast<QLabel*>(child))
                widgets << child;
        }
        return widgets;
    }

} // namespace

void applyDesignLook(Form1& form)
{
    // Light colours whatever the desktop's scheme: the backgrounds are set white, so every text
    // colour drawn on them must be dark, the drop-downs, fields and tick boxes included.
    form.setPalette(ProgramLook::lightPalette());
    for (QWidget* widget : facedWidgets(form))
        setBackground(widget, Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(9);
    font.setBold(true);
    form.setFont(font);
    form.ListView1->setFont(font);
    QFont buttonFont = font;
    buttonFont.setPointSizeF(11.25);
    for (QPushButton* button : form.findChildren<QPushButton*>())
        button->setFont(buttonFont);
    fitLetterRuleCaption(form);
    fitCaptions(form);
}

void applySkin(Form1& form)
{
    const QColor face = QApplication::palette().color(QPalette::Button);
    for (QWidget* widget : facedWidgets(form))
        setBackground(widget, face);
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    if (!fusion)
        throw PlatformError(QStringLiteral("The skin cannot be loaded."));
    fusion->setParent(&form);
    QPalette palette = fusion->standardPalette();
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::Button, face);
    form.setPalette(palette);
    form.setStyle(fusion);
    for (QWidget* child : form.findChildren<QWidget*>())
        child->setStyle(fusion);
    for (QWidget* widget : facedWidgets(form))
        setBackground(widget, face);
    fitLetterRuleCaption(form);
    fitCaptions(form);
}

QCursor loadCursorFile(const QString& path)
{
    // Read without blocking and only from a regular file: a named pipe in its place must not hang
    // the start-up.
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        throw PlatformError(QString::fromLocal8Bit(std::strerror(errno)));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw PlatformError(file.errorString());
    }
    struct stat status
    { };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        throw notRegularFile();
    // A pointer image is a few kilobytes; a larger file is no pointer file.
    constexpr qint64 largest = 1 << 20;
    const QByteArray bytes = file.read(largest + 1);
    if (bytes.size() > largest)
        throw PlatformError(QStringLiteral("Invalid picture"));

    // A cursor file starts with reserved 0, type 2 and at least one image entry.
    if (bytes.size() < 14 || qFromLittleEndian<quint16>(bytes.constData()) != 0
        || qFromLittleEndian<quint16>(bytes.constData() + 2) != 2
        || qFromLittleEndian<quint16>(bytes.constData() + 4) == 0)
        throw PlatformError(QStringLiteral("Invalid picture"));
    const int hotX = qFromLittleEndian<quint16>(bytes.constData() + 10);
    const int hotY = qFromLittleEndian<quint16>(bytes.constData() + 12);

    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "cur");
    const QImage image = reader.read();
    if (image.isNull())
        throw PlatformError(QStringLiteral("Invalid picture"));
    return QCursor(
        QPixmap::fromImage(image), qMin(hotX, image.width() - 1), qMin(hotY, image.height() - 1));
}

} // namespace Appearance
