#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

// WordNet's database files (index.POS, data.POS, POS.exc and the sense counts cntlist.rev, as
// Debian's wordnet-base installs them) read for what the word database keeps: parts of speech,
// glosses, base forms and usage labels. A word is looked up lower-cased, and the senses WordNet
// writes capitalised (names of people, places, organisations, months) are left out: they belong
// to another word.
class WordNet
{
public:
    // SCOWL's size level of each word (10 the most common), which tells how common a sense's
    // synonyms are; a word it lacks counts as rarer than every level.
    using Levels = std::unordered_map<std::string, std::uint8_t>;

    // Reads the files of folder; throws std::runtime_error naming a file that cannot be read.
    // levels, when given, must outlive the object.
    explicit WordNet(const std::string& folder, const Levels* levels = nullptr);

    // WordKind bits of the word as a dictionary form (a lemma of that part of speech). A single
    // letter, and a comparative or superlative of an adjective (slower, longest), has no kind.
    std::uint8_t kinds(const std::string& word) const;
    // How often tagged text uses the word's senses, all parts of speech together.
    int uses(const std::string& word) const;
    // The dictionary form an inflected word comes from (apples: apple), by WordNet's exception
    // lists and suffix rules; empty for a lemma or a word it cannot reduce.
    std::string baseForm(const std::string& word) const;
    // The gloss of the word's most used sense, among those of the WordKind bits in kinds (0: of
    // any part), without its examples; for an inflected form its base's, in the part of speech
    // the inflection comes from, after the base ("apple: fruit with ..."). Empty when WordNet has
    // none. With topic, also the topic (WordFacts::topic) of the sense the gloss is of: 0 where
    // its lexicographer file names no topic (adjectives, adverbs).
    std::string definition(
        const std::string& word, std::uint8_t kinds = 0, std::uint8_t* topic = nullptr) const;
    // The gloss of the most used sense of each part of speech of a word that has several, the
    // most used part first; empty for a word of one part or none.
    std::vector<std::pair<std::uint8_t, std::string>> kindDefinitions(
        const std::string& word) const;
    // Whether WordNet calls the word obscene, vulgar, an ethnic slur or offensive or disparaging
    // (by its usage labels or its gloss) in its most used sense or in most of its senses; with
    // anySense, in any sense (for a rare word, which a reader meets mostly in that sense). An
    // inflected form goes by its base.
    bool offensive(const std::string& word, bool anySense = false) const;
    // Whether a teacher would have to explain the word away, as offensive() judges senses: a
    // sense under sexual activity, the reproductive organs and gametes, pornography, prostitution
    // or drug addiction, or whose gloss is about sex, nudity, suicide or castration.
    bool classroom(const std::string& word, bool anySense = false) const;

private:
    struct Lemma
    {
        // Senses per part of speech (noun, verb, adjective, adverb), most common first, and how
        // often tagged text uses each (cntlist.rev).
        std::vector<std::uint32_t> senses[4];
        std::vector<int> counts[4];
        // How many senses of each part of speech are tagged in WordNet's corpus.
        int tagged[4] = { -1, -1, -1, -1 };
    };
    struct Synset
    {
        std::string gloss;
        // The synset's words lower-cased, and whether each is written with a capital.
        std::vector<std::string> words;
        std::vector<bool> capitalised;
        // Whether the gloss calls the sense offensive, and whether the sense is not for a class.
        bool offensiveGloss = false;
        bool classroom = false;
        // The hypernyms' keys.
        std::vector<std::uint64_t> hypernyms;
        // Usage labels: the label's synset (a noun) and the word they apply to, from 1, or 0 for
        // every word of the synset.
        std::vector<std::pair<std::uint32_t, int>> usages;
        // Whether the sense belongs to a topic, region or usage (a domain pointer), and the word
        // each pointer links, from 1, or 0 for the whole synset.
        bool domain = false;
        std::vector<int> pointerSources;
        // Each word's lexical id, whether the synset is an adjective satellite and the offset
        // of its head, which sense keys name.
        std::vector<int> lexIds;
        bool satellite = false;
        std::uint32_t head = 0;
        // The lexicographer file: 4 acts, 11 events, 22 processes, ...
        int lexFile = -1;
        // How often tagged text uses the sense, by any of its words.
        int uses = 0;
        // Derivationally related senses: the synset's key, and the word of each side, from 1.
        struct Derivation
        {
            std::uint64_t target;
            int source;
            int word;
        };
        std::vector<Derivation> derivations;
    };

