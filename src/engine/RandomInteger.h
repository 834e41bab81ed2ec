#pragma once

#include <cmath>

// The row drawn for a uniform number u (0 <= u < 1) among n rows: the whole part of u * n, plus
// 1, so every row from 1 to n is equally likely.
inline int RandomInteger(double u, int n)
{
    return int(std::floor(u * n)) + 1;
}
