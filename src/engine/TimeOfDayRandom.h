#pragma once

#include "engine/RandomSource.h"

#include <QtGlobal>
#include <random>

// A 64-bit Mersenne Twister giving 53-bit uniform doubles.
class TimeOfDayRandom : public RandomSource
{
public:
    void seedFromTimeOfDay() override;
    double next() override;
    // Seeds with a fixed value, for repeatable runs.
    void seed(quint64 value) { m_engine.seed(value); }

private:
    std::mt19937_64 m_engine;
};
