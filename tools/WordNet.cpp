#include "WordNet.h"

#include "engine/WordFacts.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string_view>

namespace {

constexpr const char* partNames[4] = { "noun", "verb", "adj", "adv" };
constexpr std::uint8_t partKinds[4]
    = { WordKind::Noun, WordKind::Verb, WordKind::Adjective, WordKind::Adverb };

// The usage labels that make a sense offensive, by a lemma of the label's own synset.
constexpr const char* offensiveUsages[] = { "obscenity", "ethnic_slur", "disparagement" };

// Glosses that call a sense itself offensive (not a word about offence, such as "insult"): slurs,
// obscenities, vulgar and sexual slang.
const std::regex offensiveGloss(R"(\(ethnic slur\)|\boffensive (term|name|word)s? for\b|)"
                                R"(\b(obscene|vulgar) (term|word|slang|name|expression)s? for\b|)"
                                R"(\bvulgar slang\b|\bslang for (sexual|copulat|a woman's)|)"
                                R"(\bdisparaging term for an? [A-Z])");

// Senses not for a class: glosses about sex, nudity, suicide and castration, and (in
// classroomRoots) everything under these synsets, by their lexicographer file and first word.
const std::regex classroomGloss(
    R"(\b(sex (act|organ)s?|(have|has|had|having) sex|sexual\w*|erotic\w*|genital\w*|copulat\w*|coitus|orgasm\w*|masturbat\w*|)"
    R"(pornograph\w*|prostitut\w*|brothel|nud(e|ity)|topless|penis|vagina\w*|vulva|testicles?|)"
    R"(scrotum|clitoris|suicid\w*|lecher\w*|lust(ful)?|lewd\w*|promiscu\w*|castrat\w*|)"
    R"(fornicat\w*|adulter(y|ous|er|ess|ers|esses)|narcotic addicts?)\b)",
    std::regex::icase);
// The reproductive organs, the gonads and the male gametes are there too: a young class's reader
// would not hand out sperm or cervix; the innocent words among them (womb) the list keeps.
constexpr std::pair<int, const char*> classroomRoots[]
    = { { 4, "sexual_activity" }, { 4, "pornography" }, { 8, "genitalia" },
          { 8, "reproductive_organ" }, { 8, "gonad" }, { 8, "sperm" }, { 8, "semen" },
          { 18, "drug_addict" }, { 18, "prostitute" }, { 35, "copulate" }, { 35, "masturbate" } };
// Biology's words under sexual activity (breeding, multiplication) stay for a class.
constexpr std::pair<int, const char*> classroomStops[] = { { 4, "reproduction" } };

// Glosses that call a sense dated or a term of contempt ("archaic terms for a wedding",
// "pejorative terms for an insane asylum"); an informal word is often met in its informal sense,
// so that is no mark.
const std::regex dated(
    R"(\b(archaic|obsolete|old-fashioned|pejorative|derogatory)\b)", std::regex::icase);

// WordNet's detachment rules: a suffix and what replaces it, per part of speech.
struct Rule
{
    const char* suffix;
    const char* ending;
};
const std::vector<Rule> rules[4] = {
    { { "s", "" }, { "ses", "s" }, { "xes", "x" }, { "zes", "z" }, { "ches", "ch" },
        { "shes", "sh" }, { "men", "man" }, { "ies", "y" } },
    { { "s", "" }, { "ies", "y" }, { "es", "e" }, { "es", "" }, { "ed", "e" }, { "ed", "" },
        { "ing", "e" }, { "ing", "" } },
    { { "er", "" }, { "est", "" }, { "er", "e" }, { "est", "e" }, { "ier", "y" }, { "iest", "y" } },
    {},
};

// Suffixes that derive a word from a lemma of another part of speech without changing what it
// names (restructurings: restructure, pedestrianized: pedestrian, grouchiness: grouchy,
// breathtakingly: breathtaking, compactor: compact, napalmed: napalm), and the part of the
// lemma: 0 noun, 1 verb, 2 adjective.
struct Derivation
{
    const char* suffix;
    const char* ending;
    int part;
};
constexpr Derivation derivations[] = { { "ings", "", 1 }, { "ings", "e", 1 },
    { "izations", "ize", 1 }, { "isations", "ize", 1 }, { "ization", "ize", 1 },
    { "isation", "ize", 1 }, { "ises", "izes", 1 }, { "ised", "ized", 1 }, { "ising", "izing", 1 },
    { "ise", "ize", 1 }, { "izes", "", 0 }, { "ized", "", 0 }, { "izing", "", 0 }, { "ize", "", 0 },
    { "ises", "", 0 }, { "ised", "", 0 }, { "ising", "", 0 }, { "ise", "", 0 },
    { "inesses", "y", 2 }, { "iness", "y", 2 }, { "nesses", "", 2 }, { "ness", "", 2 },
    { "ily", "y", 2 }, { "bly", "ble", 2 }, { "ly", "", 2 }, { "ers", "", 1 }, { "ers", "e", 1 },
    { "er", "", 1 }, { "er", "e", 1 }, { "ied", "y", 1 }, { "ors", "", 1 }, { "or", "", 1 },
    { "lled", "l", 1 }, { "lling", "l", 1 }, { "ed", "", 0 }, { "ed", "e", 0 }, { "ing", "", 0 },
    { "ing", "e", 0 }, { "lled", "l", 0 }, { "lling", "l", 0 } };

std::ifstream openFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot open " + path + ": " + std::strerror(errno));
    return file;
}

