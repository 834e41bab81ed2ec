#include "window/ResultListAccessible.h"

#include "app/ResultListModel.h"
#include "window/AccessibleNames.h"
#include "window/ResultListView.h"

#include <QLabel>
#include <QPointer>
#include <QTextDocumentFragment>

namespace {

// A row: a check box named by its word. Orca speaks a list item's position only when the user has
// asked for positions, and a list item's new tick not at all; a check box's tick it speaks, and
// any control's description, so the position leads the description.
class RowAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    RowAccessible(ResultListView* view, int row)
        : m_view(view)
        , m_row(row)
    { }

    int row() const { return m_row; }
    const ResultListView* view() const { return m_view; }

    bool isValid() const override { return m_view && m_row < m_view->model()->rowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_view ? QAccessible::queryAccessibleInterface(m_view) : nullptr;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::CheckBox; }
    void setText(QAccessible::Text, const QString&) override { }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return index().data(Qt::DisplayRole).toString();
        if (kind != QAccessible::Description)
            return {};
        const QString position
            = QStringLiteral("%1 of %2").arg(m_row + 1).arg(m_view->model()->rowCount());
        const QString definition = index().data(Qt::ToolTipRole).toString();
        return definition.isEmpty() ? position : position + QStringLiteral(". ") + definition;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect area = m_view->visualRect(index());
        return QRect(m_view->viewport()->mapToGlobal(area.topLeft()), area.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.focusable = true;
        state.selectable = true;
        state.checkable = true;
        state.checked = index().data(Qt::CheckStateRole).toInt() == Qt::Checked;
        state.selected = m_view->selectionModel()->isSelected(index());
        state.focused = m_view->hasFocus() && m_view->currentIndex() == index();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }
    QStringList actionNames() const override { return { toggleAction() }; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& actionName) override
    {
        if (actionName == toggleAction() && isValid())
            m_view->resultModel()->setChecked(m_row + 1, !state().checked);
    }

private:
    QModelIndex index() const { return m_view->model()->index(m_row, 0); }

    QPointer<ResultListView> m_view;
    int m_row;
};

// A tooltip as a notification: Orca speaks a notification as it shows, a tooltip only when the
// user has turned tooltips on, and a definition shown by key is meant to be heard.
class TipAccessible : public QAccessibleWidget
{
public:
    explicit TipAccessible(QLabel* tip)
        : QAccessibleWidget(tip, QAccessible::Notification)
    { }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return QTextDocumentFragment::fromHtml(static_cast<QLabel*>(widget())->text())
                .toPlainText();
        return QAccessibleWidget::text(kind);
    }
};

} // namespace

ResultListAccessible::ResultListAccessible(ResultListView* view)
    : QAccessibleWidget(view, QAccessible::Table)
{
    QAbstractItemModel* model = view->model();
    const auto from = [this](const QModelIndex&, int first) { forget(first); };
    const auto all = [this] { forget(0); };
    m_watches = {
        QObject::connect(model, &QAbstractItemModel::rowsInserted, view, from),
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, view, from),
        QObject::connect(model, &QAbstractItemModel::rowsMoved, view, all),
        QObject::connect(model, &QAbstractItemModel::modelReset, view, all),
        QObject::connect(model, &QAbstractItemModel::layoutChanged, view, all),
    };
}

ResultListAccessible::~ResultListAccessible()
{
    for (const QMetaObject::Connection& watch : std::as_const(m_watches))
        QObject::disconnect(watch);
    forget(0);
}

void ResultListAccessible::serve(ResultListView* view)
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            if (auto* list = qobject_cast<ResultListView*>(object))
                return new ResultListAccessible(list);
            auto* tip = qobject_cast<QLabel*>(object);
            if (tip && tip->windowType() == Qt::ToolTip)
                return new TipAccessible(tip);
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
    AccessibleNames::renew(view);
}

ResultListView* ResultListAccessible::view() const
{
    return static_cast<ResultListView*>(widget());
}

void* ResultListAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString ResultListAccessible::text(QAccessible::Text kind) const
{
    const QString text = QAccessibleWidget::text(kind);
    if (kind == QAccessible::Description && childCount() == 0)
        return QStringLiteral("Empty. ") + text;
    return text;
}

int ResultListAccessible::childCount() const
{
    return view()->model()->rowCount();
}

QAccessibleInterface* ResultListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto made = m_rows.constFind(index);
    if (made != m_rows.cend())
        return QAccessible::accessibleInterface(*made);
    auto* row = new RowAccessible(view(), index);
    m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
    return row;
}

int ResultListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* row = dynamic_cast<const RowAccessible*>(child);
    return row && row->view() == view() && row->isValid() ? row->row() : -1;
}

QAccessibleInterface* ResultListAccessible::childAt(int x, int y) const
{
    const QModelIndex index = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessibleInterface* ResultListAccessible::focusChild() const
{
    const QModelIndex current = view()->currentIndex();
    return view()->hasFocus() && current.isValid() ? child(current.row()) : nullptr;
}

QAccessibleInterface* ResultListAccessible::cellAt(int row, int column) const
{
    return column == 0 ? child(row) : nullptr;
}

QList<QAccessibleInterface*> ResultListAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows())
        cells << child(row);
    return cells;
}

QString ResultListAccessible::columnDescription(int column) const
{
    return view()->model()->headerData(column, Qt::Horizontal).toString();
}

QList<int> ResultListAccessible::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : view()->selectionModel()->selectedRows())
        rows << index.row();
    return rows;
}

bool ResultListAccessible::isRowSelected(int row) const
{
    return view()->selectionModel()->isRowSelected(row);
}

void ResultListAccessible::forget(int fromRow)
{
    for (auto made = m_rows.begin(); made != m_rows.end();) {
        if (made.key() < fromRow) {
            ++made;
            continue;
        }
        QAccessible::deleteAccessibleInterface(made.value());
        made = m_rows.erase(made);
    }
}
