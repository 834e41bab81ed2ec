#pragma once

#include <Qt>

class CommandWindow;

// "Clear Results" and the Delete key of the result list.
class ResultListCommands
{
public:
    explicit ResultListCommands(CommandWindow& form);

    void PushButton4_Click();
    void ListView1_KeyDown(int keyCode, Qt::KeyboardModifiers shift);

private:
    CommandWindow& m_form;
};
