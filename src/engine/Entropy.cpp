#include "engine/Entropy.h"

#include <cmath>

namespace Entropy {

double bitsPerWord(qint64 matches)
{
    return matches > 0 ? std::log2(double(matches)) : 0.0;
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
