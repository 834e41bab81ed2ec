#pragma once

#include <QTreeView>

class ResultListModel;

// The list of generated words: a one-column report view with a check box on each row.
// Its context menu ticks or unticks every row at once; Shift+F1 or Ctrl+F1 shows the current
// row's definition.
class ResultListView : public QTreeView
{
    Q_OBJECT
public:
    explicit ResultListView(ResultListModel* model, QWidget* parent = nullptr);

    ResultListModel* resultModel() const { return m_model; }

    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
        const QList<int>& roles = QList<int>()) override;

protected:
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(
        const QItemSelection& selected, const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // Tells screen readers that the current row has the focus.
    void announceCurrent();
    void showDefinition();
    // A row's definition as a tooltip over area, which is in the viewport.
    void showTip(const QPoint& globalPosition, const QString& tip, const QRect& area);

    ResultListModel* m_model;
    // The focus is entering: the current row is told once Qt has told of the list.
    bool m_entering = false;
    // The definition key was pressed here; it shows on release, as a tooltip hides at a key.
    bool m_definitionKey = false;
};
