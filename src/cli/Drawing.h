#pragma once

#include "cli/CommandOptions.h"

#include <QString>
#include <vector>

class WordDrawer;
class WordSet;

// The texts the matching words are delivered as, each once, in the order of the matching rows:
// two entries of the list, or two words that proper case makes alike, give one text.
struct DistinctTexts
{
    std::vector<QString> texts;
    // The row each text first came from, whose definition and facts are written with it.
    std::vector<int> rows;
};
DistinctTexts distinctTexts(const WordSet& words, const WordDrawer& drawer, const Request& request);

// Draws the words asked for and writes them where the request says, ended by a line feed; with
// --unique (or --passphrase) from distinct, the texts distinctTexts gave.
void writeWords(const WordSet& words, const WordDrawer& drawer, const Request& request,
    const DistinctTexts& distinct);

// The entropy line for standard error, after writeWords with the same arguments.
QString entropyText(const WordSet& words, const WordDrawer& drawer, const Request& request,
    const DistinctTexts& distinct);
