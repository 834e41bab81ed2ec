#pragma once

class Form1;

// Keys beyond Tab: Escape stops a running generation, F1 opens the About box, Return presses a
// focused command button.
namespace KeyboardHelp {

void install(Form1& form);

} // namespace KeyboardHelp
