#pragma once

#include "app/OptionsModel.h"

class QWidget;

// Keeps the options model and the controls that show it in step, both ways: what the user does
// to a control is written to the model, and a value the model is given is shown by its control.
namespace OptionBinding {

// Binds each option to its control in the window (a line edit, tick box, option button or list),
// found by the name the option table gives it; the model takes the values the controls show now.
void bind(OptionsModel& model, QWidget& window);

} // namespace OptionBinding
