#pragma once

class CommandWindow;

// "Start Generating" and "Stop": one run draws, tests and delivers words until the count is
// reached or the user stops it, yielding to the window once per attempt.
class GenerationRun
{
public:
    explicit GenerationRun(CommandWindow& form);

    void PushButton1_Click();

private:
    CommandWindow& m_form;
};
