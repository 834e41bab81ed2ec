#include "window/AccessibleNames.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>

namespace {

struct Naming
{
    const char* control;
    const char* name;
    const char* description;
};

// Controls whose caption is their name keep it; the rest have no caption, share one with
// another control, or are named by their current value.
const Naming namings[] = {
    { "Text1", "Number of words", "How many words to generate, up to 100000" },
    { "Text3", "First character",
        "The character every word must start with, when its box is ticked" },
    { "Text4", "Last character", "The character every word must end with, when its box is ticked" },
    { "Check4", "Letter rule", "Words must have the chosen letter at the chosen position" },
    { "Combo2", "Letter position", "Which letter of a word the letter rule looks at" },
    { "Combo3", "Letter kind", "What that letter must be: a vowel, a consonant or a given letter" },
    { "Text2", "Minimum characters",
        "The fewest characters a word may have, when its box is ticked" },
    { "Text6", "Maximum characters",
        "The most characters a word may have, when its box is ticked" },
    { "ListView1", "Generated words",
        "The words generated here; Delete removes the selected rows" },
    { "Combo1", "Text file layout", "How the words are laid out in a saved text file" },
    { "ProgressBar1", "Generation progress", nullptr },
    { "Frame6", "Folder Option", nullptr },
    { "Text5", "Output folder", "The folder that receives Words.txt when saving to a file" },
    { "PushButton9", "Choose output folder", "Opens a folder dialog for the output folder" },
    { "Combo4", "Commonness level",
        "How common the words must be: everyday words are the most common, common words take in "
        "more" },
    { "Combo5", "Word kind",
        "The part of speech the words must have, in its dictionary form: apple, not apples" },
    { "Combo6", "Spelling", "Whose spelling the words follow: American, British or Canadian" },
    { "Check7", nullptr, "Leaves out words marked as slurs, obscene or disparaging" },
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
    if (auto* statusBar = window.findChild<QWidget*>(QStringLiteral("StatusBar")))
        renew(statusBar);
    for (const Naming& naming : namings) {
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
