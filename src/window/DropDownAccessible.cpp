#include "window/DropDownAccessible.h"

#include "window/AccessibleNames.h"

#include <QAbstractItemView>
#include <QComboBox>

DropDownAccessible::DropDownAccessible(QComboBox* list)
    : QAccessibleWidget(list, QAccessible::ComboBox)
{ }

QComboBox* DropDownAccessible::list() const
{
    return static_cast<QComboBox*>(widget());
}

void DropDownAccessible::serve(QComboBox* list)
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* list = qobject_cast<QComboBox*>(object);
            if (list && !list->accessibleName().isEmpty())
                return new DropDownAccessible(list);
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
    // Orca speaks a new entry only when it arrives as an inserted text that is selected.
    QObject::connect(list, &QComboBox::currentIndexChanged, list, [list] {
        QAccessibleTextInsertEvent inserted(list, 0, list->currentText());
        QAccessible::updateAccessibility(&inserted);
    });
    AccessibleNames::renew(list);
}

void* DropDownAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString DropDownAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return list()->currentText();
    return QAccessibleWidget::text(kind);
}

int DropDownAccessible::childCount() const
{
    return 1;
}

QAccessibleInterface* DropDownAccessible::child(int index) const
{
    return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
}

int DropDownAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child && child->object() == list()->view() ? 0 : -1;
}

QStringList DropDownAccessible::actionNames() const
{
    return QStringList { showMenuAction() } + QAccessibleWidget::actionNames();
}

void DropDownAccessible::doAction(const QString& actionName)
{
    if (actionName == showMenuAction() && list()->isEnabled())
        list()->showPopup();
    else
        QAccessibleWidget::doAction(actionName);
}

QString DropDownAccessible::text(int startOffset, int endOffset) const
{
    const QString entry = list()->currentText();
    startOffset = qBound(0, startOffset, int(entry.size()));
    endOffset
        = endOffset < 0 ? int(entry.size()) : qBound(startOffset, endOffset, int(entry.size()));
    return entry.mid(startOffset, endOffset - startOffset);
}

int DropDownAccessible::characterCount() const
{
    return int(list()->currentText().size());
}

void DropDownAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    const bool whole = selectionIndex == 0 && characterCount() > 0;
    *startOffset = whole ? 0 : -1;
    *endOffset = whole ? characterCount() : -1;
}

int DropDownAccessible::selectionCount() const
{
    return characterCount() > 0 ? 1 : 0;
}

int DropDownAccessible::cursorPosition() const
{
    return 0;
}

QRect DropDownAccessible::characterRect(int) const
{
    return {};
}

int DropDownAccessible::offsetAtPoint(const QPoint&) const
{
    return -1;
}

QString DropDownAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = qMax(offset, characterCount());
    return {};
}
