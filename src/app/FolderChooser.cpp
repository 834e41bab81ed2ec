#include "app/FolderChooser.h"

#include "app/CommandWindow.h"
#include "app/OptionsModel.h"
#include "app/SettingsKeys.h"
#include "app/StepGuard.h"

FolderChooser::FolderChooser(CommandWindow& form)
    : m_form(form)
{ }

QString FolderChooser::BrowseForFolder(const QString& prompt, const QString& initialFolder)
{
    return m_form.platform().dialogs->existingDirectory(
        m_form.dialogOwner(), prompt, initialFolder);
}

void FolderChooser::PushButton9_Click()
{
    StepGuard guard([this](const QString& message) { m_form.showErrorBox(message); },
        QStringLiteral("PushButton9_Click"));
    QString path;
    guard.step(100, [&] {
        // The dialog opens at the folder already chosen, so that a neighbour is one step away.
        const FileSystem& files = *m_form.platform().files;
        const QString current = m_form.options().text(OptionsModel::Folder);
        const QString start = files.isFolder(current) ? current : files.homeFolder();
        path = BrowseForFolder(QStringLiteral("Save To This Folder"), start);
    });
    if (guard.jumpTest(102, [&] { return path.isEmpty(); }))
        return;
    bool endsWithSeparator = false;
    guard.step(104, [&] {
        m_form.writeSetting(SettingsKeys::lastFolderDot, path);
        endsWithSeparator = path.endsWith(QLatin1Char('/'));
    });
    if (!endsWithSeparator)
        guard.step(
            106, [&] { m_form.options().setText(OptionsModel::Folder, path + QLatin1Char('/')); });
    else
        guard.step(108, [&] { m_form.options().setText(OptionsModel::Folder, path); });
}
