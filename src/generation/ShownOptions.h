#pragma once

#include "engine/GenerationOptions.h"

class Form1;
class QCheckBox;

// What the window's option controls say, read alike by a run and by the status line.
namespace ShownOptions {

// A tick box counts as ticked only when it is fully ticked.
bool ticked(const QCheckBox* box);

// The letter position that a Combo2 text other than "x" names: "last", the number of an ordinal,
// or else the number the text starts with.
QString letterPosition(const QString& combo2Text);

// The start, end and letter rules the controls show, the letter tested at the given position.
WordRules rules(const Form1& form, std::optional<int> letterPosition);

} // namespace ShownOptions
