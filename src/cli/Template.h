#pragma once

#include "cli/CommandOptions.h"

#include <QString>

class WordDrawer;
class WordSet;

// Draws and writes the outputs of the request's template or acrostic, each slot among the matching
// words that meet it and every different text equally likely, and returns one output's entropy
// line.
QString writeTemplate(const WordSet& words, const WordDrawer& drawer, const Request& request);
