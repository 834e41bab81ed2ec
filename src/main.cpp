#include "platform/FileTextWriter.h"
#include "platform/LocalFileSystem.h"
#include "platform/QtClipboard.h"
#include "platform/QtDialogs.h"
#include "platform/QtEventPump.h"
#include "platform/QtSettingsStore.h"
#include "platform/SqliteWordStore.h"
#include "platform/TimeOfDayRandom.h"
#include "platform/XlsxSpreadsheetLauncher.h"
#include "window/Form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessavine"));
    QApplication::setDesktopFileName(QStringLiteral("tessavine"));

    QtDialogs dialogs;
    QtSettingsStore settings;
    SqliteWordStore words;
    FileTextWriter writer;
    QtClipboard clipboard;
    XlsxSpreadsheetLauncher spreadsheet;
    QtEventPump pump;
    TimeOfDayRandom random;
    LocalFileSystem files;

    Platform platform;
    platform.dialogs = &dialogs;
    platform.settings = &settings;
    platform.words = &words;
    platform.writer = &writer;
    platform.clipboard = &clipboard;
    platform.spreadsheet = &spreadsheet;
    platform.pump = &pump;
    platform.random = &random;
    platform.files = &files;
    platform.programFolder = QApplication::applicationDirPath();

    Form1 form(platform);
    if (!form.Form_Load())
        return 0;
    form.show();
    return QApplication::exec();
}