void checkRead(const std::ifstream& file, const std::string& path)
{
    if (file.bad())
        throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
}

// The file's licence lines start with blanks; every other line is one entry.
bool isEntry(const std::string& line)
{
    return !line.empty() && line[0] != ' ';
}

// A lemma as listed in a synset: lower-cased, without an adjective's position marker "(a)".
std::string plainLemma(std::string word)
{
    word = word.substr(0, word.find('('));
    for (char& c : word)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

// The definition part of a gloss: the examples after it (quoted, after "; ") are left out.
std::string definitionOf(const std::string& gloss)
{
    std::string text = gloss.substr(0, gloss.find("; \""));
    while (!text.empty() && (text.back() == ' ' || text.back() == ';'))
        text.pop_back();
    return text;
}

} // namespace

WordNet::WordNet(const std::string& folder, const Levels* levels)
    : m_levels(levels)
{
    for (int part = 0; part < 4; ++part) {
        readIndex(folder + "/index." + partNames[part], part);
        readData(folder + "/data." + partNames[part], part);
        readExceptions(folder + "/" + partNames[part] + ".exc", part);
    }
    readCounts(folder + "/cntlist.rev");
    // Labels are resolved once every synset is known: they may point ahead in the files.
    std::unordered_set<std::uint32_t> usages;
    for (const auto& [synsetKey, synset] : m_synsets)
        for (const char* usage : offensiveUsages)
            if (synsetKey >> 32 == 0
                && std::find(synset.words.begin(), synset.words.end(), usage) != synset.words.end())
                usages.insert(std::uint32_t(synsetKey));
    for (const auto& [synsetKey, synset] : m_synsets)
        for (const auto& [usage, source] : synset.usages)
            for (size_t w = 0; usages.count(usage) && w < synset.words.size(); ++w)
                if (source == 0 || size_t(source) == w + 1)
                    m_offensiveSenses.insert(synset.words[w] + '\t' + std::to_string(synsetKey));
    markClassroom();
}

void WordNet::markClassroom()
{
    std::unordered_set<std::uint64_t> roots;
    std::unordered_set<std::uint64_t> stops;
    for (auto& [synsetKey, synset] : m_synsets) {
        const auto is = [&](const auto& names) {
            return std::any_of(std::begin(names), std::end(names), [&](const auto& name) {
                return synset.lexFile == name.first && !synset.words.empty()
                    && synset.words.front() == name.second;
            });
        };
        if (is(classroomRoots))
            roots.insert(synsetKey);
        if (is(classroomStops)) {
            stops.insert(synsetKey);
            synset.classroom = false;
        }
    }
    // Whether a synset is a root or lies under one; hypernyms form no cycle, and a depth bound
    // keeps a malformed file from recursing without end.
    std::unordered_map<std::uint64_t, bool> under;
    const auto isUnder = [&](const auto& self, std::uint64_t synsetKey, int depth) -> bool {
        if (roots.count(synsetKey) || stops.count(synsetKey))
            return roots.count(synsetKey) > 0;
        const auto known = under.find(synsetKey);
        const auto synset = m_synsets.find(synsetKey);
        if (known != under.end() || synset == m_synsets.end() || depth > 40)
            return known != under.end() && known->second;
        bool found = false;
        for (const std::uint64_t hypernym : synset->second.hypernyms)
            found = found || self(self, hypernym, depth + 1);
        return under[synsetKey] = found;
    };
    for (auto& [synsetKey, synset] : m_synsets)
        synset.classroom = synset.classroom || isUnder(isUnder, synsetKey, 0);
}

