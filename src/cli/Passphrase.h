#pragma once

#include "cli/CommandOptions.h"

#include <QString>
#include <vector>

class WordDrawer;
class WordSet;

// The symbols --symbols adds: none of them is in an English word, and sites that ask for a symbol
// take them.
constexpr char passphraseSymbols[] = "!#$%&*+=?@^~";

// Whether the output is composed whole rather than word by word: digits or symbols added, a limit
// on its length, or its first word capitalised.
bool composesOutput(const Request& request);

// Whether a text holds a digit or one of the symbols, which would blur what was added.
bool holdsAddition(const QString& text);

// Draws and writes a composed output (with --json, a JSON array holding it as a string) and
// returns its entropy line; distinct holds the texts of distinctTexts for --unique or
// --max-length, and is empty otherwise.
QString writeComposed(const WordSet& words, const WordDrawer& drawer, const Request& request,
    const std::vector<QString>& distinct);
