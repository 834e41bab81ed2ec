#pragma once

#include <QTreeView>

class ResultListModel;

// The list of generated words: a one-column report view with a check box on each row.
// Its context menu ticks or unticks every row at once.
class ResultListView : public QTreeView
{
    Q_OBJECT
public:
    explicit ResultListView(ResultListModel* model, QWidget* parent = nullptr);

    ResultListModel* resultModel() const { return m_model; }

protected:
    bool viewportEvent(QEvent* event) override;

private:
    ResultListModel* m_model;
};
