#pragma once

#include <QString>

// Questions about files that the window asks at start-up.
class FileSystem
{
public:
    virtual ~FileSystem() = default;
    // True when path names an existing regular file.
    virtual bool isFile(const QString& path) const = 0;
    // True when the file's modification time can be read.
    virtual bool hasModificationTime(const QString& path) const = 0;
    // The current user's desktop folder; throws PlatformError when there is none.
    virtual QString desktopFolder() const = 0;
};
