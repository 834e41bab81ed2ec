#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

// The CMU Pronouncing Dictionary as Debian's festlex-cmu installs it (cmudict-0.4.out, in
// Festival's lexicon format: each entry a word, a part of speech and its syllables, each syllable
// its phones and a stress of 0 or 1), read for what the word database keeps of a word's sounds.
class Pronunciations
{
public:
    struct Entry
    {
        int syllables = 0;
        // The phones from the vowel of the last stressed syllable to the end, blank-separated;
        // the two schwas (ax, ah) are one sound here.
        std::string rhyme;
    };

    // Throws std::runtime_error naming a file that cannot be read.
    explicit Pronunciations(const std::string& path);

    // The entry of a lower-case word, its first pronunciation; null when the dictionary lacks it.
    const Entry* find(const std::string& word) const;
    const std::unordered_map<std::string, Entry>& entries() const { return m_entries; }

private:
    std::unordered_map<std::string, Entry> m_entries;
};

// Syllables estimated from the spelling of a lower-case word: its groups of vowel letters, less a
// silent final e and a silent -ed or -es, more for vowels sounded apart (lion, media); at least 1
// for a word with a letter.
int estimatedSyllables(std::string_view word);
