#include "platform/LocalFileSystem.h"

#include "engine/PlatformError.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

bool LocalFileSystem::isFile(const QString& path) const
{
    return QFileInfo(path).isFile();
}

bool LocalFileSystem::hasModificationTime(const QString& path) const
{
    const QFileInfo info(path);
    return info.exists() && info.lastModified().isValid();
}

QString LocalFileSystem::desktopFolder() const
{
    // Many desktops have no desktop folder; the home folder is where the words can go instead.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (isFolder(folder))
        return folder;
    const QString home = homeFolder();
    if (home.isEmpty())
        throw PlatformError(QStringLiteral("The desktop folder cannot be found."));
    return home;
}

bool LocalFileSystem::isFolder(const QString& path) const
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

QString LocalFileSystem::homeFolder() const
{
    return QDir::homePath();
}