void WordNet::readIndex(const std::string& path, int part)
{
    std::ifstream file = openFile(path);
    std::string line;
    while (std::getline(file, line)) {
        if (!isEntry(line))
            continue;
        std::istringstream fields(line);
        std::string lemma, pos, pointer;
        int synsets = 0, pointers = 0, senses = 0, tagged = 0;
        fields >> lemma >> pos >> synsets >> pointers;
        for (int i = 0; i < pointers; ++i)
            fields >> pointer;
        fields >> senses >> tagged;
        Lemma& entry = m_lemmas[lemma];
        entry.tagged[part] = tagged;
        std::uint32_t offset = 0;
        for (int i = 0; i < synsets && fields >> offset; ++i)
            entry.senses[part].push_back(offset);
        entry.counts[part].assign(entry.senses[part].size(), 0);
    }
    checkRead(file, path);
}

void WordNet::readData(const std::string& path, int part)
{
    std::ifstream file = openFile(path);
    std::string line;
    while (std::getline(file, line)) {
        if (!isEntry(line))
            continue;
        const size_t bar = line.find(" | ");
        std::istringstream fields(line.substr(0, bar));
        std::uint32_t offset = 0;
        std::string lexFile, type, countText, word, lexId;
        fields >> offset >> lexFile >> type >> countText;
        Synset& synset = m_synsets[key(part, offset)];
        synset.lexFile = std::atoi(lexFile.c_str());
        synset.satellite = type == "s";
        const unsigned long count = std::strtoul(countText.c_str(), nullptr, 16);
        for (unsigned long i = 0; i < count && fields >> word >> lexId; ++i) {
            synset.words.push_back(plainLemma(word));
            synset.capitalised.push_back(synset.words.back() != word.substr(0, word.find('(')));
            synset.lexIds.push_back(int(std::strtoul(lexId.c_str(), nullptr, 16)));
        }
        synset.gloss = bar == std::string::npos ? std::string() : line.substr(bar + 3);
        synset.offensiveGloss = std::regex_search(definitionOf(synset.gloss), offensiveGloss);
        synset.classroom = std::regex_search(definitionOf(synset.gloss), classroomGloss);
        int pointers = 0;
        fields >> pointers;
        for (int i = 0; i < pointers; ++i) {
            std::string symbol, pos, sourceTarget;
            std::uint32_t target = 0;
            fields >> symbol >> target >> pos >> sourceTarget;
            if (sourceTarget.size() != 4 || pos.size() != 1)
                continue;
            const int source = int(std::strtoul(sourceTarget.substr(0, 2).c_str(), nullptr, 16));
            synset.pointerSources.push_back(source);
            if (symbol == ";u" && pos == "n")
                synset.usages.push_back({ target, source });
            synset.domain = synset.domain || symbol.starts_with(';');
            if ((symbol == "@" || symbol == "@i") && source == 0)
                synset.hypernyms.push_back(key(part, target));
            if (symbol == "&" && synset.satellite && !synset.head)
                synset.head = target;
            if (const size_t targetPart = std::string_view("nvar").find(pos == "s" ? 'a' : pos[0]);
                symbol == "+" && targetPart != std::string_view::npos)
                synset.derivations.push_back({ key(int(targetPart), target), source,
                    int(std::strtoul(sourceTarget.substr(2).c_str(), nullptr, 16)) });
        }
    }
    checkRead(file, path);
}

void WordNet::readExceptions(const std::string& path, int part)
{
    std::ifstream file = openFile(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string inflected, base;
        fields >> inflected;
        while (fields >> base)
            m_exceptions[part].emplace(inflected, base);
    }
    checkRead(file, path);
}

