#pragma once

class CommandWindow;
class QString;

// The "..." button beside the output folder: picks the output folder.
class FolderChooser
{
public:
    explicit FolderChooser(CommandWindow& form);

    void PushButton9_Click();

    // Shows the folder dialog; the chosen folder, or the empty text.
    QString BrowseForFolder(const QString& prompt, const QString& initialFolder);

private:
    CommandWindow& m_form;
};
