#pragma once

#include "FakePlatform.h"

#include "app/CommandWindow.h"
#include "app/OptionsModel.h"
#include "app/ResultListModel.h"
#include "app/SettingsKeys.h"
#include "app/StatusLine.h"

// The window as the application layer sees it, on fake services: the options model, the result
// list and the status line, with every caption, pointer and status text kept for the test to read.
class FakeWindow : public CommandWindow
{
public:
    const Platform& platform() const override { return fake.platform; }
    OptionsModel& options() override { return m_options; }
    ResultListModel* resultList() const override { return &m_list; }
    QObject* dialogOwner() override { return nullptr; }
    void showMessage(const QString& text) override { fake.dialogs.message(nullptr, text, {}); }
    void showErrorBox(const QString& text) override { fake.dialogs.errorBox(nullptr, text); }
    QString prompt(const QString& text, const QString& title) override
    {
        return fake.dialogs.prompt(nullptr, text, title);
    }
    void yield() override { fake.pump.yield(); }
    void waitForEvents() override { fake.pump.waitForEvents(); }
    int mousePointer() const override { return pointer; }
    void setMousePointer(int value) override { pointer = value; }
    void setProgress(int percent) override { progress = percent; }
    void resetProgress() override { progress = -1; }
    QString startButtonCaption() const override { return caption; }
    void setStartButtonCaption(const QString& text) override { caption = text; }
    void setClearEnabled(bool enabled) override { clearEnabled = enabled; }
    int selectedRow() const override { return 0; }
    void showStatus(const QString& text) override { status = text; }
    void showCommandResult(const QString& text) override { statusLine.commandDone(text); }
    void runEnded(int delivered, bool stopped, bool failed, const QString& file) override
    {
        statusLine.runEnded(delivered, stopped, failed, file);
    }
    void writeSetting(const QString& key, const QString& value) override
    {
        fake.settings.write(SettingsKeys::application, SettingsKeys::section, key, value);
    }

    FakePlatform fake;
    int pointer = PointerDefault;
    int progress = -1;
    QString caption;
    bool clearEnabled = true;
    QString status;

private:
    OptionsModel m_options;
    mutable ResultListModel m_list;

public:
    // Last: it listens to the options from its construction on.
    StatusLine statusLine { *this };
};
