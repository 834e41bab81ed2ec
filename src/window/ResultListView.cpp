#include "window/ResultListView.h"

#include "app/ResultListModel.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QTimer>
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
    showTip(help->globalPos(), tip, visualRect(index));
    return true;
}

void ResultListView::showTip(const QPoint& globalPosition, const QString& tip, const QRect& area)
{
    // A definition is shown as the text it is: a tooltip obeys markup, and an image tag in a
    // handed-over database would make the window open the file it names.
    QToolTip::showText(globalPosition,
        QStringLiteral("<p style=\"white-space:pre-wrap\">") + tip.toHtmlEscaped()
            + QStringLiteral("</p>"),
        viewport(), area);
}

void ResultListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    // Past the tree view's own, which tells screen readers of rows counted after a header row
    // that the list's interface does not have.
    QAbstractItemView::currentChanged(current, previous);
    announceCurrent();
}

void ResultListView::selectionChanged(
    const QItemSelection& selected, const QItemSelection& deselected)
{
    // Past the tree view's own, for the same reason; the focused row says whether it is selected.
    QAbstractItemView::selectionChanged(selected, deselected);
}

void ResultListView::dataChanged(
    const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    QTreeView::dataChanged(topLeft, bottomRight, roles);
    // Only the current row's new tick is told: it is the one a user hears, and telling every row
    // of a list ticked at once would cost an interface a row.
    const int row = currentIndex().row();
    if (row < topLeft.row() || row > bottomRight.row()
        || !(roles.isEmpty() || roles.contains(Qt::CheckStateRole)))
        return;
    QAccessible::State ticked;
    ticked.checked = true;
    QAccessibleStateChangeEvent changed(this, ticked);
    changed.setChild(row);
    QAccessible::updateAccessibility(&changed);
}

void ResultListView::focusInEvent(QFocusEvent* event)
{
    // Qt tells of the list itself once this returns, and its current row comes after it.
    m_entering = true;
    QTreeView::focusInEvent(event);
    // Entering the list lands on a row, so that a Space ticks a word the user has heard.
    if (!currentIndex().isValid() && model()->rowCount() > 0)
        selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::NoUpdate);
    QTimer::singleShot(0, this, [this] {
        m_entering = false;
        announceCurrent();
    });
}

void ResultListView::announceCurrent()
{
    const QModelIndex current = currentIndex();
    if (m_entering || !hasFocus() || !current.isValid())
        return;
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(current.row());
    QAccessible::updateAccessibility(&focus);
}

namespace {

bool isDefinitionKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_F1
        && (key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
}

} // namespace

void ResultListView::keyPressEvent(QKeyEvent* event)
{
    if (isDefinitionKey(event)) {
        m_definitionKey = true;
        return;
    }
    QTreeView::keyPressEvent(event);
}

void ResultListView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && m_definitionKey && !event->isAutoRepeat()) {
        m_definitionKey = false;
        showDefinition();
        return;
    }
    QTreeView::keyReleaseEvent(event);
}

void ResultListView::showDefinition()
{
    const QModelIndex current = currentIndex();
    const QString definition = current.data(Qt::ToolTipRole).toString();
    if (definition.isEmpty())
        return;
    scrollTo(current);
    const QRect area = visualRect(current);
    showTip(viewport()->mapToGlobal(area.bottomLeft()), definition, area);
    // Qt tells screen readers of no tooltip that shows; this one was asked for.
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        if (shown->windowType() == Qt::ToolTip && shown->isVisible()) {
            QAccessibleEvent event(shown, QAccessible::ObjectShow);
            QAccessible::updateAccessibility(&event);
        }
    }
}
