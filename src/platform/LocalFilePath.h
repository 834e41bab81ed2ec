#pragma once

#include "engine/PlatformError.h"

#include <QString>
#include <optional>

// The file that a written path names on this system, or nothing when it names none. This system
// has no network shares, so a leading "//" stands for "/". Refused are the empty path and a name
// straight after the leading "//" ("//Words.txt" is what an empty folder field gives): no folder
// was given, and the writers must not put the file at the top of the file system.
std::optional<QString> localFilePath(const QString& path);

// The failure for a path that names a named pipe, a device or anything else but a regular file:
// such a file is never opened in a way that could block the window.
inline PlatformError notRegularFile()
{
    return PlatformError(QStringLiteral("Not a regular file"));
}
