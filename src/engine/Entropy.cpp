#include "engine/Entropy.h"

#include <algorithm>
#include <cmath>

namespace Entropy {

double bitsPerWord(qint64 matches)
{
    return matches > 0 ? std::log2(double(matches)) : 0.0;
}

double bitsPerDraw(const std::vector<qint64>& rowsPerText)
{
    double rows = 0;
    for (const qint64 count : rowsPerText)
        rows += double(count);
    double bits = 0;
    for (const qint64 count : rowsPerText) {
        if (count > 0)
            bits -= double(count) / rows * std::log2(double(count) / rows);
    }
    // A single output is worth nothing; the sum of a few terms can land a hair below 0.
    return std::max(bits, 0.0);
}

double outputBits(qint64 matches, qint64 words, bool unique)
{
    if (matches <= 0 || words <= 0)
        return 0.0;
    if (!unique)
        return double(words) * bitsPerWord(matches);
    if (words > matches)
        return 0.0;
    return (std::lgamma(double(matches) + 1) - std::lgamma(double(matches - words) + 1))
        / std::log(2.0);
}

} // namespace Entropy
