#pragma once

#include "platform/FileSystem.h"

// The local file system and the desktop folder of the user.
class LocalFileSystem : public FileSystem
{
public:
    bool isFile(const QString& path) const override;
    bool hasModificationTime(const QString& path) const override;
    QString desktopFolder() const override;
    bool isFolder(const QString& path) const override;
    QString homeFolder() const override;
};
