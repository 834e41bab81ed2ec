#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// WordNet's database files (index.POS, data.POS, POS.exc, as Debian's wordnet-base installs them)
// read for what the word database keeps: parts of speech, glosses, base forms and usage labels.
class WordNet
{
public:
    // Reads the files of folder; throws std::runtime_error naming a file that cannot be read.
    explicit WordNet(const std::string& folder);

    // WordKind bits of the word as a dictionary form (a lemma of that part of speech).
    std::uint8_t kinds(const std::string& word) const;
    // The dictionary form an inflected word comes from (apples: apple), by WordNet's exception
    // lists and suffix rules; empty for a lemma or a word it cannot reduce.
    std::string baseForm(const std::string& word) const;
    // The gloss of the word's most common sense without its examples; for an inflected form its
    // base's, after the base ("apple: fruit with ..."). Empty when WordNet has none.
    std::string definition(const std::string& word) const;
    // Whether WordNet labels the word obscene, an ethnic slur or disparaging in its most common
    // sense or in most of its senses; an inflected form goes by its base. A word with such a sense
    // among others (a rare sense of an everyday word) is not marked.
    bool offensive(const std::string& word) const;

private:
    struct Lemma
    {
        // Senses per part of speech (noun, verb, adjective, adverb), most common first.
        std::vector<std::uint32_t> senses[4];
        // How many senses of each part of speech are tagged in WordNet's corpus: the part with the
        // most is taken as the word's most common.
        int tagged[4] = { -1, -1, -1, -1 };
    };
    struct Synset
    {
        std::string gloss;
        std::vector<std::string> words;
        // Usage labels: the label's synset (a noun) and the word they apply to, from 1, or 0 for
        // every word of the synset.
        std::vector<std::pair<std::uint32_t, int>> usages;
    };

    static std::uint64_t key(int part, std::uint32_t offset)
    {
        return std::uint64_t(part) << 32 | offset;
    }
    void readIndex(const std::string& path, int part);
    void readData(const std::string& path, int part);
    void readExceptions(const std::string& path, int part);
    int mainPart(const Lemma& lemma) const;
    bool lemmaOffensive(const std::string& word) const;
    std::string baseIn(const std::string& word, int part) const;

    std::unordered_map<std::string, Lemma> m_lemmas;
    std::unordered_map<std::uint64_t, Synset> m_synsets;
    std::unordered_multimap<std::string, std::string> m_exceptions[4];
    // The senses labelled offensive, as the lemma, a tab and the synset's key.
    std::unordered_set<std::string> m_offensiveSenses;
};
