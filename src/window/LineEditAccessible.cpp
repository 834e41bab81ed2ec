#include "window/LineEditAccessible.h"

#include "window/AccessibleNames.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace {

const char leaving[] = "tessavineLeaving";

// Qt clears a field's selection as the field loses the focus, and Orca says "Text unselected."
// for that at every Tab out of a field. The field is silent while it is being left.
class QuietLeaving : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::FocusOut)
            return false;
        // The field's own handling; installed first, this filter is the last to see the event.
        watched->setProperty(leaving, true);
        watched->event(event);
        watched->setProperty(leaving, false);
        return true;
    }
};

} // namespace

LineEditAccessible::LineEditAccessible(QLineEdit* field)
    : QAccessibleWidget(field, QAccessible::EditableText)
{ }

QLineEdit* LineEditAccessible::field() const
{
    return static_cast<QLineEdit*>(widget());
}

void LineEditAccessible::serve(QLineEdit* field)
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* field = qobject_cast<QLineEdit*>(object);
            if (field && field->property("tessavineField").toBool())
                return new LineEditAccessible(field);
            return nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
    field->setProperty("tessavineField", true);
    field->installEventFilter(new QuietLeaving(field));
    AccessibleNames::renew(field);
}

bool LineEditAccessible::isValid() const
{
    // An interface that is not valid sends no event.
    return QAccessibleWidget::isValid() && !widget()->property(leaving).toBool();
}

void* LineEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString LineEditAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return field()->text();
    return QAccessibleWidget::text(kind);
}

QAccessible::State LineEditAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !field()->isReadOnly();
    state.readOnly = field()->isReadOnly();
    state.selectableText = true;
    return state;
}

QString LineEditAccessible::text(int startOffset, int endOffset) const
{
    const QString text = field()->text();
    startOffset = qBound(0, startOffset, int(text.size()));
    endOffset = endOffset < 0 ? int(text.size()) : qBound(startOffset, endOffset, int(text.size()));
    return text.mid(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const
{
    return int(field()->text().size());
}

void LineEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !field()->hasSelectedText())
        return;
    *startOffset = field()->selectionStart();
    *endOffset = field()->selectionEnd();
}

int LineEditAccessible::selectionCount() const
{
    return field()->hasSelectedText() ? 1 : 0;
}

void LineEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void LineEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        field()->deselect();
}

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        field()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const
{
    return field()->cursorPosition();
}

void LineEditAccessible::setCursorPosition(int position)
{
    field()->setCursorPosition(position);
}

QRect LineEditAccessible::characterRect(int) const
{
    // The field as a whole: finding a character's place would move the caret, which is heard.
    return rect();
}

int LineEditAccessible::offsetAtPoint(const QPoint& point) const
{
    return field()->cursorPositionAt(field()->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int startIndex, int)
{
    field()->setCursorPosition(startIndex);
}

QString LineEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    // A field has no attributes, so one run covers its whole text.
    *startOffset = 0;
    *endOffset = qMax(offset, characterCount());
    return {};
}

void LineEditAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void LineEditAccessible::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    QString whole = field()->text();
    startOffset = qBound(0, startOffset, int(whole.size()));
    endOffset = qBound(startOffset, endOffset, int(whole.size()));
    field()->setText(whole.replace(startOffset, endOffset - startOffset, text));
}
