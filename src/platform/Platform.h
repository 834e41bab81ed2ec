#pragma once

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/EventPump.h"
#include "platform/FileSystem.h"
#include "engine/RandomSource.h"
#include "platform/SettingsStore.h"
#include "platform/Spreadsheet.h"
#include "platform/TextWriter.h"
#include "engine/WordStore.h"

#include <QString>

// Every outside service the window uses, handed in at construction.
struct Platform
{
    Dialogs* dialogs = nullptr;
    SettingsStore* settings = nullptr;
    WordStore* words = nullptr;
    TextWriter* writer = nullptr;
    Clipboard* clipboard = nullptr;
    SpreadsheetLauncher* spreadsheet = nullptr;
    EventPump* pump = nullptr;
    RandomSource* random = nullptr;
    FileSystem* files = nullptr;
    // The folder that holds the program and its data files.
    QString programFolder;
};
