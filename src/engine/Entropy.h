#pragma once

#include <QHash>
#include <QString>
#include <QtGlobal>
#include <vector>

// How much an output is worth to someone guessing it, in bits: the Shannon entropy of the
// outputs' distribution, which for equally likely outputs is the base-2 logarithm of their number.
namespace Entropy {

// One word among matches words.
double bitsPerWord(qint64 matches);

// One draw among rows drawn alike, where rowsPerText[i] rows deliver the i-th distinct text: two
// rows that give the same text (pear and Pear in proper case) are one output, twice as likely.
double bitsPerDraw(const std::vector<qint64>& rowsPerText);

// The same for rows places 0 to rows - 1, whose texts textAt(place) gives; distinctTexts, when
// given, receives the number of distinct texts.
template <typename TextAt>
double bitsPerDraw(int rows, TextAt&& textAt, qint64* distinctTexts = nullptr)
{
    QHash<QString, qint64> counts;
    for (int place = 0; place < rows; ++place)
        ++counts[textAt(place)];
    if (distinctTexts)
        *distinctTexts = counts.size();
    return bitsPerDraw(std::vector<qint64>(counts.cbegin(), counts.cend()));
}

// words words among matches equally likely ones: each drawn anew (matches to the power words), or
// all different in the order drawn (matches! / (matches - words)!). Nothing to guess gives 0.
double outputBits(qint64 matches, qint64 words, bool unique);

} // namespace Entropy
