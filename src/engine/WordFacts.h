#pragma once

#include <QtGlobal>
#include <algorithm>
#include <iterator>

// What the word database knows of a word besides its text; eight bytes, so that the facts of every
// word load as one block.
struct WordFacts
{
    // SCOWL's size level, from 10 (the most common words) to 95 (the rarest); 0 for a word that
    // SCOWL does not hold.
    quint8 level = 0;
    // WordKind bits: the parts of speech the word has as a dictionary form. An inflected form
    // (apples, walked) has none.
    quint8 kinds = 0;
    // Spelling bits: the national word lists that hold the word.
    quint8 spellings = 0;
    // WordMark bits: the marks that leave the word out unless they are let in.
    quint8 offensive = 0;
    // The Topic of the word's main sense (that of its definition); 0 for none known.
    quint8 topic = 0;
    // Syllables, from the pronouncing dictionary or estimated from the spelling; 0 for none known.
    quint8 syllables = 0;
    // The rhyme ending of the word's pronunciation (its sounds from the last stressed vowel on),
    // as an id the database gives each ending; 0 for a word without a pronunciation.
    quint16 rhyme = 0;
};
static_assert(sizeof(WordFacts) == 8, "the pack's layout holds eight bytes of facts per word");

// The topics of WordNet's lexicographer files, in the files' order from 1 (adj.all is 1): each
// one named as a user would ask for it, the verbs' topics mostly in -ing, and what it holds. The
// files of a part of speech (adjectives, adverbs, participles, the nouns at the top of the
// hierarchy) are no topic: they hold nothing, and no word is given them.
namespace Topic {
constexpr const char* names[] = { "adjective", "relational", "adverb", "general", "action",
    "animal", "object", "quality", "body", "thought", "communication", "event", "feeling", "food",
    "group", "place", "motive", "nature", "person", "phenomenon", "plant", "possession", "process",
    "quantity", "relation", "shape", "state", "substance", "time", "bodily", "changing", "thinking",
    "talking", "competing", "consuming", "touching", "making", "emoting", "moving", "perceiving",
    "owning", "socializing", "being", "weather", "participle" };
constexpr int count = int(std::size(names));
constexpr const char* holds[count] = { nullptr, nullptr, nullptr, nullptr,
    "acts and actions (a run, payment)", "animals", "things people make (tool, house, shirt)",
    "qualities (beauty, speed)", "the body and its parts", "thinking and knowledge (idea, science)",
    "language and messages (word, letter, song)", "happenings (party, accident)",
    "feelings (joy, fear)", "food and drink", "groups (team, family)", "places (city, coast)",
    "goals and reasons", "natural things (rock, star, river)", "people (teacher, friend)",
    "natural happenings (rain, light)", "plants", "money and belongings",
    "processes (growth, decay)", "amounts and measures (dozen, mile)",
    "relations (part, connection)", "shapes (circle, line)", "conditions (health, peace)",
    "substances (water, iron)", "times (day, hour)", "verbs of the body (sleep, wash, dress)",
    "verbs of change (grow, break)", "verbs of thinking (know, decide)",
    "verbs of talking and writing (say, ask)", "verbs of contest and fighting (win, attack)",
    "verbs of eating and using (eat, spend)", "verbs of touching and handling (hit, hold)",
    "verbs of making (build, paint)", "verbs of feeling (love, fear)",
    "verbs of moving (walk, fly)", "verbs of the senses (see, hear)",
    "verbs of having and trading (buy, give)", "verbs of living with others (meet, vote)",
    "verbs of being (be, seem)", "verbs of weather (rain, snow)", nullptr };
constexpr int chosen = int(
    std::count_if(std::begin(holds), std::end(holds), [](const char* h) { return h != nullptr; }));
}

// The marks of WordFacts::offensive: offensive (slurs, obscenities), or not for a class (sex,
// drugs slang, self-harm, insults built on a condition) without being offensive.
namespace WordMark {
enum : quint8
{
    Offensive = 1,
    Classroom = 2
};
}

namespace WordKind {
enum : quint8
{
    Noun = 1,
    Verb = 2,
    Adjective = 4,
    Adverb = 8
};
}

namespace Spelling {
enum : quint8
{
    American = 1,
    British = 2,
    Canadian = 4
};
}

// The highest SCOWL level of each commonness tier.
namespace LevelTier {
constexpr int everyday = 20;
constexpr int common = 35;
}

// The compact copy of the word table that the word database keeps in table word_pack, column
// data: a header of five little-endian 32-bit values (magic, version, word count, text size in
// 16-bit units, flags), count + 1 offsets into the text, the words' text in UTF-16 (little-endian)
// one after another, so that a word is read in place, and with the Facts flag the eight bytes of
// WordFacts per word.
namespace WordPack {
constexpr quint32 magic = 0x50575654; // "TVWP"
constexpr quint32 version = 4;
constexpr quint32 hasFacts = 1;
constexpr int headerSize = 20;
// The triggers on table words that drop the copy at any change of the table's rows; the copy is
// read only while all three stand, as written here, so that it never outlives its table.
constexpr const char* staleTriggers[] = {
    "CREATE TRIGGER word_pack_stale_INSERT AFTER INSERT ON words BEGIN DELETE FROM word_pack; END",
    "CREATE TRIGGER word_pack_stale_UPDATE AFTER UPDATE ON words BEGIN DELETE FROM word_pack; END",
    "CREATE TRIGGER word_pack_stale_DELETE AFTER DELETE ON words BEGIN DELETE FROM word_pack; END",
};
}
