#include "Pronunciations.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

bool isVowelPhone(const std::string& phone)
{
    static constexpr std::string_view vowels[] = { "aa", "ae", "ah", "ao", "aw", "ax", "ay", "eh",
        "er", "ey", "ih", "iy", "ow", "oy", "uh", "uw" };
    for (const std::string_view vowel : vowels)
        if (phone == vowel)
            return true;
    return false;
}

bool isVowelLetter(char c)
{
    return std::strchr("aeiouy", c) != nullptr && c != 0;
}

} // namespace

Pronunciations::Pronunciations(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    std::string line;
    while (std::getline(file, line)) {
        // ("word" pos (((phone ...) stress) ...))
        if (!line.starts_with("(\""))
            continue;
        const size_t quote = line.find('"', 2);
        if (quote == std::string::npos)
            continue;
        std::string word = line.substr(2, quote - 2);
        for (char& c : word)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        if (m_entries.count(word))
            continue;
        std::vector<std::pair<std::vector<std::string>, bool>> syllables;
        for (size_t open = line.find("((", quote); open != std::string::npos;
             open = line.find("((", open + 1)) {
            size_t start = open;
            while (line[start] == '(')
                ++start;
            const size_t close = line.find(')', start);
            if (close == std::string::npos || close + 2 >= line.size())
                break;
            std::istringstream phones(line.substr(start, close - start));
            std::vector<std::string> syllable;
            for (std::string phone; phones >> phone;)
                syllable.push_back(phone == "ax" ? "ah" : phone);
            syllables.emplace_back(std::move(syllable), line[close + 2] == '1');
            open = close;
        }
        if (syllables.empty())
            continue;
        size_t stressed = syllables.size() - 1;
        for (size_t s = syllables.size(); s-- > 0;)
            if (syllables[s].second) {
                stressed = s;
                break;
            }
        Entry entry { int(syllables.size()), {} };
        bool vowel = false;
        for (size_t s = stressed; s < syllables.size(); ++s)
            for (const std::string& phone : syllables[s].first) {
                vowel = vowel || isVowelPhone(phone);
                if (vowel)
                    entry.rhyme += (entry.rhyme.empty() ? "" : " ") + phone;
            }
        m_entries.emplace(std::move(word), std::move(entry));
    }
    if (file.bad())
        throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
}

const Pronunciations::Entry* Pronunciations::find(const std::string& word) const
{
    const auto found = m_entries.find(word);
    return found == m_entries.end() ? nullptr : &found->second;
}

int estimatedSyllables(std::string_view word)
{
    int groups = 0;
    bool letter = false;
    for (size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        letter = letter || std::isalpha(static_cast<unsigned char>(c)) || (c & 0x80);
        // A y before a vowel starts a syllable (yes, beyond) rather than sounding one.
        const bool vowel
            = isVowelLetter(c) && !(c == 'y' && i + 1 < word.size() && isVowelLetter(word[i + 1]));
        if (vowel && (i == 0 || !isVowelLetter(word[i - 1]) || word[i - 1] == 'y'))
            ++groups;
        // Vowels sounded apart (lion, media), but not after t, s, c or g (nation, social, region).
        if (i > 0 && i + 1 < word.size() && c == 'i' && (word[i + 1] == 'a' || word[i + 1] == 'o')
            && !std::strchr("tscg", word[i - 1]))
            ++groups;
    }
    const auto ends = [&](std::string_view end) { return word.ends_with(end); };
    const auto consonantBefore = [&](size_t fromEnd) {
        return word.size() > fromEnd && !isVowelLetter(word[word.size() - fromEnd - 1]);
    };
    // A silent final e (make), but not that of -le after a consonant (table), nor of -ee.
    if (groups > 1 && ends("e") && !(ends("le") && consonantBefore(2)) && consonantBefore(1))
        --groups;
    // A silent -ed (walked) but not after t or d (wanted); a silent -es but after a hiss (boxes).
    else if (groups > 1 && ends("ed") && consonantBefore(2) && !ends("ted") && !ends("ded"))
        --groups;
    else if (groups > 1 && ends("es") && consonantBefore(2) && !ends("ses") && !ends("zes")
        && !ends("xes") && !ends("ces") && !ends("ges") && !ends("shes") && !ends("ches")
        && !(ends("les") && consonantBefore(3)))
        --groups;
    return letter ? std::max(groups, 1) : 0;
}
