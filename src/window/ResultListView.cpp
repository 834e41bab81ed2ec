#include "window/ResultListView.h"

#include "app/ResultListModel.h"

#include <QAction>
#include <QHeaderView>

ResultListView::ResultListView(ResultListModel* model, QWidget* parent)
    : QTreeView(parent)
    , m_model(model)
{
    setModel(model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    // Uniform heights keep appending with a repaint after each row from growing with the list.
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);

    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* tickAll = new QAction(tr("Tick All"), this);
    tickAll->setObjectName(QStringLiteral("TickAll"));
    connect(tickAll, &QAction::triggered, m_model, [this] { m_model->setAllChecked(true); });
    addAction(tickAll);
    auto* untickAll = new QAction(tr("Untick All"), this);
    untickAll->setObjectName(QStringLiteral("UntickAll"));
    connect(untickAll, &QAction::triggered, m_model, [this] { m_model->setAllChecked(false); });
    addAction(untickAll);
}
