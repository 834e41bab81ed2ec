#pragma once

#include <QObject>
#include <QString>

class Form1;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

// What the option controls do on their own: keep the two output choices exclusive, select text on
// focus, and check the numeric fields when the focus leaves. The options model stores each change.
class OptionPanel : public QObject
{
    Q_OBJECT
public:
    explicit OptionPanel(Form1& form);

    void Option7_Click();
    void Option8_Click();
    void Text1_LostFocus();
    void Text2_LostFocus();
    void Text6_LostFocus();

    // Adds an entry without selecting it.
    void addListEntry(QComboBox* list, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void leaveCheck(QLineEdit* field);
    // The message of the field's leave-check for its text; empty when the text passes.
    QString refusalOf(const QLineEdit* field) const;
    // Shows a leave-check message, if any, then puts the focus back into the field.
    void refuse(QLineEdit* field, const QString& message);
    // While held, clicks and keys meant for the window are dropped.
    void holdInput(bool hold);
    bool isHeldInput(QObject* watched, QEvent* event) const;

    Form1& m_form;
    // Set while a leave-check answers, so that the focus moves it makes start no further check.
    bool m_answering = false;
    bool m_holdingInput = false;
};
