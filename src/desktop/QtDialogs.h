#pragma once

#include "platform/Dialogs.h"

// Dialogs shown with Qt's standard modal dialogs.
class QtDialogs : public Dialogs
{
public:
    void message(QWidget* owner, const QString& text, const QString& caption) override;
    void errorBox(QWidget* owner, const QString& text) override;
    void about(QWidget* owner, const QString& text, const QString& notices,
        const QString& caption) override;
    QString prompt(QWidget* owner, const QString& text, const QString& title) override;
    QString saveFileName(QWidget* owner, const QString& caption, const QStringList& filters,
        const QString& start) override;
    QString existingDirectory(
        QWidget* owner, const QString& caption, const QString& start) override;
};
