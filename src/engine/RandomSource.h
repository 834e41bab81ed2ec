#pragma once

// Uniform random numbers for the word draws.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Called where a run starts, to make its draws differ from the last run's: a generator with a
    // seed takes a new one from the time of day; the system's source (SystemRandom) needs none.
    virtual void seedFromTimeOfDay() = 0;
    // Next number u with 0 <= u < 1.
    virtual double next() = 0;
};
