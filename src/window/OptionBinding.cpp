#include "window/OptionBinding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <array>

namespace OptionBinding {

namespace {

    using Option = OptionsModel::Option;

    // A list entry's value: the code it carries (a language's), or else its text.
    QString entryValue(const QComboBox* list)
    {
        const QVariant code = list->currentData();
        return code.isValid() ? code.toString() : list->currentText();
    }

    void readControl(OptionsModel& model, Option option, QWidget* control)
    {
        if (auto* field = qobject_cast<QLineEdit*>(control)) {
            model.setText(option, field->text());
            QObject::connect(field, &QLineEdit::textChanged, &model,
                [&model, option](const QString& text) { model.setText(option, text); });
        } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
            model.setState(option, box->checkState());
            QObject::connect(box, &QCheckBox::stateChanged, &model,
                [&model, option](int state) { model.setState(option, state); });
        } else if (auto* button = qobject_cast<QRadioButton*>(control)) {
            model.setState(option, button->isChecked() ? 1 : 0);
            QObject::connect(button, &QRadioButton::toggled, &model,
                [&model, option](bool on) { model.setState(option, on ? 1 : 0); });
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            model.setEntry(option, list->currentIndex(), entryValue(list));
            QObject::connect(
                list, &QComboBox::currentIndexChanged, &model, [&model, option, list](int index) {
                    model.setEntry(option, index, entryValue(list));
                });
        }
    }

    // Shows the model's value. What the control shows in the end goes back to the model: a field
    // cuts a text longer than it takes, and a list names its entry.
    void showValue(OptionsModel& model, Option option, QWidget* control)
    {
        if (auto* field = qobject_cast<QLineEdit*>(control)) {
            if (field->text() != model.text(option))
                field->setText(model.text(option));
            model.setText(option, field->text());
        } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
            const auto state = Qt::CheckState(model.state(option));
            if (box->checkState() == state)
                return;
            // The greyed state only comes from the store.
            box->setTristate(state == Qt::PartiallyChecked);
            box->setCheckState(state);
        } else if (auto* button = qobject_cast<QRadioButton*>(control)) {
            button->setChecked(model.chosen(option));
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            if (list->currentIndex() != model.state(option))
                list->setCurrentIndex(model.state(option));
            model.setEntry(option, list->currentIndex(), entryValue(list));
        }
    }

} // namespace

void bind(OptionsModel& model, QWidget& window)
{
    std::array<QWidget*, OptionsModel::WindowOptionCount> controlOf {};
    for (const OptionTable::Row& row : OptionTable::rows()) {
        if (!row.controlName)
            continue;
        QWidget* control = window.findChild<QWidget*>(QLatin1String(row.controlName));
        Q_ASSERT(control);
        controlOf[row.id] = control;
        readControl(model, row.id, control);
    }
    QObject::connect(&model, &OptionsModel::changed, &model, [&model, controlOf](Option option) {
        if (QWidget* control = controlOf[option])
            showValue(model, option, control);
    });
}

} // namespace OptionBinding
