#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QList>

class ResultListView;

// The result list as screen readers need it: a table of one column, headed by the column's
// header, whose rows are check boxes, each named by its word, checked as the row is ticked, and
// described by its place in the list and the word's definition. Qt presents the view as a tree of
// table cells, whose ticks Orca never speaks. A table, not a list: Orca walks every item of a
// list to count them, and every descendant of a frame but tables' to find labels, which takes
// minutes with 100000 rows; a table it asks for its size and for the rows it presents.
class ResultListAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ResultListAccessible(ResultListView* view);
    ~ResultListAccessible() override;

    // Makes the interface of the result list, and the definition's tooltip heard when it shows.
    static void serve(ResultListView* view);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text kind) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override { return selectedRowCount(); }
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    // The selection is the user's, made with the keys or the pointer.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // The rows are followed through the model's own signals, which come whether or not a screen
    // reader listens.
    void modelChange(QAccessibleTableModelChangeEvent*) override { }

private:
    ResultListView* view() const;
    // Drops the rows' interfaces from that row on, once their rows have moved or gone.
    void forget(int fromRow);

    mutable QHash<int, QAccessible::Id> m_rows;
    QList<QMetaObject::Connection> m_watches;
};
