#include "window/PointerFeedback.h"

#include "window/Form1.h"
#include "window/ResultListView.h"

#include <QEvent>
#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>

PointerFeedback::PointerFeedback(Form1& form)
    : m_form(form)
    , m_listViewport(form.ListView1->viewport())
{
    const QList<QWidget*> watched { &form, form.Frame1, form.Frame2, form.Frame3, form.Frame4,
        form.Frame5, form.Frame6, form.Frame7, form.ListView1, form.ListView1->viewport(),
        form.PushButton1, form.PushButton2, form.PushButton3, form.PushButton4, form.PushButton5,
        form.PushButton9 };
    for (QWidget* widget : watched) {
        // Move events arrive only with tracking on, as they do without a pressed button elsewhere.
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

void PointerFeedback::buttonMouseMove()
{
    if (m_form.mousePointer() != Form1::PointerHourglass)
        m_form.setMousePointer(Form1::PointerCustom);
}

void PointerFeedback::backgroundMouseMove()
{
    if (m_form.mousePointer() != Form1::PointerHourglass)
        m_form.setMousePointer(Form1::PointerDefault);
}

bool PointerFeedback::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove)
        return false;
    if (qobject_cast<QPushButton*>(watched)) {
        buttonMouseMove();
        return false;
    }
    // A move that a child ignored reaches its parents too; only the widget under the pointer
    // counts, so a move over a button or over a control without feedback changes nothing here.
    auto* widget = static_cast<QWidget*>(watched);
    const bool overList = widget == m_form.ListView1 || widget == m_listViewport;
    if (!overList && widget->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()))
        return false;
    backgroundMouseMove();
    return false;
}