    static std::uint64_t key(int part, std::uint32_t offset)
    {
        return std::uint64_t(part) << 32 | offset;
    }
    void readIndex(const std::string& path, int part);
    void readData(const std::string& path, int part);
    void readExceptions(const std::string& path, int part);
    void readCounts(const std::string& path);
    // Whether sense s of part is the word's own, not a capitalised entry's.
    bool lowerCase(const std::string& word, int part, size_t s) const;
    // What ranks senses of equal use: marks of a secondary sense (a gloss naming the word itself,
    // a special field, a domain, a synonym more common than the word, which a reader would say
    // for that sense), whether the word is short for a compound of the synset that it qualifies
    // (peacock: peacock_butterfly; carpal: carpal_bone, so the adjective first), how much the
    // sense a derived sense comes from is used, how much its synonyms use the synset, how many
    // pointers link it, and whether the word heads it (or names its first compound: wiper,
    // windshield_wiper).
    struct Standing
    {
        int marks = 0;
        bool clipped = false;
        int derived = 0;
        int uses = 0;
        int pointers = 0;
        bool head = false;
        // Whether a synonym more common than the word is among the marks.
        bool rarer = false;
        auto operator<=>(const Standing& other) const
        {
            return std::tuple(-marks, !clipped, derived, uses, pointers, head)
                <=> std::tuple(-other.marks, !other.clipped, other.derived, other.uses,
                    other.pointers, other.head);
        }
    };
    struct Sense
    {
        int part = -1;
        size_t index = 0;
        int count = -1;
        Standing standing;
    };
    Standing standing(const std::string& word, int part, size_t s) const;
    const Synset& synsetOf(const std::string& word, const Sense& sense) const;
    // The sense of the lemma from in part that WordNet derives the word's sense from, if any.
    Sense derivedFrom(
        const std::string& word, const Sense& sense, const std::string& from, int part) const;
    // The most used lower-case sense of the word among the parts in kinds (0: all); of equal
    // counts, the best standing, then the first part (noun, verb, adjective, adverb).
    Sense bestSense(const std::string& word, std::uint8_t kinds) const;
    std::string glossOf(const std::string& word, const Sense& sense) const;
    // The gloss of the sense, and its topic into topic when asked for.
    std::string defined(const std::string& word, const Sense& sense, std::uint8_t* topic) const;
    // The lexicographer file whose topic fits a synset, -1 for none: mostly its own, but the
    // lines, surfaces and points filed with places are not where one goes, an animal's claw is
    // a part of a body, and hairstyles and bacteria are neither.
    int topicFile(std::uint64_t synsetKey) const;
    // Whether marked(synset key) holds for the main sense of the lemma, most of its senses, or
    // with anySense any.
    template <typename Marked>
    bool lemmaMarked(const std::string& word, bool anySense, Marked marked) const;
    void markClassroom();
    std::string baseIn(const std::string& word, int part) const;
    // The lemma a word WordNet lacks is derived from (restructurings: restructure, breathtakingly:
    // breathtaking), and its part of speech; empty when no suffix leads to one.
    std::pair<std::string, int> derivedBase(const std::string& word) const;
    int level(const std::string& word) const;

    std::unordered_map<std::string, Lemma> m_lemmas;
    std::unordered_map<std::uint64_t, Synset> m_synsets;
    std::unordered_multimap<std::string, std::string> m_exceptions[4];
    // The senses labelled offensive, as the lemma, a tab and the synset's key.
    std::unordered_set<std::string> m_offensiveSenses;
    const Levels* m_levels;
};
