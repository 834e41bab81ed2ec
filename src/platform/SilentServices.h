#pragma once

#include "platform/Dialogs.h"
#include "platform/Spreadsheet.h"

#include <cstdio>

// Dialogs for a window that no user answers (the window picture, the benchmark): nothing waits.
// Error boxes go to standard error, message boxes are passed over, a prompt answers "1", the
// save dialog answers savePath and the folder dialog nothing.
class SilentDialogs : public Dialogs
{
public:
    void message(QObject*, const QString&, const QString&) override { }
    void errorBox(QObject*, const QString& text) override
    {
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
    QString prompt(QObject*, const QString&, const QString&) override
    {
        return QStringLiteral("1");
    }
    QString saveFileName(QObject*, const QString&, const QStringList&, const QString&) override
    {
        return savePath;
    }
    QString existingDirectory(QObject*, const QString&, const QString&) override { return {}; }

    QString savePath;
};

// No spreadsheet application is installed.
class NoSpreadsheetLauncher : public SpreadsheetLauncher
{
public:
    std::unique_ptr<SpreadsheetApplication> start() override { return nullptr; }
};
