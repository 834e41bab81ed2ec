#include "Pronunciations.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <unistd.h>

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
        // A syllable without a vowel (the sh of shtick, the t of tsunami) is none to a reader.
        const auto voiced = std::count_if(syllables.begin(), syllables.end(), [](const auto& s) {
            return std::any_of(s.first.begin(), s.first.end(), isVowelPhone);
        });
        Entry entry { int(std::max<std::ptrdiff_t>(voiced, 1)), {} };
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

int spokenSyllables(std::string_view ipa)
{
    static constexpr std::string_view vowels[]
        = { "a", "e", "i", "o", "u", "y", "\u00e6", "\u0251", "\u0252", "\u0254", "\u0259",
              "\u025b", "\u025c", "\u026a", "\u028a", "\u028c", "\u0250", "\u025a", "\u025d",
              "\u1d7b", "\u0258", "\u0275", "\u00f8", "\u0153", "\u0264", "\u026f", "\u0268" };
    static constexpr std::string_view diphthongs[]
        = { "a\u026a", "a\u028a", "e\u026a", "o\u028a", "\u0254\u026a" };
    static constexpr std::string_view syllabic = "\u0329";
    int syllables = 0;
    size_t start = 0;
    while (start <= ipa.size()) {
        size_t end = ipa.find_first_of("_ ", start);
        if (end == std::string_view::npos)
            end = ipa.size();
        const std::string_view phoneme = ipa.substr(start, end - start);
        int count = 0;
        for (const std::string_view vowel : vowels)
            for (size_t at = phoneme.find(vowel); at != std::string_view::npos;
                 at = phoneme.find(vowel, at + vowel.size()))
                ++count;
        for (const std::string_view diphthong : diphthongs)
            count -= phoneme.find(diphthong) != std::string_view::npos;
        syllables += count > 0 ? count : phoneme.find(syllabic) != std::string_view::npos;
        start = end + 1;
    }
    return syllables;
}

std::unordered_map<std::string, int> spokenSyllables(
    const std::vector<std::string>& words, const std::string& program, const std::string& prefix)
{
    const auto quoted = [](const std::string& text) {
        std::string quoted = "'";
        for (const char c : text)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted + "'";
    };
    // As many batches as the machine has processors, each a line a word that ends its sentence,
    // so that each answer is a line.
    const long processors = std::max(1L, std::min(16L, ::sysconf(_SC_NPROCESSORS_ONLN)));
    const size_t batch = words.size() / size_t(processors) + 1;
    std::string command;
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
    for (size_t first = 0; first < words.size(); first += batch) {
        inputs.push_back(prefix + ".in" + std::to_string(inputs.size()));
        outputs.push_back(prefix + ".out" + std::to_string(outputs.size()));
        std::ofstream input(inputs.back());
        for (size_t w = first; w < std::min(words.size(), first + batch); ++w)
            input << words[w] << ".\n";
        if (!input.flush())
            throw std::runtime_error("cannot write " + inputs.back() + ": " + std::strerror(errno));
        command += quoted(program) + " -q --ipa --sep=_ -v en-us -f " + quoted(inputs.back())
            + " > " + quoted(outputs.back()) + " & p" + std::to_string(outputs.size()) + "=$!; ";
    }
    // Each batch's own status, so that a program missing or failing is told as such.
    for (size_t b = 1; b <= outputs.size(); ++b)
        command += "wait $p" + std::to_string(b) + " || exit 1; ";
    const int status = words.empty() ? 0 : std::system(command.c_str());
    std::unordered_map<std::string, int> syllables;
    std::string failure = status != 0 ? program + " could not be run" : std::string();
    for (size_t b = 0; b < outputs.size(); ++b) {
        std::ifstream output(outputs[b]);
        std::string line;
        for (size_t w = b * batch; failure.empty() && w < std::min(words.size(), (b + 1) * batch);
             ++w) {
            if (!std::getline(output, line))
                failure = program + " gave fewer pronunciations than words";
            else if (const int spoken = spokenSyllables(line);
                     spoken > 0 && line.find(' ') == std::string::npos)
                syllables.emplace(words[w], spoken);
        }
        std::remove(inputs[b].c_str());
        std::remove(outputs[b].c_str());
    }
    if (!failure.empty())
        throw std::runtime_error(failure);
    return syllables;
}
