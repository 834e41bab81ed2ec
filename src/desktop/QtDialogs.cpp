#include "platform/QtDialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

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

void QtDialogs::message(QWidget* owner, const QString& text, const QString& caption)
{
    showBox(owner, QMessageBox::NoIcon, text, caption);
}

void QtDialogs::errorBox(QWidget* owner, const QString& text)
{
    showBox(owner, QMessageBox::Warning, text, QStringLiteral("Application Error"));
}

void QtDialogs::about(
    QWidget* owner, const QString& text, const QString& notices, const QString& caption)
{
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    if (owner)
        box.setIconPixmap(owner->windowIcon().pixmap(64));
    box.setDetailedText(notices);
    box.exec();
}

QString QtDialogs::prompt(QWidget* owner, const QString& text, const QString& title)
{
    bool ok = false;
    QString answer = QInputDialog::getText(owner, title, text, QLineEdit::Normal, QString(), &ok);
    return ok ? answer : QString();
}

QString QtDialogs::saveFileName(
    QWidget* owner, const QString& caption, const QStringList& filters, const QString& start)
{
    return QFileDialog::getSaveFileName(owner, caption, start, filters.join(QLatin1String(";;")),
        nullptr, QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::existingDirectory(QWidget* owner, const QString& caption, const QString& start)
{
    return QFileDialog::getExistingDirectory(owner, caption, start, QFileDialog::ShowDirsOnly);
}
