#pragma once

#include "cli/CommandOptions.h"
#include "engine/FittingChoices.h"
#include "engine/SeededRandom.h"
#include "engine/SystemRandom.h"

#include <QString>
#include <vector>

class WordDrawer;

// The numbers a composed output is drawn from: the system's cryptographic source, or the seed for
// examples; uniformBelow and shuffle draw each choice exactly uniformly from them.
class ComposerBits
{
public:
    explicit ComposerBits(const std::optional<quint64>& seed)
        : m_fromSeed(seed.has_value())
    {
        m_seeded.seed(seed.value_or(0));
    }
    FittingChoices::Bits bits()
    {
        if (m_fromSeed)
            return [this] { return m_seeded.bits64(); };
        return [this] { return m_system.bits64(); };
    }

private:
    bool m_fromSeed;
    SeededRandom m_seeded;
    SystemRandom m_system;
};
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
