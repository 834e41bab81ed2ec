#include "platform/LocalFileSystem.h"

#include "engine/PlatformError.h"

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
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty())
        throw PlatformError(QStringLiteral("The desktop folder cannot be found."));
    return folder;
}