void WordNet::readCounts(const std::string& path)
{
    std::ifstream file = openFile(path);
    std::string line;
    // A line is a sense key, the sense's number in its part and its count. The key names the
    // sense for good (lemma%type:lexicographer file:lexical id:head word:head id, the head being a
    // satellite adjective's); the number follows an older order of the senses, so it serves only
    // when the key matches no sense.
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string senseKey;
        size_t number = 0;
        int count = 0;
        fields >> senseKey >> number >> count;
        const size_t percent = senseKey.find('%');
        if (!fields || percent == std::string::npos || percent + 1 >= senseKey.size())
            continue;
        // Types 1 to 5: noun, verb, adjective, adverb, adjective satellite.
        static constexpr int partOfType[] = { -1, 0, 1, 2, 3, 2 };
        const int type = senseKey[percent + 1] - '0';
        const std::string word = senseKey.substr(0, percent);
        const auto lemma = m_lemmas.find(word);
        if (type < 1 || type > 5 || lemma == m_lemmas.end())
            continue;
        std::vector<std::string> parts;
        std::istringstream rest(senseKey.substr(percent + 1));
        for (std::string part; std::getline(rest, part, ':');)
            parts.push_back(part);
        parts.resize(5);
        const int part = partOfType[type];
        const auto& senses = lemma->second.senses[part];
        const auto matches = [&](std::uint32_t offset) {
            const auto found = m_synsets.find(key(part, offset));
            if (found == m_synsets.end())
                return false;
            const Synset& synset = found->second;
            const auto at = std::find(synset.words.begin(), synset.words.end(), word);
            if (at == synset.words.end() || synset.satellite != (type == 5)
                || synset.lexFile != std::atoi(parts[1].c_str())
                || synset.lexIds[size_t(at - synset.words.begin())] != std::atoi(parts[2].c_str()))
                return false;
            const auto head = m_synsets.find(key(part, synset.head));
            return type != 5
                || (head != m_synsets.end() && !head->second.words.empty()
                    && head->second.words.front() == plainLemma(parts[3])
                    && head->second.lexIds.front() == std::atoi(parts[4].c_str()));
        };
        size_t s = size_t(std::find_if(senses.begin(), senses.end(), matches) - senses.begin());
        if (s == senses.size())
            s = number - 1;
        if (s < senses.size()) {
            lemma->second.counts[part][s] = count;
            const auto synset = m_synsets.find(key(part, senses[s]));
            if (synset != m_synsets.end())
                synset->second.uses += count;
        }
    }
    checkRead(file, path);
}

bool WordNet::lowerCase(const std::string& word, int part, size_t s) const
{
    const auto lemma = m_lemmas.find(word);
    const auto synset = m_synsets.find(key(part, lemma->second.senses[part][s]));
    if (synset == m_synsets.end())
        return false;
    for (size_t w = 0; w < synset->second.words.size(); ++w)
        if (synset->second.words[w] == word && !synset->second.capitalised[w])
            return true;
    return false;
}

WordNet::Standing WordNet::standing(const std::string& word, int part, size_t s) const
{
    const Synset& synset = m_synsets.at(key(part, m_lemmas.at(word).senses[part][s]));
    const std::string gloss = definitionOf(synset.gloss);
    Standing standing;
    // A gloss that names the word or its inflection (otter: "the fur of an otter"; ferret: "hunt
    // with ferrets"; twig: "branch out in a twiglike manner") defines a sense by another one.
    std::string name = word;
    std::replace(name.begin(), name.end(), '_', ' ');
    const auto isLetter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)); };
    for (size_t at = gloss.find(name); at != std::string::npos; at = gloss.find(name, at + 1)) {
        size_t end = at + name.size();
        while (end < gloss.size() && isLetter(gloss[end]))
            ++end;
        const std::string_view ending
            = std::string_view(gloss).substr(at + name.size(), end - at - name.size());
        if ((at == 0 || !isLetter(gloss[at - 1]))
            && (ending.empty() || ending == "s" || ending == "es" || ending == "ed"
                || ending == "ing" || ending == "like")) {
            ++standing.marks;
            break;
        }
    }
    // A field named before the gloss: "(physiology) ...", "in the theories of Jean Piaget: ...".
    const size_t colon = gloss.find(':');
    const bool field = gloss.starts_with('(')
        || (gloss.starts_with("in ") && colon != std::string::npos && colon < 40);
    const bool compound = !synset.words.empty() && synset.words.front().ends_with('_' + word);
    standing.head = !synset.words.empty() && (synset.words.front() == word || compound);
    standing.clipped = !compound
        && std::any_of(synset.words.begin(), synset.words.end(),
            [&](const std::string& other) { return other.starts_with(word + '_'); });
    // A synset another word heads, with a synonym more common than the word, is a thing a
    // reader names by that synonym (pearl: bone, ivory; confinement: labor), so the word reads
    // as a secondary name of it.
    const int own = level(word);
    const bool rarer = !standing.head
        && std::any_of(synset.words.begin(), synset.words.end(), [&](const std::string& other) {
               return other != word && other.find('_') == std::string::npos && level(other) < own;
           });
    standing.marks += field + synset.domain + std::regex_search(gloss, dated) + rarer;
    standing.rarer = rarer;
    const int source
        = int(std::find(synset.words.begin(), synset.words.end(), word) - synset.words.begin()) + 1;
    for (const Synset::Derivation& derivation : synset.derivations) {
        const auto target = m_synsets.find(derivation.target);
        if (derivation.source != source || target == m_synsets.end() || derivation.word < 1
            || size_t(derivation.word) > target->second.words.size())
            continue;
        const auto related = m_lemmas.find(target->second.words[derivation.word - 1]);
        const int targetPart = int(derivation.target >> 32);
        if (related == m_lemmas.end())
            continue;
        const auto& senses = related->second.senses[targetPart];
        const auto at = std::find(senses.begin(), senses.end(), std::uint32_t(derivation.target));
        if (at != senses.end())
            standing.derived = std::max(
                standing.derived, related->second.counts[targetPart][size_t(at - senses.begin())]);
    }
    standing.uses = synset.uses;
    standing.pointers
        = int(std::count(synset.pointerSources.begin(), synset.pointerSources.end(), 0)
            + std::count(synset.pointerSources.begin(), synset.pointerSources.end(), source));
    return standing;
}

