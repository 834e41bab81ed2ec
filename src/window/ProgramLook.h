#pragma once

#include <QPalette>

// The look of everything the program shows, chosen by the program and not by the desktop. The
// window's design is light (white backgrounds, dark letters, its own fonts and sizes); a desktop
// style or colour scheme, dark or with larger metrics, would leave it unreadable, clipped, or with
// dark dialogs beside a light window. So the window, its menus, drop-down lists, message boxes,
// prompts and file dialogs all take one light look.
namespace ProgramLook {

// Light colours throughout: dark text on light backgrounds in every role.
QPalette lightPalette();

// For the whole application, once the application object exists: Fusion with the light palette,
// and Qt's own dialogs (a desktop's native file dialog would follow the desktop's colours).
void apply();

} // namespace ProgramLook
