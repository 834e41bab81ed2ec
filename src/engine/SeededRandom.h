#pragma once

#include "engine/RandomSource.h"

#include <QtGlobal>
#include <random>

// A 64-bit Mersenne Twister giving 53-bit uniform doubles from a given seed: the same numbers
// again for tests and reproducible examples, never for secrets (SystemRandom is for those).
class SeededRandom final : public RandomSource
{
public:
    // Inline: a long command-line run draws millions of numbers.
    double next() override { return double(m_engine() >> 11) * 0x1.0p-53; }
    quint64 bits64() { return m_engine(); }
    // Seeds with a fixed value, for repeatable runs.
    void seed(quint64 value) { m_engine.seed(value); }

private:
    std::mt19937_64 m_engine;
};
