#pragma once

#include "engine/WordList.h"

#include <QString>

class QIODevice;

// Reads a plain word list: UTF-8 text, one word a line. A carriage return before a line feed is
// dropped, so lists saved on Windows read alike, and empty lines are skipped. Throws
// PlatformError with the reason (the system's words for a file that cannot be read) when the file
// cannot be read or is not UTF-8.
WordList readPlainWordList(const QString& path);

// The same from an open device, read as a stream: a pipe or a device is read like a file, and an
// endless or binary one ends with a PlatformError at the first bad line or past the limits below.
WordList readPlainWordList(QIODevice& device);

namespace PlainWordLimits {
// Far beyond any real list (the largest English lists are a few megabytes, their lines a few
// dozen characters), small enough that reading one never threatens the machine's memory.
constexpr qint64 maxBytes = qint64(16) << 20;
constexpr size_t maxWords = size_t(1) << 20;
constexpr qsizetype maxLineBytes = 4096;
} // namespace PlainWordLimits
