#pragma once

#include "engine/SqliteWordStore.h"
#include "engine/SystemRandom.h"
#include "platform/FileTextWriter.h"
#include "platform/LocalFileSystem.h"
#include "platform/Platform.h"
#include "desktop/QtClipboard.h"
#include "desktop/QtDialogs.h"
#include "platform/QtEventPump.h"
#include "platform/QtSettingsStore.h"
#include "platform/XlsxSpreadsheetLauncher.h"

// The real services, owned together. Callers may point single services of platform() elsewhere
// (a tool that must not open dialogs, say) before handing it to the window.
class RealPlatform
{
public:
    explicit RealPlatform(const QString& programFolder);

    Platform& platform() { return m_platform; }

private:
    QtDialogs m_dialogs;
    QtSettingsStore m_settings;
    SqliteWordStore m_words;
    FileTextWriter m_writer;
    QtClipboard m_clipboard;
    XlsxSpreadsheetLauncher m_spreadsheet;
    QtEventPump m_pump;
    SystemRandom m_random;
    LocalFileSystem m_files;
    Platform m_platform;
};
