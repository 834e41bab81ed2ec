#include "platform/LocalFilePath.h"

std::optional<QString> localFilePath(const QString& path)
{
    const QLatin1String doubled("//");
    if (path.isEmpty())
        return std::nullopt;
    if (!path.startsWith(doubled))
        return path;
    if (path.indexOf(QLatin1Char('/'), doubled.size()) < 0)
        return std::nullopt;
    return path.mid(1);
}
