#include "engine/FolderPath.h"

namespace {

const QChar separator = QLatin1Char('/');

// Replaces each pair of adjacent separators by one, left to right, pairs not overlapping.
QString collapsePairs(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == separator && i + 1 < text.size() && text[i + 1] == separator)
            ++i;
    }
    return result;
}

} // namespace

QString NormalizeFolderPath(const QString& path)
{
    if (!path.startsWith(separator))
        return collapsePairs(path);
    qsizetype k = 0;
    while (k < path.size() && path[k] == separator)
        ++k;
    return QString(2, separator) + collapsePairs(path.mid(k));
}
