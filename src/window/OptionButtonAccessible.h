#pragma once

#include <QAccessibleWidget>

class QRadioButton;

// The two output choices sit in different frames, so Qt's own grouping cannot make them
// exclusive, and Qt announces an option button that is not grouped as a check box. This keeps
// them option buttons for screen readers.
class OptionButtonAccessible : public QAccessibleWidget
{
public:
    explicit OptionButtonAccessible(QRadioButton* button);

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // Makes the interface of an option button that Qt does not group.
    static void serve(QRadioButton* button);

private:
    QRadioButton* button() const;
};