const WordNet::Synset& WordNet::synsetOf(const std::string& word, const Sense& sense) const
{
    return m_synsets.at(key(sense.part, m_lemmas.at(word).senses[sense.part][sense.index]));
}

WordNet::Sense WordNet::derivedFrom(
    const std::string& word, const Sense& sense, const std::string& from, int part) const
{
    const auto lemma = m_lemmas.find(from);
    for (const Synset::Derivation& derivation : synsetOf(word, sense).derivations) {
        const auto target = m_synsets.find(derivation.target);
        if (lemma == m_lemmas.end() || int(derivation.target >> 32) != part
            || target == m_synsets.end() || derivation.word < 1
            || size_t(derivation.word) > target->second.words.size()
            || target->second.words[derivation.word - 1] != from)
            continue;
        const auto& senses = lemma->second.senses[part];
        const size_t s
            = size_t(std::find(senses.begin(), senses.end(), std::uint32_t(derivation.target))
                - senses.begin());
        if (s < senses.size())
            return { part, s, lemma->second.counts[part][s], {} };
    }
    return {};
}

WordNet::Sense WordNet::bestSense(const std::string& word, std::uint8_t kinds) const
{
    const auto found = m_lemmas.find(word);
    Sense best;
    // The most used sense; of equally used ones (WordNet's order says little of senses tagged
    // text never uses), the one that reads least as secondary.
    for (int part = 0; found != m_lemmas.end() && part < 4; ++part) {
        if (kinds && !(kinds & partKinds[part]))
            continue;
        const Lemma& lemma = found->second;
        Sense first;
        for (size_t s = 0; s < lemma.senses[part].size(); ++s) {
            if (!lowerCase(word, part, s) || lemma.counts[part][s] < first.count)
                continue;
            const Standing sense = standing(word, part, s);
            if (lemma.counts[part][s] > first.count || sense > first.standing)
                first = { part, s, lemma.counts[part][s], sense };
        }
        if (first.count > best.count
            || (first.count == best.count && first.standing > best.standing))
            best = first;
    }
    return best;
}

std::string WordNet::glossOf(const std::string& word, const Sense& sense) const
{
    if (sense.part < 0)
        return {};
    const auto synset
        = m_synsets.find(key(sense.part, m_lemmas.at(word).senses[sense.part][sense.index]));
    return synset == m_synsets.end() ? std::string() : definitionOf(synset->second.gloss);
}

int WordNet::uses(const std::string& word) const
{
    const auto found = m_lemmas.find(word);
    int uses = 0;
    for (int part = 0; found != m_lemmas.end() && part < 4; ++part)
        for (size_t s = 0; s < found->second.senses[part].size(); ++s)
            uses += lowerCase(word, part, s) ? found->second.counts[part][s] : 0;
    return uses;
}

