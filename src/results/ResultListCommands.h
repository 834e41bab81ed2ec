#pragma once

#include <Qt>

class Form1;

// "Clear Results" and the Delete key of the result list.
class ResultListCommands
{
public:
    explicit ResultListCommands(Form1& form);

    void PushButton4_Click();
    void ListView1_KeyDown(int keyCode, Qt::KeyboardModifiers shift);

private:
    Form1& m_form;
};
