#include "window/ProgramLook.h"

#include <QApplication>
#include <QStyle>

namespace ProgramLook {

QPalette lightPalette()
{
    QPalette palette(QColor(0xef, 0xef, 0xef), Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xdc));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    return palette;
}

void apply()
{
    // Set after the desktop's own choice (QT_STYLE_OVERRIDE, the platform theme), so it wins; a
    // palette the application sets is one that qt6ct and the like leave alone.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(lightPalette());
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

} // namespace ProgramLook
