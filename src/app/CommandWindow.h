#pragma once

#include "platform/Platform.h"

#include <QString>

class OptionsModel;
class ResultListModel;
class QObject;

// Thrown out of a yield once the window has been closed, so that no command runs on after it.
struct WindowClosed
{ };

// What a command may ask of the window: messages, prompts, the pointer, the progress bar, the
// start button's caption, the "Clear Results" button, the result list and the status line. The
// commands read the options from the model, never from a control.
class CommandWindow
{
public:
    // Window pointer settings.
    static constexpr int PointerDefault = 0;
    static constexpr int PointerHourglass = 11;
    static constexpr int PointerCustom = 99;

    virtual ~CommandWindow() = default;

    virtual const Platform& platform() const = 0;
    virtual OptionsModel& options() = 0;
    virtual ResultListModel* resultList() const = 0;
    // The owner of the dialogs a command opens: a handle the dialogs resolve to the window.
    virtual QObject* dialogOwner() = 0;

    // A plain message box.
    virtual void showMessage(const QString& text) = 0;
    // The error box, with a message already built.
    virtual void showErrorBox(const QString& message) = 0;
    // A text prompt; Cancel gives the empty text.
    virtual QString prompt(const QString& text, const QString& title) = 0;
    // Yields to the event loop; throws WindowClosed when the window was closed meanwhile.
    virtual void yield() = 0;
    // Waits for the next event and handles it; throws WindowClosed like yield().
    virtual void waitForEvents() = 0;

    virtual int mousePointer() const = 0;
    virtual void setMousePointer(int pointer) = 0;
    // The progress bar in whole percent; the reset shows its idle caption again.
    virtual void setProgress(int percent) = 0;
    virtual void resetProgress() = 0;
    virtual QString startButtonCaption() const = 0;
    virtual void setStartButtonCaption(const QString& caption) = 0;
    virtual void setClearEnabled(bool enabled) = 0;
    // The first selected row of the result list, counted from 1; 0 when none is selected.
    virtual int selectedRow() const = 0;
    // The status line's text, as the status line sets it.
    virtual void showStatus(const QString& text) = 0;
    // What a command did, on the status line until the options change; a count that was waiting
    // for a pause in the typing is dropped.
    virtual void showCommandResult(const QString& text) = 0;
    // A run's end, for the status line: the words delivered, whether the user stopped the run or
    // an error ended it, and the file written (empty for the list).
    virtual void runEnded(int delivered, bool stopped, bool failed, const QString& file) = 0;
    // Writes a setting of the program's section; a failed store is told once.
    virtual void writeSetting(const QString& key, const QString& value) = 0;

    // Window-level state of the generation run.
    bool StopRequested = false;
    QString StartCaption;
};
