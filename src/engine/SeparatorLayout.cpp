#include "engine/SeparatorLayout.h"

namespace SeparatorLayout {

const QStringList& texts()
{
    static const QStringList list {
        QStringLiteral("Save as multiple lines"),
        QStringLiteral("Save as one line separated by spaces"),
        QStringLiteral("Save as one line separated by commas"),
        QStringLiteral("Save as one line separated by comma-spaces"),
        QStringLiteral("Save as one line separated by x"),
    };
    return list;
}

std::optional<Position> fromText(const QString& text)
{
    const qsizetype index = texts().indexOf(text);
    if (index < 0)
        return std::nullopt;
    return static_cast<Position>(index);
}

QString joiner(Position layout, const QString& separatorX)
{
    switch (layout) {
    case MultipleLines:
        return QStringLiteral("\r\n");
    case Spaces:
        return QStringLiteral(" ");
    case Commas:
        return QStringLiteral(",");
    case CommaSpaces:
        return QStringLiteral(", ");
    case TypedSeparator:
        return separatorX;
    }
    return QString();
}

QString piece(const QString& word, bool last, const QString& joiner)
{
    return last ? word : word + joiner;
}

} // namespace SeparatorLayout
