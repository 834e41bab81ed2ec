#pragma once

#include <QtGlobal>

// How much an output drawn among equally likely words is worth to someone guessing it: the
// base-2 logarithm of the number of equally likely outputs.
namespace Entropy {

// One word among matches words.
double bitsPerWord(qint64 matches);

// words words among matches: each drawn anew (matches to the power words), or all different in
// the order drawn (matches! / (matches - words)!). Nothing to guess gives 0.
double outputBits(qint64 matches, qint64 words, bool unique);

} // namespace Entropy
