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

Pronunciations::Entry Pronunciations::inflected(
    const std::string& word, const std::function<bool(const std::string&)>& isWord) const
{
    // What an ending adds to the base's syllables: -s and -ed one after a hiss or after t and d
    // (boxes, wanted), the others one, but none where a written -le or -re after a consonant
    // loses its own (tumbling, centring) or for -ically (said -ic-ly).
    enum Adds
    {
        One,
        None,
        AfterHiss,
        AfterTOrD,
        UnlessSyllabicEnd
    };
    struct Base
    {
        std::string word;
        Adds adds;
        // The ending's sounds; those of -s and -ed follow the base's last sound.
        std::string_view sounds;
    };
    // Each cut follows a test that the word ends with at least as many letters.
    const auto cut = [&](size_t letters, const char* add = "") {
        return word.substr(0, word.size() - letters) + add;
    };
    const auto ends = [&](std::string_view end) { return word.ends_with(end); };
    const bool doubled = word.size() > 4 && !isVowelLetter(word[word.size() - 4]);
    std::vector<Base> bases;
    if (ends("s") && !ends("ss")) {
        bases.push_back({ cut(1), AfterHiss, "" });
        const std::string stem = cut(2);
        if (ends("es")
            && (stem.ends_with('s') || stem.ends_with('x') || stem.ends_with('z')
                || stem.ends_with("ch") || stem.ends_with("sh") || stem.ends_with('o')))
            bases.push_back({ stem, AfterHiss, "" });
        if (ends("ies"))
            bases.push_back({ cut(3, "y"), None, "z" });
    }
    if (ends("ed")) {
        bases.insert(bases.end(), { { cut(1), AfterTOrD, "" }, { cut(2), AfterTOrD, "" } });
        if (ends("ied"))
            bases.push_back({ cut(3, "y"), AfterTOrD, "" });
        if (doubled && word[word.size() - 3] == word[word.size() - 4])
            bases.push_back({ cut(3), AfterTOrD, "" });
    }
    if (ends("ing")) {
        bases.insert(
            bases.end(), { { cut(3, "e"), UnlessSyllabicEnd, "ih ng" }, { cut(3), One, "ih ng" } });
        if (word.size() > 5 && word[word.size() - 4] == word[word.size() - 5]
            && !isVowelLetter(word[word.size() - 4]))
            bases.push_back({ cut(4), One, "ih ng" });
    }
    for (const auto& [suffix, sounds] : { std::pair { "er", "er" }, std::pair { "est", "ah s t" } })
        if (ends(suffix) && !word.ends_with("e" + std::string(suffix))) {
            const size_t letters = std::strlen(suffix);
            bases.insert(bases.end(),
                { { cut(letters), One, sounds },
                    { cut(letters, "e"), UnlessSyllabicEnd, sounds } });
            if (word.ends_with("i" + std::string(suffix)))
                bases.push_back({ cut(letters + 1, "y"), One, sounds });
        }
    for (const auto& [suffix, sounds] : { std::pair { "ly", "l iy" },
             std::pair { "ness", "n ah s" }, std::pair { "less", "l ah s" },
             std::pair { "ment", "m ah n t" }, std::pair { "ful", "f ah l" } })
        if (ends(suffix) && !word.ends_with("ed" + std::string(suffix)))
            bases.push_back({ cut(std::strlen(suffix)), ends("ically") ? None : One, sounds });
    for (const auto& [base, adds, sounds] : bases) {
        const Entry* entry = base.size() > 2 ? find(base) : nullptr;
        if (!entry || !isWord(base))
            continue;
        const std::string last = entry->rhyme.substr(entry->rhyme.rfind(' ') + 1);
        // An e the ending drops was silent (psyching is no psyche-ing).
        if (adds == UnlessSyllabicEnd && isVowelPhone(last))
            continue;
        const bool syllabicEnd = (base.ends_with("le") || base.ends_with("re"))
            && !isVowelLetter(base[base.size() - 3]);
        const bool hiss = last == "s" || last == "z" || last == "sh" || last == "zh" || last == "ch"
            || last == "jh";
        const bool voiceless
            = last == "p" || last == "t" || last == "k" || last == "f" || last == "th";
        const bool tOrD = last == "t" || last == "d";
        Entry form { entry->syllables
                + (adds == One || (adds == AfterHiss && hiss) || (adds == AfterTOrD && tOrD)
                    || (adds == UnlessSyllabicEnd && !syllabicEnd)),
            entry->rhyme };
        // The rhyme runs on into the ending, the schwa of a lost syllable dropped (tumbling,
        // tragically).
        const bool lost = (adds == UnlessSyllabicEnd && syllabicEnd) || adds == None;
        if (lost && form.rhyme.ends_with(" ah l"))
            form.rhyme.replace(form.rhyme.size() - 4, 3, "");
        else if (lost && form.rhyme.ends_with(" er"))
            form.rhyme.replace(form.rhyme.size() - 2, 2, "r");
        const std::string_view ending = adds == AfterHiss ? (hiss ? "ah z"
                                                : voiceless       ? "s"
                                                                  : "z")
            : adds == AfterTOrD                           ? (tOrD   ? "ah d"
                                                : voiceless || hiss ? "t"
                                                                    : "d")
            : adds == None && sounds == "l iy"            ? "iy"
                                                          : sounds;
        if (!form.rhyme.empty())
            form.rhyme += " " + std::string(ending);
        return form;
    }
    return {};
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
        // The vowel of near before its r is one (querying 3, sincerest 3).
        if (phoneme.find("i\u0259") != std::string_view::npos && end < ipa.size()
            && ipa.substr(end + 1).starts_with("\u0279"))
            --count;
        syllables += count > 0 ? count : phoneme.find(syllabic) != std::string_view::npos;
        start = end + 1;
    }
    return syllables;
}