std::uint8_t WordNet::kinds(const std::string& word) const
{
    const auto found = m_lemmas.find(word);
    if (found == m_lemmas.end() || word.size() == 1)
        return 0;
    std::uint8_t kinds = 0;
    for (int part = 0; part < 4; ++part)
        if (bestSense(word, partKinds[part]).part == part)
            kinds |= partKinds[part];
    // WordNet lists some plurals as nouns of their own (humans, bones, shoes): one that tagged
    // text uses less so than the noun it is the plural of counts as that noun's plural (goods and
    // means stay nouns). Words ending in ss, us or is are not plurals (boss, bus, axis).
    if ((kinds & WordKind::Noun) && !word.ends_with("ss") && !word.ends_with("us")
        && !word.ends_with("is")) {
        for (const Rule& rule : rules[0]) {
            const std::string_view suffix = rule.suffix;
            if (word.size() <= suffix.size() || !word.ends_with(suffix))
                continue;
            const std::string base = word.substr(0, word.size() - suffix.size()) + rule.ending;
            const Sense baseSense = base == word ? Sense() : bestSense(base, WordKind::Noun);
            if (baseSense.part == 0
                && (found->second.tagged[0] == 0
                    || bestSense(word, WordKind::Noun).count < baseSense.count)) {
                kinds &= std::uint8_t(~WordKind::Noun);
                break;
            }
        }
    }
    // A comparative or superlative (slower, longest, better) is an inflection of its adjective,
    // unless tagged text uses it as an adjective or adverb more than the base (modest is not
    // the superlative of mod).
    constexpr std::uint8_t degrees = WordKind::Adjective | WordKind::Adverb;
    if (kinds & degrees) {
        const std::string base = baseIn(word, 2);
        if (!base.empty()
            && bestSense(word, degrees).count <= bestSense(base, WordKind::Adjective).count)
            kinds &= std::uint8_t(~degrees);
    }
    // A participle WordNet also lists as an adjective is the verb's form, as definition() reads
    // it, unless tagged text uses the adjective at least as much as the verb (broken,
    // interesting; filled, married and evoked are forms of fill, marry, evoke). A word with no
    // other kind than a verb's keeps an adjective only if tagged text uses it (not coagulate);
    // beside a noun it stays (manual, capital) if it heads a synset of its own: one that is only
    // a synonym of other adjectives there is a noun's or verb's unused sense (blame, initiative).
    // An irregular participle (burnt) that tagged text uses once as an adjective is the verb's.
    if (kinds & WordKind::Adjective) {
        const Sense sense = bestSense(word, WordKind::Adjective);
        const int adjective = sense.count;
        const std::string verb = word.ends_with("ed") || word.ends_with("ing")
                || word.ends_with("en") || (adjective <= 1 && m_exceptions[1].count(word))
            ? baseIn(word, 1)
            : std::string();
        const Sense verbSense = verb.empty() ? Sense() : bestSense(verb, WordKind::Verb);
        if ((verbSense.part == 1 && verbSense.count > adjective)
            || (adjective == 0 && kinds == (WordKind::Verb | WordKind::Adjective))
            || (adjective == 0 && !sense.standing.head
                && (kinds & (WordKind::Noun | WordKind::Verb))))
            kinds &= std::uint8_t(~WordKind::Adjective);
    }
    return kinds;
}

std::string WordNet::baseIn(const std::string& word, int part) const
{
    const auto isLemma = [&](const std::string& base) {
        const auto found = m_lemmas.find(base);
        return base != word && found != m_lemmas.end() && !found->second.senses[part].empty();
    };
    const auto [first, last] = m_exceptions[part].equal_range(word);
    for (auto it = first; it != last; ++it)
        if (isLemma(it->second))
            return it->second;
    for (const Rule& rule : rules[part]) {
        const std::string_view suffix = rule.suffix;
        if (word.size() > suffix.size() && word.ends_with(suffix)) {
            const std::string base = word.substr(0, word.size() - suffix.size()) + rule.ending;
            if (isLemma(base))
                return base;
        }
    }
    return {};
}

int WordNet::level(const std::string& word) const
{
    const auto found = m_levels ? m_levels->find(word) : Levels::const_iterator();
    return m_levels && found != m_levels->end() ? found->second : 100;
}

std::pair<std::string, int> WordNet::derivedBase(const std::string& word) const
{
    for (const Derivation& rule : derivations) {
        const std::string_view suffix = rule.suffix;
        if (word.size() < suffix.size() + 3 || !word.ends_with(suffix))
            continue;
        const std::string stem = word.substr(0, word.size() - suffix.size()) + rule.ending;
        const std::uint8_t kind = partKinds[rule.part];
        // The stem may itself be inflected (routinizes: routinize).
        const std::string base
            = bestSense(stem, kind).part == rule.part ? stem : baseIn(stem, rule.part);
        if (!base.empty() && bestSense(base, kind).part == rule.part)
            return { base, rule.part };
    }
    return {};
}

