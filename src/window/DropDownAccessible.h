#pragma once

#include <QAccessibleWidget>

class QComboBox;

// A drop-down named by what it chooses rather than by its current entry, which Qt on Linux gives
// as its name. Screen readers read the entry of a drop-down only as its text, so the entry is its
// text as well as its value, all of it selected, and its list of entries its one child.
class DropDownAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit DropDownAccessible(QComboBox* list);

    // Makes the interfaces of the drop-downs that have a name of their own, and has every change
    // of their entry announced.
    static void serve(QComboBox* list);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text kind) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

    // The entry as a text that cannot be edited.
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    int cursorPosition() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    void setCursorPosition(int) override { }
    void scrollToSubstring(int, int) override { }

private:
    QComboBox* list() const;
};
