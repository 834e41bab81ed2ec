#include "FakeWindow.h"

#include "app/SettingsKeys.h"

FakeWindow::FakeWindow() = default;

void FakeWindow::showMessage(const QString& text)
{
    fake.dialogs.message(nullptr, text, QStringLiteral("Tessavine"));
}

void FakeWindow::showErrorBox(const QString& message)
{
    fake.dialogs.errorBox(nullptr, message);
}

QString FakeWindow::prompt(const QString& text, const QString& title)
{
    return fake.dialogs.prompt(nullptr, text, title);
}

void FakeWindow::writeSetting(const QString& key, const QString& value)
{
    fake.settings.write(SettingsKeys::application, SettingsKeys::section, key, value);
}