std::string spokenRhyme(std::string_view ipa, std::string_view word)
{
    // The longest first where one sound begins another.
    static constexpr std::pair<std::string_view, std::string_view> sounds[] = { { "a\u026a\u025a",
                                                                                    "ay er" },
        { "a\u026a\u0259", "ay er" }, { "a\u028a\u025a", "aw er" }, { "a\u028a\u0259", "aw er" },
        { "\u0251\u02d0\u0279", "aa r" }, { "\u0254\u02d0\u0279", "ao r" },
        { "o\u02d0\u0279", "ao r" }, { "\u025c\u02d0\u0279", "er" }, { "\u026a\u0279", "ih r" },
        { "\u025b\u0279", "eh r" }, { "\u028a\u0279", "uh r" }, { "a\u026a", "ay" },
        { "a\u028a", "aw" }, { "e\u026a", "ey" }, { "o\u028a", "ow" }, { "\u0254\u026a", "oy" },
        { "\u0251\u02d0", "aa" }, { "\u0254\u02d0", "ao" }, { "o\u02d0", "ao" },
        { "\u025c\u02d0", "er" }, { "i\u02d0", "iy" }, { "u\u02d0", "uw" }, { "\u0259l", "ah l" },
        { "t\u0283", "ch" }, { "d\u0292", "jh" }, { "n\u0329", "ah n" }, { "l\u0329", "ah l" },
        { "m\u0329", "ah m" }, { "\u025a", "er" }, { "\u025d", "er" }, { "\u0251", "aa" },
        { "\u0252", "aa" }, { "\u00e6", "ae" }, { "\u028c", "ah" }, { "\u0259", "ah" },
        { "\u0250", "ah" }, { "\u0254", "ao" }, { "o", "ow" }, { "\u025b", "eh" }, { "e", "ey" },
        { "\u026a", "ih" }, { "\u1d7b", "ih" }, { "i", "iy" }, { "\u028a", "uh" }, { "u", "uw" },
        { "a", "aa" }, { "\u014b", "ng" }, { "\u03b8", "th" }, { "\u00f0", "dh" },
        { "\u0283", "sh" }, { "\u0292", "zh" }, { "\u0279", "r" }, { "j", "y" }, { "\u0261", "g" },
        { "\u0294", "t" }, { "x", "k" }, { "h", "hh" }, { "b", "b" }, { "d", "d" }, { "f", "f" },
        { "k", "k" }, { "l", "l" }, { "m", "m" }, { "n", "n" }, { "p", "p" }, { "s", "s" },
        { "t", "t" }, { "v", "v" }, { "w", "w" }, { "z", "z" } };
    static constexpr std::string_view reduced[] = { "\u026a", "\u1d7b", "\u0259", "\u0250" };
    // A stress mark, or a diphthong, which the dictionary stresses where espeak-ng often leaves
    // it unmarked after the stress (prophesying, ghostwrite).
    static constexpr std::string_view rhymeStarts[]
        = { "\u02c8", "\u02cc", "a\u026a", "e\u026a", "a\u028a", "\u0254\u026a" };
    std::vector<std::string_view> phonemes;
    for (size_t start = 0; start <= ipa.size();) {
        const size_t end = std::min(ipa.find_first_of("_ ", start), ipa.size());
        if (end > start)
            phonemes.push_back(ipa.substr(start, end - start));
        start = end + 1;
    }
    size_t stressed = 0;
    for (size_t p = 0; p < phonemes.size(); ++p)
        for (const std::string_view start : rhymeStarts)
            if (phonemes[p].find(start) != std::string_view::npos)
                stressed = p;
    // The d of a final -ed is none of the stem's (gated).
    const std::string_view stem = word.ends_with("ed") ? word.substr(0, word.size() - 2) : word;
    const size_t lastTOrD = stem.find_last_of("td");
    const char* const flap
        = lastTOrD != std::string_view::npos && stem[lastTOrD] == 'd' ? "d" : "t";
    std::string rhyme;
    for (size_t p = stressed; p < phonemes.size(); ++p) {
        const std::string_view phoneme = phonemes[p];
        const std::string_view next = p + 1 < phonemes.size() ? phonemes[p + 1] : "";
        for (size_t at = 0; at < phoneme.size();) {
            std::string_view from;
            std::string_view to;
            if (phoneme.substr(at).starts_with("\u027e")) {
                from = "\u027e";
                to = flap;
            } else if (phoneme.substr(at).starts_with("i\u0259")) {
                // The vowel of near before its r, else two (media).
                from = "i\u0259";
                to = next.starts_with("\u0279") ? "ih" : "iy ah";
            } else
                for (const auto& [ipaSound, phones] : sounds)
                    if (phoneme.substr(at).starts_with(ipaSound)) {
                        from = ipaSound;
                        to = phones;
                        break;
                    }
            if (from.empty()) {
                ++at; // a stress mark or a sign of length or tone
                continue;
            }
            at += from.size();
            // After the stressed vowel, a reduced one is the dictionary's schwa, its ih before
            // ng (wedding) or its iy before a vowel (wearying).
            if (!rhyme.empty()
                && std::find(std::begin(reduced), std::end(reduced), from) != std::end(reduced))
                to = next.starts_with("\u014b")                                             ? "ih"
                    : spokenSyllables(next) > 0 && from != reduced[2] && from != reduced[3] ? "iy"
                                                                                            : "ah";
            if (rhyme.empty() && !isVowelPhone(std::string(to.substr(0, to.find(' ')))))
                continue;
            rhyme += (rhyme.empty() ? "" : " ") + std::string(to);
        }
    }
    return rhyme;
}

std::unordered_map<std::string, Spoken> spokenWords(
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
    std::unordered_map<std::string, Spoken> spoken;
    std::string failure = status != 0 ? program + " could not be run" : std::string();
    for (size_t b = 0; b < outputs.size(); ++b) {
        std::ifstream output(outputs[b]);
        std::string line;
        for (size_t w = b * batch; failure.empty() && w < std::min(words.size(), (b + 1) * batch);
             ++w) {
            if (!std::getline(output, line))
                failure = program + " gave fewer pronunciations than words";
            else if (const int syllables = spokenSyllables(line);
                     syllables > 0 && line.find(' ') == std::string::npos)
                spoken.emplace(words[w], Spoken { syllables, spokenRhyme(line, words[w]) });
        }
        std::remove(inputs[b].c_str());
        std::remove(outputs[b].c_str());
    }
    if (!failure.empty())
        throw std::runtime_error(failure);
    return spoken;
}