std::string WordNet::baseForm(const std::string& word) const
{
    if (kinds(word))
        return {};
    for (int part = 0; part < 4; ++part)
        if (std::string base = baseIn(word, part); !base.empty())
            return base;
    return {};
}

std::string WordNet::defined(const std::string& word, const Sense& sense, std::uint8_t* topic) const
{
    // The files of a part of speech (adjectives, adverbs) hold no topic.
    const auto topicOf = [&](int part, size_t s) {
        const int file = topicFile(key(part, m_lemmas.at(word).senses[part][s]));
        return file < 0 || file >= Topic::count || !Topic::holds[file] ? 0 : std::uint8_t(file + 1);
    };
    if (topic && sense.part >= 0) {
        *topic = topicOf(sense.part, sense.index);
        // A sense another word heads, chosen among senses of the same part that tagged text uses
        // as much and that read no more as secondary (a more common synonym aside), could as well
        // be another one: where fewer than half of them share its topic, the topic is a guess
        // (quarry: the prey, the pit or a victim), and the word has none rather than a doubtful
        // one. A sense the word heads is its own (shrimp the animal, not the food or a runt).
        const Lemma& lemma = m_lemmas.at(word);
        const int marks = sense.standing.marks - sense.standing.rarer;
        int senses = 0, same = 0;
        for (size_t s = 0; s < lemma.senses[sense.part].size(); ++s)
            if (lowerCase(word, sense.part, s) && lemma.counts[sense.part][s] >= sense.count) {
                const Standing other = standing(word, sense.part, s);
                const bool rival = s == sense.index || other.marks - other.rarer <= marks;
                senses += rival;
                same += rival && topicOf(sense.part, s) == *topic;
            }
        if (!sense.standing.head && 2 * same < senses)
            *topic = 0;
    } else if (topic)
        *topic = 0;
    return glossOf(word, sense);
}

int WordNet::topicFile(std::uint64_t synsetKey) const
{
    // The nearest of these above a synset of the file named (or of the animals' file, whose
    // parts of animals lie under the body's synsets) gives the topic's file, or none (-1):
    // coastline under outline and boundary, a place; underside under side, surface and
    // boundary, none; harbor under port, geographic_point and point, a place; claws and feathers
    // under body_part or body_covering, the body; flattop under haircut, hairdo and hair, none;
    // algae and bacteria under microorganism, none. A bound on the steps keeps a malformed file
    // from looping.
    constexpr int animals = 5, body = 8, places = 15;
    constexpr std::tuple<int, const char*, int> roots[] = { { places, "line", -1 },
        { places, "surface", -1 }, { places, "point", -1 }, { places, "extremity", -1 },
        { places, "geographic_point", places }, { places, "boundary", places },
        { places, "post", places }, { body, "hairdo", -1 }, { body, "body_part", body },
        { body, "body_covering", body }, { animals, "microorganism", -1 } };
    const auto start = m_synsets.find(synsetKey);
    if (start == m_synsets.end())
        return -1;
    const int own = start->second.lexFile;
    for (int step = 0; step < 40; ++step) {
        const auto synset = m_synsets.find(synsetKey);
        if (synset == m_synsets.end() || synset->second.words.empty())
            break;
        for (const auto& [lexFile, name, file] : roots)
            if (synset->second.lexFile == lexFile && synset->second.words.front() == name
                && (own == lexFile || own == animals))
                return file;
        if (synset->second.hypernyms.empty())
            break;
        synsetKey = synset->second.hypernyms.front();
    }
    return own;
}

