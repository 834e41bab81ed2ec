#pragma once

#include <QCursor>
#include <QString>

class Form1;

// The window's looks: the plain design look, the skin, and the hand pointer image.
namespace Appearance {

// White backgrounds; Arial bold 9 pt, push buttons 11.25 pt.
void applyDesignLook(Form1& form);

// The button-face colour for the window, frames, check boxes, option buttons and labels, then
// the toolkit's own theming on that colour.
void applySkin(Form1& form);

// A cursor file with the hot spot it declares; throws PlatformError when it cannot be loaded.
QCursor loadCursorFile(const QString& path);

} // namespace Appearance
