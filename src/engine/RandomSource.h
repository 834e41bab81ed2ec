#pragma once

// Uniform random numbers for the word draws.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Seeds the generator from the time of day.
    virtual void seedFromTimeOfDay() = 0;
    // Next number u with 0 <= u < 1.
    virtual double next() = 0;
};
