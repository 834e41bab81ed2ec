#pragma once

class QWidget;

// What screen readers hear: a unique name for every control (and a description where its caption
// says too little), the window as a frame, and the status line as a notification whose changes are
// announced.
namespace AccessibleNames {

// Once, after the window's controls exist.
void apply(QWidget& window);

// Drops the interface Qt made and kept for the widget before ours was asked for, so that the next
// question makes ours.
void renew(QWidget* widget);

} // namespace AccessibleNames
