#include "Topics.h"

#include "WordNet.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

Topics::Topics(const std::string& folder)
{
    constexpr const char* parts[] = { "noun", "verb", "adj", "adv" };
    for (std::uint64_t part = 0; part < 4; ++part) {
        const std::string data = folder + "/data." + parts[part];
        std::ifstream file = WordNetFiles::openFile(data);
        std::string line;
        while (std::getline(file, line)) {
            if (line.empty() || line[0] == ' ')
                continue;
            const size_t bar = line.find(" | ");
            std::istringstream fields(line);
            std::uint32_t offset = 0;
            int lexFile = -1;
            fields >> offset >> lexFile;
            m_synsets[part << 32 | offset] = { lexFile,
                bar == std::string::npos ? std::string()
                                         : WordNetFiles::definitionOf(line.substr(bar + 3)) };
        }
        if (file.bad())
            throw std::runtime_error("cannot read " + data + ": " + std::strerror(errno));
        const std::string index = folder + "/index." + parts[part];
        file = WordNetFiles::openFile(index);
        while (std::getline(file, line)) {
            if (line.empty() || line[0] == ' ')
                continue;
            std::istringstream fields(line);
            std::string lemma, pos, pointer;
            int synsets = 0, pointers = 0, senses = 0, tagged = 0;
            fields >> lemma >> pos >> synsets >> pointers;
            for (int i = 0; i < pointers; ++i)
                fields >> pointer;
            fields >> senses >> tagged;
            std::vector<std::uint64_t>& keys = m_lemmas[lemma];
            std::uint32_t offset = 0;
            for (int i = 0; i < synsets && fields >> offset; ++i)
                keys.push_back(part << 32 | offset);
        }
        if (file.bad())
            throw std::runtime_error("cannot read " + index + ": " + std::strerror(errno));
    }
}

std::uint8_t Topics::among(const std::string& lemma, const std::string& definition) const
{
    const auto found = m_lemmas.find(lemma);
    if (found == m_lemmas.end())
        return 0;
    for (const std::uint64_t key : found->second) {
        const auto synset = m_synsets.find(key);
        if (synset != m_synsets.end() && synset->second.second == definition
            && synset->second.first >= 0 && synset->second.first < 255)
            return std::uint8_t(synset->second.first + 1);
    }
    return 0;
}

std::uint8_t Topics::of(const std::string& word, const std::string& definition) const
{
    if (definition.empty())
        return 0;
    if (const std::uint8_t own = among(word, definition))
        return own;
    const size_t colon = definition.find(": ");
    return colon == std::string::npos
        ? 0
        : among(definition.substr(0, colon), definition.substr(colon + 2));
}
