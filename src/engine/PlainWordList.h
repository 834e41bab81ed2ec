#pragma once

#include "engine/WordList.h"

#include <QString>

class QIODevice;

// Reads a plain word list from an open device: UTF-8 text, one word a line. A carriage return
// before a line feed is dropped, so lists saved on Windows read alike, and empty lines are
// skipped. It is read as a stream: a pipe or a device is read like a file, and an endless or
// binary one ends with a PlatformError (the reason, the system's words for a read that fails) at
// the first bad line or past the limits below.
WordList readPlainWordList(QIODevice& device);

namespace PlainWordLimits {
// Far beyond any real list (the largest English lists are a few megabytes, their lines a few
// dozen characters), small enough that reading one never threatens the machine's memory.
constexpr qint64 maxBytes = qint64(16) << 20;
constexpr size_t maxWords = size_t(1) << 20;
constexpr qsizetype maxLineBytes = 4096;
} // namespace PlainWordLimits
