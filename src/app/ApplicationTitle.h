#pragma once

#include <QString>

// The title message boxes show: the product name cut before its last blank, and cut again while
// longer than 40 characters; a name without a blank is used whole.
QString applicationTitle(const QString& productName);

// The product name the window shows in its caption.
inline QString productName()
{
    return QStringLiteral("Tessavine");
}
