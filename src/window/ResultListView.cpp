#include "window/ResultListView.h"

#include "app/ResultListModel.h"

#include <QAction>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>

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

bool ResultListView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTreeView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString tip = index.data(Qt::ToolTipRole).toString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    // A definition is shown as the text it is: a tooltip obeys markup, and an image tag in a
    // handed-over database would make the window open the file it names.
    QToolTip::showText(help->globalPos(),
        QStringLiteral("<p style=\"white-space:pre-wrap\">") + tip.toHtmlEscaped()
            + QStringLiteral("</p>"),
        viewport(), visualRect(index));
    return true;
}
