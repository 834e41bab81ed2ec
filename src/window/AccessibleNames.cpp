#include "window/AccessibleNames.h"

#include "engine/OptionTable.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <iterator>
#include <vector>

namespace {

struct Naming
{
    const char* control;
    const char* name;
    const char* description;
};

// The controls that show no option; the options' controls are named in the option table. Controls
// whose caption is their name keep it; the rest have no caption, share one with another control,
// or are named by their current value.
const Naming namings[] = {
    { "ListView1", "Generated words",
        "The words generated here; Delete removes the selected rows" },
    { "ProgressBar1", "Generation progress", nullptr },
    { "Frame6", "Folder Option", nullptr },
    { "PushButton9", "Choose output folder", "Opens a folder dialog for the output folder" },
    { "PushButton1", nullptr, "Starts a run; while one is going it stops it, as Escape does" },
    { "StatusText", nullptr, "How many words match the options, or what the last command did" },
};

// The window itself: a frame, named by its title.
class WindowAccessible : public QAccessibleWidget
{
public:
    explicit WindowAccessible(QWidget* window)
        : QAccessibleWidget(window, QAccessible::Window)
    { }
};

// The status line: a status bar named by its text. The label tells of every change of its text
// as a change of name, which screen readers announce for status bars.
class StatusAccessible : public QAccessibleWidget
{
public:
    explicit StatusAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StatusBar)
    { }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

// A drop-down named by what it chooses rather than by its current entry, which Qt on Linux gives
// as its name; the entry stays its value, and its list of entries its one child.
class DropDownAccessible : public QAccessibleWidget
{
public:
    explicit DropDownAccessible(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    { }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return list()->currentText();
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }
    QStringList actionNames() const override
    {
        return QStringList { showMenuAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& actionName) override
    {
        if (actionName == showMenuAction() && list()->isEnabled())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

const char windowMark[] = "tessavineWindow";

QAccessibleInterface* makeInterface(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (widget->property(windowMark).toBool())
        return new WindowAccessible(widget);
    auto* list = qobject_cast<QComboBox*>(widget);
    if (list && !list->accessibleName().isEmpty())
        return new DropDownAccessible(list);
    auto* label = qobject_cast<QLabel*>(widget);
    if (label && label->objectName() == QLatin1String("StatusText"))
        return new StatusAccessible(label);
    return nullptr;
}

// An interface Qt made before ours was asked for is dropped, so that the next question makes ours.
void renew(QWidget* widget)
{
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
}

} // namespace

namespace AccessibleNames {

void apply(QWidget& window)
{
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    Q_UNUSED(installed);

    window.setProperty(windowMark, true);
    renew(&window);
    std::vector<Naming> all(std::begin(namings), std::end(namings));
    for (const OptionTable::Row& row : OptionTable::rows()) {
        if (row.accessibleName || row.accessibleDescription)
            all.push_back({ row.controlName, row.accessibleName, row.accessibleDescription });
    }
    for (const Naming& naming : all) {
        auto* control = window.findChild<QWidget*>(QLatin1String(naming.control));
        if (!control)
            continue;
        if (naming.name)
            control->setAccessibleName(QString::fromUtf8(naming.name));
        if (naming.description)
            control->setAccessibleDescription(QString::fromUtf8(naming.description));
        renew(control);
    }
}

} // namespace AccessibleNames
