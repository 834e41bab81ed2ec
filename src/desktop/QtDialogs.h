#pragma once

#include "platform/Dialogs.h"

// Dialogs shown with Qt's standard modal dialogs.
class QtDialogs : public Dialogs
{
public:
    void message(QObject* owner, const QString& text, const QString& caption) override;
    void errorBox(QObject* owner, const QString& text) override;
    void about(QObject* owner, const QString& text, const QString& notices,
        const QString& caption) override;
    QString prompt(QObject* owner, const QString& text, const QString& title) override;
    QString saveFileName(QObject* owner, const QString& caption, const QStringList& filters,
        const QString& start) override;
    QString existingDirectory(
        QObject* owner, const QString& caption, const QString& start) override;
};
