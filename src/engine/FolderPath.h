#pragma once

#include <QString>

// Cleans up the output path: doubled separators become single ones, and a path that starts with
// separators starts with exactly two.
QString NormalizeFolderPath(const QString& path);
