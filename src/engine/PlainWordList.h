#pragma once

#include "engine/WordList.h"

#include <QString>

// Reads a plain word list: UTF-8 text, one word a line. A carriage return before a line feed is
// dropped, so lists saved on Windows read alike, and empty lines are skipped. Throws
// PlatformError with the reason (the system's words for a file that cannot be read) when the file
// cannot be read or is not UTF-8.
WordList readPlainWordList(const QString& path);
