#pragma once

class Form1;
class QString;

// The "..." button beside the output folder: picks a folder into Text5.
class FolderChooser
{
public:
    explicit FolderChooser(Form1& form);

    void PushButton9_Click();

    // Shows the folder dialog; the chosen folder, or the empty text.
    QString BrowseForFolder(const QString& prompt, const QString& initialFolder);

private:
    Form1& m_form;
};
