#include "window/AccessibleNames.h"

#include "engine/OptionTable.h"

#include <QAccessibleWidget>
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

// The status line, named by its text. Orca speaks a change of a control that has not the focus
// only when it comes as a notification shown anew (see Form1::showStatus), and calls it a
// notification unless it lies in a status bar.
class StatusAccessible : public QAccessibleWidget
{
public:
    explicit StatusAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::Notification)
    { }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }
};

const char windowMark[] = "tessavineWindow";

QAccessibleInterface* makeInterface(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (widget->property(windowMark).toBool())
        return new WindowAccessible(widget);
    if (widget->objectName() == QLatin1String("StatusBar"))
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    auto* label = qobject_cast<QLabel*>(widget);
    if (label && label->objectName() == QLatin1String("StatusText"))
        return new StatusAccessible(label);
    return nullptr;
}

} // namespace

namespace AccessibleNames {

void renew(QWidget* widget)
{
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
}

void apply(QWidget& window)
{
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    Q_UNUSED(installed);

    window.setProperty(windowMark, true);
    renew(&window);
    if (auto* statusBar = window.findChild<QWidget*>(QStringLiteral("StatusBar")))
        renew(statusBar);
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
