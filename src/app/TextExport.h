#pragma once

#include <QString>

class CommandWindow;

// "Save Results As Text File": every row of the result list into a file the user names.
class TextExport
{
public:
    explicit TextExport(CommandWindow& form);

    void PushButton2_Click();

private:
    CommandWindow& m_form;
    // Where the save dialog opens next: the folder of the last file saved in this session.
    QString m_lastFolder;
};
