#pragma once

class QWidget;

// What screen readers hear: a unique name for every control (and a description where its caption
// says too little), the window as a frame, and the status line as a notification whose changes are
// announced.
namespace AccessibleNames {

// Once, after the window's controls exist.
void apply(QWidget& window);

} // namespace AccessibleNames
