#pragma once

#include "engine/RandomSource.h"

#include <QtGlobal>
#include <array>

// Uniform numbers from the operating system's cryptographic source (getrandom(2)): nobody can
// foresee a draw from the ones before it or from the time it was made. Bytes are fetched in
// blocks, so that a long run costs a few system calls. Throws PlatformError when the source
// cannot be read; it never falls back to anything weaker.
class SystemRandom final : public RandomSource
{
public:
    // Nothing to seed: every number is fresh from the system.
    void seedFromTimeOfDay() override { }
    double next() override
    {
        if (m_used == m_block.size())
            refill();
        return double(m_block[m_used++] >> 11) * 0x1.0p-53;
    }

private:
    void refill();

    std::array<quint64, 512> m_block {};
    size_t m_used = m_block.size();
};
