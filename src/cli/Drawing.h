#pragma once

#include "cli/CommandOptions.h"

#include <QString>
#include <vector>

class WordDrawer;
class WordSet;

// The texts the matching words are delivered as, each once, in the order of the matching rows:
// two entries of the list, or two words that proper case makes alike, give one text.
std::vector<QString> distinctTexts(
    const WordSet& words, const WordDrawer& drawer, const Request& request);

// Draws the words asked for and writes them where the request says, ended by a line feed; with
// --unique (or --passphrase) from distinct, the texts distinctTexts gave.
void writeWords(const WordSet& words, const WordDrawer& drawer, const Request& request,
    const std::vector<QString>& distinct);

// The entropy line for standard error.
QString entropyText(qint64 matches, qint64 words, bool unique, bool seeded);
