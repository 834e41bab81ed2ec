#include "desktop/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

// The owner handle is the window itself, or nothing.
QWidget* widget(QObject* owner)
{
    return qobject_cast<QWidget*>(owner);
}

void showBox(QWidget* owner, QMessageBox::Icon icon, const QString& text, const QString& caption)
{
    // A window not shown yet has no place of its own: a box centred on it would sit in a corner
    // of the screen. Without an owner Qt centres the box on the screen.
    QMessageBox box(
        icon, caption, text, QMessageBox::Ok, owner && owner->isVisible() ? owner : nullptr);
    // Bare carriage returns in our texts are meant as line breaks.
    box.setText(QString(text)
                    .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                    .replace(QLatin1Char('\r'), QLatin1Char('\n')));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void QtDialogs::message(QObject* owner, const QString& text, const QString& caption)
{
    showBox(widget(owner), QMessageBox::NoIcon, text, caption);
}

void QtDialogs::errorBox(QObject* owner, const QString& text)
{
    showBox(widget(owner), QMessageBox::Warning, text, QStringLiteral("Application Error"));
}

void QtDialogs::about(
    QObject* owner, const QString& text, const QString& notices, const QString& caption)
{
    QWidget* window = widget(owner);
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    if (window)
        box.setIconPixmap(window->windowIcon().pixmap(64));
    box.setDetailedText(notices);
    box.exec();
}

QString QtDialogs::prompt(QObject* owner, const QString& text, const QString& title)
{
    bool ok = false;
    QString answer
        = QInputDialog::getText(widget(owner), title, text, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}

QString QtDialogs::saveFileName(
    QObject* owner, const QString& caption, const QStringList& filters, const QString& start)
{
    return QFileDialog::getSaveFileName(widget(owner), caption, start,
        filters.join(QLatin1String(";;")), nullptr, QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::existingDirectory(QObject* owner, const QString& caption, const QString& start)
{
    return QFileDialog::getExistingDirectory(
        widget(owner), caption, start, QFileDialog::ShowDirsOnly);
}