std::string WordNet::definition(
    const std::string& word, std::uint8_t kinds, std::uint8_t* topic) const
{
    if (topic)
        *topic = 0;
    const std::string base = baseForm(word);
    const Sense own = base.empty() ? bestSense(word, kinds) : Sense();
    // A participle that WordNet also lists as an adjective (assuming, threatening) is read as the
    // verb's form when tagged text uses the verb more.
    // An untagged noun in -ing that names an act, event or process is the verb's form: the
    // sense of the verb WordNet derives it from (outfitting), else the verb's most used sense
    // when tagged text uses it (stopping).
    constexpr int acts = 4, events = 11, processes = 22;
    if (own.part == 0 && own.count == 0 && !kinds && word.ends_with("ing")
        && (synsetOf(word, own).lexFile == acts || synsetOf(word, own).lexFile == events
            || synsetOf(word, own).lexFile == processes)) {
        const std::string verb = baseIn(word, 1);
        Sense from = derivedFrom(word, own, verb, 1);
        if (const Sense used = bestSense(verb, WordKind::Verb); from.part < 0 && used.count > 0)
            from = used;
        if (from.part == 1)
            return verb + ": " + defined(verb, from, topic);
    }
    const bool participle = own.part == 2 && !kinds;
    if (!base.empty() || participle) {
        // The base's sense in the part of speech the inflection comes from; of several (draws: a
        // noun's plural or a verb's form), the most used.
        std::string bestBase;
        Sense best;
        for (int part = participle ? 1 : 0; part < (participle ? 2 : 4); ++part) {
            if (kinds && !(kinds & partKinds[part]))
                continue;
            const std::string from = baseIn(word, part);
            const Sense sense = from.empty() ? Sense() : bestSense(from, partKinds[part]);
            if (sense.part >= 0
                && (sense.count > best.count
                    || (sense.count == best.count && sense.standing > best.standing))) {
                best = sense;
                bestBase = from;
            }
        }
        if (best.part >= 0 && best.count > own.count) {
            const std::string text = defined(bestBase, best, topic);
            return text.empty() ? text : bestBase + ": " + text;
        }
    }
    // A word WordNet lacks, derived from one it has, takes that lemma's sense as an inflection
    // does, but no topic: it is another part of speech.
    if (own.part < 0 && base.empty() && !kinds) {
        const auto [lemma, part] = derivedBase(word);
        const std::string text = lemma.empty()
            ? std::string()
            : defined(lemma, bestSense(lemma, partKinds[part]), nullptr);
        return text.empty() ? text : lemma + ": " + text;
    }
    return own.part < 0 && kinds ? definition(word, 0, topic) : defined(word, own, topic);
}

std::vector<std::pair<std::uint8_t, std::string>> WordNet::kindDefinitions(
    const std::string& word) const
{
    if (!baseForm(word).empty())
        return {};
    std::vector<std::pair<Sense, std::string>> senses;
    const std::uint8_t kinds = this->kinds(word);
    for (int part = 0; part < 4; ++part)
        if (const Sense sense = bestSense(word, partKinds[part]);
            sense.part == part && (kinds & partKinds[part]))
            senses.emplace_back(sense, glossOf(word, sense));
    if (senses.size() < 2)
        return {};
    std::stable_sort(senses.begin(), senses.end(),
        [](const auto& a, const auto& b) { return a.first.count > b.first.count; });
    std::vector<std::pair<std::uint8_t, std::string>> definitions;
    for (const auto& [sense, text] : senses)
        definitions.emplace_back(partKinds[sense.part], text);
    return definitions;
}

template <typename Marked>
bool WordNet::lemmaMarked(const std::string& word, bool anySense, Marked marked) const
{
    const auto found = m_lemmas.find(word);
    if (found == m_lemmas.end())
        return false;
    const Sense main = bestSense(word, 0);
    int senses = 0;
    int labelled = 0;
    bool first = false;
    // The main sense is the one definitions take, or, of senses as much used, the first WordNet
    // lists in its part: a sense labelled obscene reads as secondary to a definition, not to a
    // reader.
    for (int part = 0; part < 4; ++part)
        for (size_t s = 0, listed = 0; s < found->second.senses[part].size(); ++s) {
            if (!lowerCase(word, part, s))
                continue;
            const bool isMarked = marked(key(part, found->second.senses[part][s]));
            ++senses;
            labelled += isMarked;
            first = first
                || (isMarked
                    && ((part == main.part && s == main.index)
                        || (listed == 0 && found->second.counts[part][s] == main.count)));
            ++listed;
        }
    return first || 2 * labelled > senses || (anySense && labelled > 0);
}

bool WordNet::offensive(const std::string& word, bool anySense) const
{
    const auto marked = [&](const std::string& lemma) {
        return lemmaMarked(lemma, anySense, [&](std::uint64_t synset) {
            return m_synsets.at(synset).offensiveGloss
                || m_offensiveSenses.count(lemma + '\t' + std::to_string(synset));
        });
    };
    const std::string base = baseForm(word);
    return marked(word) || (!base.empty() && marked(base));
}

bool WordNet::classroom(const std::string& word, bool anySense) const
{
    const auto marked = [&](const std::string& lemma) {
        return lemmaMarked(
            lemma, anySense, [&](std::uint64_t synset) { return m_synsets.at(synset).classroom; });
    };
    const std::string base = baseForm(word);
    return marked(word) || (!base.empty() && marked(base));
}
