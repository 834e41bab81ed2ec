#include "window/OptionPanel.h"

#include "app/OptionsModel.h"
#include "app/ShownOptions.h"
#include "engine/NumericText.h"
#include "window/Form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

OptionPanel::OptionPanel(Form1& form)
    : m_form(form)
{
    for (QLineEdit* field :
        { form.Text1, form.Text2, form.Text3, form.Text4, form.Text5, form.Text6 })
        field->installEventFilter(this);
    for (QCheckBox* box :
        { form.Check1, form.Check2, form.Check3, form.Check4, form.Check5, form.Check6 }) {
        // The greyed state only comes from the store; a click never leads back to it.
        connect(box, &QCheckBox::clicked, this, [box] { box->setTristate(false); });
    }
    // A click on a selected button leaves it selected, as with grouped option buttons.
    connect(form.Option7, &QRadioButton::clicked, this, [this] { Option7_Click(); });
    connect(form.Option8, &QRadioButton::clicked, this, [this] { Option8_Click(); });
}

void OptionPanel::Option7_Click()
{
    m_form.options().choose(OptionsModel::ListOutput);
}

void OptionPanel::Option8_Click()
{
    m_form.options().choose(OptionsModel::FileOutput);
}

void OptionPanel::addListEntry(QComboBox* list, const QString& text)
{
    // Qt selects the first entry added to an empty list; these lists start with no selection.
    const QSignalBlocker blocker(list);
    const int before = list->currentIndex();
    list->addItem(text);
    list->setCurrentIndex(before);
}

QString OptionPanel::refusalOf(const QLineEdit* field) const
{
    const QString notNumeric = QStringLiteral("Must be a numeric entry.");
    if (field == m_form.Text1)
        return NumericText::isNumeric(field->text()) ? QString() : notNumeric;
    if (field != m_form.Text2 && field != m_form.Text6)
        return {};
    const auto value = NumericText::value(field->text());
    if (!value)
        return notNumeric;
    if (!(*value >= 1))
        return QStringLiteral("Must be greater than zero.");
    return {};
}

void OptionPanel::Text1_LostFocus()
{
    refuse(m_form.Text1, refusalOf(m_form.Text1));
}

void OptionPanel::Text2_LostFocus()
{
    refuse(m_form.Text2, refusalOf(m_form.Text2));
}

void OptionPanel::Text6_LostFocus()
{
    const auto maximum = NumericText::value(m_form.Text6->text());
    refuse(m_form.Text6, refusalOf(m_form.Text6));
    if (!maximum)
        return;
    if (ShownOptions::raisesMaximum(m_form.options()))
        m_form.options().setText(
            OptionsModel::MaxLength, m_form.options().text(OptionsModel::MinLength));
}

void OptionPanel::refuse(QLineEdit* field, const QString& message)
{
    if (message.isEmpty())
        return;
    const bool wasAnswering = m_answering;
    m_answering = true;
    m_form.showMessage(message);
    field->setFocus(Qt::OtherFocusReason);
    m_answering = wasAnswering;
}

void OptionPanel::leaveCheck(QLineEdit* field)
{
    if (field == m_form.Text1)
        Text1_LostFocus();
    else if (field == m_form.Text2)
        Text2_LostFocus();
    else if (field == m_form.Text6)
        Text6_LostFocus();
}

void OptionPanel::holdInput(bool hold)
{
    if (hold == m_holdingInput)
        return;
    m_holdingInput = hold;
    if (hold)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool OptionPanel::isHeldInput(QObject* watched, QEvent* event) const
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
        break;
    default:
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == m_form.window();
}

bool OptionPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The click or key that took the focus from a refused field belongs to the refusal's message:
    // it must not also run its own command (which might show a second box).
    if (m_holdingInput && watched != this && isHeldInput(watched, event))
        return true;
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field)
        return false;
    if (event->type() == QEvent::FocusIn) {
        if (field == m_form.Text1 || field == m_form.Text3 || field == m_form.Text4) {
            // After the click that gave the focus has placed the caret.
            QPointer<QLineEdit> target(field);
            QTimer::singleShot(0, field, [target] {
                if (target && target->hasFocus())
                    target->selectAll();
            });
        }
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Focus taken by a popup, another window or our own message is no move the user made.
        if (m_answering || reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            return false;
        if (field == m_form.Text1 || field == m_form.Text2 || field == m_form.Text6) {
            // Checked once the focus change is complete, so that the message does not fight it;
            // input to the window waits for the message until then.
            holdInput(!refusalOf(field).isEmpty());
            QPointer<QLineEdit> target(field);
            QTimer::singleShot(0, this, [this, target] {
                holdInput(false);
                if (target && !m_answering && !m_form.isClosed())
                    leaveCheck(target);
            });
        }
    }
    return false;
}
