#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The topic of a word's definition: the lexicographer file (noun.animal, verb.motion, ...) of the
// WordNet sense whose gloss the definition is, read from the dict folder's index and data files.
class Topics
{
public:
    // Throws std::runtime_error naming a file that cannot be read.
    explicit Topics(const std::string& folder);

    // The Topic (WordFacts::topic: the file's number + 1) of the sense of word, or of the base
    // that an inflected form's definition names before a colon ("apple: fruit ..."), whose gloss
    // is definition; 0 when none is.
    std::uint8_t of(const std::string& word, const std::string& definition) const;

private:
    std::uint8_t among(const std::string& lemma, const std::string& definition) const;

    // Per synset (part << 32 | offset): its file and its gloss without examples.
    std::unordered_map<std::uint64_t, std::pair<int, std::string>> m_synsets;
    std::unordered_map<std::string, std::vector<std::uint64_t>> m_lemmas;
};
