#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
    // The syllables and rhyme of a word the dictionary lacks that adds an ending (-s, -ed, -ing,
    // -er, -est, -ly, -ness, -less, -ment, -ful) to a word it holds, which isWord tells is a word
    // (so that its names and spelt abbreviations are no base): shticks 1 from shtick, inkier 3
    // from inky, tumbling 2 from tumble. Syllables 0 when it is no such form.
    Entry inflected(
        const std::string& word, const std::function<bool(const std::string&)>& isWord) const;
    const std::unordered_map<std::string, Entry>& entries() const { return m_entries; }

private:
    std::unordered_map<std::string, Entry> m_entries;
};

// Syllables estimated from the spelling of a lower-case word: its groups of vowel letters, less a
// silent final e and a silent -ed or -es, more for vowels sounded apart (lion, media); at least 1
// for a word with a letter.
int estimatedSyllables(std::string_view word);

// The syllables of a pronunciation as espeak-ng writes it in IPA with its phonemes separated by
// "_": each vowel phoneme one (a diphthong one, a schwa after another vowel one more: fire 2, as
// the pronouncing dictionary counts), a syllabic consonant (the n of button) one.
int spokenSyllables(std::string_view ipa);

// The rhyme of a pronunciation as espeak-ng writes it, in the dictionary's phones (Entry::rhyme):
// from the vowel of the last stressed syllable to the end, a reduced vowel after it written as
// the dictionary mostly does. A flap is the t or d that the spelling of word has last.
std::string spokenRhyme(std::string_view ipa, std::string_view word);

// How espeak-ng (program) says each word in American English, run in a few batches side by side
// through files starting with prefix: its syllables and rhyme. A word it says as several (letters
// spelt out) is left out. Throws std::runtime_error when the program fails or its answer does not
// line up with the words.
struct Spoken
{
    int syllables = 0;
    std::string rhyme;
};
std::unordered_map<std::string, Spoken> spokenWords(
    const std::vector<std::string>& words, const std::string& program, const std::string& prefix);
