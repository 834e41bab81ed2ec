#pragma once

#include <QString>

// Questions about files and folders that the window asks.
class FileSystem
{
public:
    virtual ~FileSystem() = default;
    // True when path names an existing regular file.
    virtual bool isFile(const QString& path) const = 0;
    // True when the file's modification time can be read.
    virtual bool hasModificationTime(const QString& path) const = 0;
    // The current user's desktop folder, or the home folder where the desktop folder does not
    // exist; throws PlatformError when there is neither.
    virtual QString desktopFolder() const = 0;
    // True when path names an existing folder.
    virtual bool isFolder(const QString& path) const = 0;
    // The current user's home folder.
    virtual QString homeFolder() const = 0;
};
