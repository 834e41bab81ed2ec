#pragma once

#include <QString>
#include <optional>

// The file that a written path names on this system, or nothing when it names none. This system
// has no network shares, so a leading "//" stands for "/". Refused are the empty path and a name
// straight after the leading "//" ("//Words.txt" is what an empty folder field gives): no folder
// was given, and the writers must not put the file at the top of the file system.
std::optional<QString> localFilePath(const QString& path);
