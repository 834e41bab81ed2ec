#pragma once

// Uniform random numbers for the word draws.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    // Next number u with 0 <= u < 1.
    virtual double next() = 0;
};
