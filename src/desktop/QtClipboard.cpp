#include "desktop/QtClipboard.h"

#include "engine/PlatformError.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

QClipboard* clipboard()
{
    QClipboard* board = QGuiApplication::clipboard();
    if (!board)
        throw PlatformError(QStringLiteral("The clipboard cannot be opened."));
    return board;
}

} // namespace

void QtClipboard::clear()
{
    clipboard()->clear(QClipboard::Clipboard);
}

void QtClipboard::putText(const QString& text)
{
    clipboard()->setText(text, QClipboard::Clipboard);
}
