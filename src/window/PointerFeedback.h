#pragma once

#include <QObject>

class Form1;

// Hover feedback: the hand over the command buttons, the default pointer over the window, its
// frames and the result list, and no change while the hourglass shows.
class PointerFeedback : public QObject
{
    Q_OBJECT
public:
    explicit PointerFeedback(Form1& form);

    // A pointer move over a command button.
    void buttonMouseMove();
    // A pointer move over the window, a frame or the result list.
    void backgroundMouseMove();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Form1& m_form;
    QObject* m_listViewport;
};
