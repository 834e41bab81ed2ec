#pragma once

#include <QString>
#include <QStringList>

class QObject;

// The modal dialogs the window uses. Each call returns when the user has answered.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // Plain message: the text, an OK button, no icon, the given caption.
    virtual void message(QObject* owner, const QString& text, const QString& caption) = 0;
    // The error box: the text, an OK button, the warning icon, the title "Application Error".
    virtual void errorBox(QObject* owner, const QString& text) = 0;
    // The About box: the text, the full notices behind its details button. Where no box of its
    // own is offered, a plain message with both.
    virtual void about(
        QObject* owner, const QString& text, const QString& notices, const QString& caption)
    {
        message(owner, text + QLatin1String("\n\n") + notices, caption);
    }
    // Text prompt; Cancel gives the empty text.
    virtual QString prompt(QObject* owner, const QString& text, const QString& title) = 0;
    // Save-file dialog without overwrite question or default suffix, opening in the start folder;
    // empty on Cancel.
    virtual QString saveFileName(
        QObject* owner, const QString& caption, const QStringList& filters, const QString& start)
        = 0;
    // Folder dialog showing folders only; empty on Cancel.
    virtual QString existingDirectory(QObject* owner, const QString& caption, const QString& start)
        = 0;
};
