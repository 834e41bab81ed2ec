#include "window/OptionButtonAccessible.h"

#include "window/AccessibleNames.h"

#include <QRadioButton>

OptionButtonAccessible::OptionButtonAccessible(QRadioButton* button)
    : QAccessibleWidget(button, QAccessible::RadioButton)
{ }

QRadioButton* OptionButtonAccessible::button() const
{
    return static_cast<QRadioButton*>(widget());
}

QString OptionButtonAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty()) {
        QString caption = button()->text();
        return caption.remove(QLatin1Char('&'));
    }
    return QAccessibleWidget::text(kind);
}

QAccessible::State OptionButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = button()->isChecked();
    return state;
}

QStringList OptionButtonAccessible::actionNames() const
{
    return QStringList { pressAction() } + QAccessibleWidget::actionNames();
}

void OptionButtonAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction() && widget()->isEnabled())
        button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}

void OptionButtonAccessible::serve(QRadioButton* button)
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* option = qobject_cast<QRadioButton*>(object);
            if (option && !option->autoExclusive())
                return new OptionButtonAccessible(option);
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
    AccessibleNames::renew(button);
}
