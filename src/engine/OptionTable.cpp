#include "engine/OptionTable.h"

#include "engine/AcceptanceRules.h"
#include "engine/NumericText.h"

#include <QStringList>
#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace OptionTable {

namespace {

    using O = OptionIds;

    qsizetype length(const QString& value)
    {
        return qsizetype(wholeNumber(value, quint64(std::numeric_limits<qsizetype>::max())));
    }

    // POS:WHAT, POS a whole number from 1 or "last", WHAT "vowel", "consonant" or one letter.
    LetterRule letterRule(const QString& text)
    {
        const qsizetype colon = text.indexOf(u':');
        const QString position = text.left(colon);
        const QString what = text.mid(colon + 1);
        LetterRule rule;
        bool ok = colon > 0;
        if (ok && position != QLatin1String("last")) {
            const auto number = NumericText::digitsValue(position, std::numeric_limits<int>::max());
            ok = number && *number >= 1;
            rule.position = int(number.value_or(0));
        }
        if (what == QLatin1String("vowel")) {
            rule.kind = LetterRule::Vowel;
        } else if (what == QLatin1String("consonant")) {
            rule.kind = LetterRule::Consonant;
        } else {
            rule.kind = LetterRule::Letter;
            rule.letter = what;
            ok = ok && AcceptanceRules::characterCount(what) == 1;
        }
        if (!ok)
            throw RuleError(
                QStringLiteral("needs POS:WHAT (POS a whole number from 1 or 'last'; WHAT "
                               "'vowel', 'consonant' or one letter), not '%1'")
                    .arg(text));
        return rule;
    }

    // Level values: the highest SCOWL level of a tier, or -1 for any level.
    constexpr Choice levels[] = {
        { 1, "everyday words", "everyday", LevelTier::everyday },
        { 2, "common words", "common", LevelTier::common },
        { 0, "any level", "any", -1 },
    };
    constexpr Choice kinds[] = {
        { 0, "any kind", nullptr, 0 },
        { 1, "nouns", "noun", WordKind::Noun },
        { 2, "verbs", "verb", WordKind::Verb },
        { 3, "adjectives", "adjective", WordKind::Adjective },
        { 4, "adverbs", "adverb", WordKind::Adverb },
    };
    constexpr Choice spellings[] = {
        { 0, "American spelling", "us", Spelling::American },
        { 1, "British spelling", "gb", Spelling::British },
        { 2, "Canadian spelling", "ca", Spelling::Canadian },
        { 3, "any spelling", "any", 0 },
    };

    // Topic values: WordFacts::topic, 0 for any topic; listed in the order of their names, so
    // that a user finds one among the 40.
    constexpr auto topics = [] {
        std::array<Choice, Topic::chosen + 1> choices {};
        choices[0] = { 0, "any topic", nullptr, 0 };
        size_t next = 1;
        for (int t = 1; t <= Topic::count; ++t) {
            if (!Topic::holds[t - 1])
                continue;
            int entry = 1;
            for (int other = 0; other < Topic::count; ++other)
                entry += Topic::holds[other]
                    && std::string_view(Topic::names[other])
                        < std::string_view(Topic::names[t - 1]);
            choices[next++] = { entry, Topic::names[t - 1], Topic::names[t - 1], t };
        }
        return choices;
    }();
    // What the window leaves out: rule 0 every marked word, 1 offensive words, 2 none.
    constexpr Choice leftOut[] = {
        { 0, "No offensive or mature words", nullptr, 0 },
        { 1, "No offensive words", nullptr, 1 },
        { 2, "All words", nullptr, 2 },
    };
    // The window's syllable counts: the number, the last one or more; 0 for any.
    constexpr int mostSyllablesShown = 6;
    constexpr Choice syllableCounts[] = {
        { 0, "any syllables", nullptr, 0 },
        { 1, "1 syllable", nullptr, 1 },
        { 2, "2 syllables", nullptr, 2 },
        { 3, "3 syllables", nullptr, 3 },
        { 4, "4 syllables", nullptr, 4 },
        { 5, "5 syllables", nullptr, 5 },
        { 6, "6+ syllables", nullptr, mostSyllablesShown },
    };

    // N or N-M, whole numbers from 1 with N at most M.
    void setSyllables(WordRules& rules, const QString& text)
    {
        const qsizetype dash = text.indexOf(u'-');
        const auto bound = [](const QString& part) {
            const auto number = NumericText::digitsValue(part, 255);
            return number && *number >= 1 ? std::optional<int>(int(*number)) : std::nullopt;
        };
        const std::optional<int> low = bound(text.left(dash));
        const std::optional<int> high = dash < 0 ? low : bound(text.mid(dash + 1));
        if (!low || !high || *high < *low)
            throw RuleError(QStringLiteral("needs N or N-M (whole numbers from 1 to 255, N at most "
                                           "M), not '%1'")
                                .arg(text));
        rules.minSyllables = low;
        rules.maxSyllables = high;
    }

    // Choices that set no rule, for completion.
    constexpr Choice shells[] = { { 0, "bash", "bash", 0 } };
    using Case = GenerationOptions::WordCase;
    constexpr Choice cases[] = {
        { 0, "lower", "lower", int(Case::Lower) },
        { 1, "upper", "upper", int(Case::Upper) },
        { 2, "title", "title", int(Case::Proper) },
        { 3, "first", "first", int(Case::First) },
    };

    const Row table[] = {
        { .id = O::HowMany,
            .key = "How Many",
            .defaultValue = "100",
            .control = Control::Text,
            .controlName = "Text1",
            .accessibleName = "Number of words",
            .accessibleDescription = "How many words to generate, up to 100000",
            .name = "count",
            .shortName = 'n',
            .valueName = "N",
            .help = "Write N words (default 10)." },
        { .id = O::MinLength,
            .key = "Text2",
            .defaultValue = "2",
            .control = Control::Text,
            .controlName = "Text2",
            .recounts = true,
            .accessibleName = "Minimum characters",
            .accessibleDescription
            = "The fewest characters a word may have, when its box is ticked",
            .name = "min",
            .valueName = "N",
            .help = "Only words of at least N characters.",
            .setRule
            = [](GenerationOptions& o, const QString& v) { o.rules.minLength = length(v); } },
        { .id = O::MaxLength,
            .key = "Text6",
            .defaultValue = "4",
            .control = Control::Text,
            .controlName = "Text6",
            .recounts = true,
            .accessibleName = "Maximum characters",
            .accessibleDescription = "The most characters a word may have, when its box is ticked",
            .name = "max",
            .valueName = "N",
            .help = "Only words of at most N characters (not below --min).",
            .setRule =
                [](GenerationOptions& o, const QString& v) {
                    o.rules.maxLength = length(v);
                    // A maximum below the minimum is a slip, not a rule: say so rather than match
                    // nothing.
                    if (o.rules.minLength && *o.rules.maxLength < *o.rules.minLength)
                        throw RuleError(QStringLiteral("%1 is below --min %2")
                                            .arg(*o.rules.maxLength)
                                            .arg(*o.rules.minLength));
                } },
        { .id = O::StartLetter,
            .key = "Start Letter",
            .defaultValue = "a",
            .control = Control::Text,
            .controlName = "Text3",
            .recounts = true,
            .accessibleName = "First character",
            .accessibleDescription
            = "The character every word must start with, when its box is ticked",
            .name = "start",
            .valueName = "TEXT",
            .help = "Only words that start with TEXT, compared lower-cased.",
            .setRule = [](GenerationOptions& o, const QString& v) { o.rules.start = v; } },
        { .id = O::EndLetter,
            .key = "End Letter",
            .defaultValue = "a",
            .control = Control::Text,
            .controlName = "Text4",
            .recounts = true,
            .accessibleName = "Last character",
            .accessibleDescription
            = "The character every word must end with, when its box is ticked",
            .name = "end",
            .valueName = "TEXT",
            .help = "Only words that end with TEXT, compared lower-cased.",
            .setRule = [](GenerationOptions& o, const QString& v) { o.rules.end = v; } },
        { .id = O::LetterRule,
            .key = "Check4",
            .defaultValue = "0",
            .control = Control::Check,
            .controlName = "Check4",
            .recounts = true,
            .accessibleName = "Letter rule",
            .accessibleDescription = "Words must have the chosen letter at the chosen position",
            .name = "letter",
            .valueName = "POS:WHAT",
            .help = "Only words whose letter at POS (a whole number from 1, or last; the last "
                    "letter for a shorter word) is WHAT: vowel, consonant or one letter; "
                    "repeated, all must hold.",
            .repeat = Repeat::AllHold,
            .setRule = [](GenerationOptions& o,
                           const QString& v) { o.rules.letters.push_back(letterRule(v)); } },
        { .id = O::Commonness,
            .key = "Commonness",
            .defaultValue = "0",
            .control = Control::List,
            .controlName = "Combo4",
            .recounts = true,
            .accessibleName = "Commonness level",
            .accessibleDescription = "How common the words must be: everyday words are the most "
                                     "common, common words take in more",
            .choices = levels,
            .fact = "level",
            .name = "level",
            .valueName = "LEVEL",
            .help = "Only words of the commonness LEVEL: everyday, common or any (default).",
            .setChoice =
                [](WordRules& rules, int rule) {
                    rules.maxLevel = rule < 0 ? std::nullopt : std::optional<int>(rule);
                } },
        { .id = O::Kind,
            .key = "Kind",
            .defaultValue = "0",
            .control = Control::List,
            .controlName = "Combo5",
            .recounts = true,
            .accessibleName = "Word kind",
            .accessibleDescription = "The part of speech the words must have, in its dictionary "
                                     "form: apple, not apples",
            .choices = kinds,
            .fact = "kinds",
            .name = "kind",
            .valueName = "KIND",
            .help = "Only dictionary forms of the part of speech KIND: noun, verb, adjective or "
                    "adverb; repeated, any of them.",
            .repeat = Repeat::AnyHolds,
            .setChoice = [](WordRules& rules, int rule) { rules.kinds |= quint8(rule); } },
        { .id = O::Spellings,
            .key = "Spelling",
            .defaultValue = "0",
            .control = Control::List,
            .controlName = "Combo6",
            .recounts = true,
            .accessibleName = "Spelling",
            .accessibleDescription
            = "Whose spelling the words follow: American, British or Canadian",
            .choices = spellings,
            .fact = "spellings",
            .name = "spelling",
            .valueName = "SPELLING",
            .help = "Only words of the SPELLING: us (default), gb, ca or any.",
            .setChoice = [](WordRules& rules, int rule) { rules.spellings = quint8(rule); } },
        // Its default comes from the list of before, stored under another key.
        { .id = O::Topic,
            .key = "Word Topic",
            .control = Control::List,
            .controlName = "Combo7",
            .recounts = true,
            .accessibleName = "Topic",
            // The order is said: typing a letter goes to the next entry that begins with it.
            .accessibleDescription = "What the words must be about in their main sense: animals, "
                                     "food, objects, places and more, in alphabetical order",
            .choices = topics,
            .fact = "topic",
            .name = "topic",
            .valueName = "TOPIC",
            .help = "Only words whose main sense is of the TOPIC, one of those listed below; "
                    "repeated, any of them.",
            .repeat = Repeat::AnyHolds,
            .setChoice
            = [](WordRules& rules,
                  int rule) { rules.topics = rule ? rules.topics | quint64(1) << rule : 0; } },
        { .id = O::Syllables,
            .key = "Syllables",
            .defaultValue = "0",
            .control = Control::List,
            .controlName = "Combo8",
            .recounts = true,
            .accessibleName = "Syllables",
            .accessibleDescription = "How many syllables the words must have",
            .choices = syllableCounts,
            .fact = "syllables",
            .name = "syllables",
            .valueName = "N[-M]",
            .help
            = "Only words of N syllables, or of N to M, by the CMU Pronouncing Dictionary or, "
              "for a word it lacks, by the word it is a form of or by espeak-ng.",
            .setRule = [](GenerationOptions& o, const QString& v) { setSyllables(o.rules, v); },
            .setChoice =
                [](WordRules& rules, int rule) {
                    rules.minSyllables = rule ? std::optional<int>(rule) : std::nullopt;
                    rules.maxSyllables = rule && rule < mostSyllablesShown
                        ? std::optional<int>(rule)
                        : std::nullopt;
                } },
        { .id = O::CommandLineOnly,
            .fact = "rhyme",
            .name = "rhymes-with",
            .valueName = "WORD",
            .help = "Only words that rhyme with WORD, any word of the list or of the CMU "
                    "Pronouncing Dictionary: the same sounds from the last stressed vowel on.",
            .setRule = [](GenerationOptions& o, const QString& v) { o.rules.rhymesWith = v; } },
        // Its default comes from the tick box that stood here before, under another key.
        { .id = O::LeaveOutOffensive,
            .key = "Leave Out",
            .control = Control::List,
            .controlName = "Combo10",
            .recounts = true,
            .accessibleName = "Leave out",
            .accessibleDescription = "Leaves out words marked offensive (slurs, obscene or "
                                     "disparaging) and words not for a class",
            .choices = leftOut,
            .name = "offensive",
            .help = "Also draw words marked offensive and words not for a class, left out by "
                    "default.",
            .setRule = [](GenerationOptions& o, const QString&) { o.rules.allowOffensive = true; },
            .setChoice =
                [](WordRules& rules, int rule) {
                    rules.allowMature = rule >= 1;
                    rules.allowOffensive = rule == 2;
                } },
        { .id = O::CommandLineOnly,
            .name = "mature",
            .help
            = "Also draw words not for a class (sex, drugs slang, self-harm, insults built on "
              "a condition), left out by default; offensive words stay out.",
            .setRule = [](GenerationOptions& o, const QString&) { o.rules.allowMature = true; } },
        { .id = O::UpperCaseFirst,
            .key = "Check1",
            .defaultValue = "0",
            .control = Control::Check,
            .controlName = "Check1",
            // Proper case can make two words one output, which changes what a word is worth.
            .recounts = true,
            .name = "proper",
            .help = "Write each word in proper case.",
            .setRule = [](GenerationOptions& o, const QString&) { o.properCase = true; } },
        { .id = O::CommandLineOnly,
            .name = "has",
            .valueName = "LETTERS",
            .help = "Only words that hold each of LETTERS somewhere, compared lower-cased.",
            .setRule = [](GenerationOptions& o, const QString& v) { o.rules.has = v; } },
        { .id = O::CommandLineOnly,
            .name = "lacks",
            .valueName = "LETTERS",
            .help = "Only words that hold none of LETTERS, compared lower-cased.",
            .setRule = [](GenerationOptions& o, const QString& v) { o.rules.lacks = v; } },
        { .id = O::CommandLineOnly,
            .name = "pattern",
            .valueName = "P",
            .help = "Only words that P matches whole, compared lower-cased: ? or _ stands for one "
                    "character, * for any run of characters (none included).",
            .setRule =
                [](GenerationOptions& o, const QString& v) {
                    // An empty pattern would match only the empty word: a slip, not a rule.
                    if (v.isEmpty())
                        throw RuleError(QStringLiteral("needs a pattern such as c?t or un*able"));
                    o.rules.pattern = v;
                } },
        { .id = O::CommandLineOnly,
            .fact = "definitions",
            .name = "define",
            .help = "Follow each word with a tab and its definition." },
        { .id = O::CommandLineOnly,
            .name = "json",
            .help = "Write a JSON array, one object a word: the word and, where known, its level, "
                    "kinds, spellings, topic, syllables, definition and mark (offensive or "
                    "mature); of a composed output (--digits, --symbols, --max-length, --case "
                    "first), one string." },
        { .id = O::CommandLineOnly,
            .name = "separator",
            .shortName = 's',
            .valueName = "TEXT",
            .help = "Put TEXT between words, byte for byte (default a line feed); the output ends "
                    "with a line feed." },
        { .id = O::CommandLineOnly,
            .name = "output",
            .shortName = 'o',
            .valueName = "FILE",
            .help = "Write to FILE as the shell's > would (- for standard output); an existing "
                    "regular file is replaced only when the run succeeds." },
        { .id = O::CommandLineOnly,
            .name = "seed",
            .valueName = "N",
            .help = "Seed the random numbers with N: the same seed, word list and options give the "
                    "same words; for tests and examples, never for secrets (default the system's "
                    "random source)." },
        { .id = O::CommandLineOnly, .name = "unique", .help = "Write no text twice." },
        { .id = O::CommandLineOnly,
            .name = "exclude",
            .valueName = "FILE",
            .help = "Leave out the words FILE holds, one a line, compared as --unique compares; "
                    "repeated, the words of every FILE.",
            .repeat = Repeat::AllHold },
        { .id = O::CommandLineOnly,
            .name = "words",
            .valueName = "FILE",
            .help = "Draw from FILE, a UTF-8 word list, one word a line." },
        { .id = O::Language,
            .key = "Language",
            .defaultValue = "en",
            .control = Control::List,
            .controlName = "Combo9",
            .recounts = true,
            .accessibleName = "Language",
            .accessibleDescription = "The language of the words, among those installed with the "
                                     "program",
            .name = "language",
            .valueName = "CODE",
            .help = "Draw words of the language CODE, one of those installed and listed below: en "
                    "(default), de, fr...; list writes each installed language with the facts its "
                    "words carry (a JSON array with --json)." },
        { .id = O::CommandLineOnly,
            .name = "database",
            .valueName = "FILE",
            .help = "Draw from FILE, an SQLite word database (default the dbWords.mdb installed "
                    "with the program)." },
        { .id = O::CommandLineOnly,
            .name = "count-matches",
            .help = "Write only the number of words that meet the rules." },
        { .id = O::CommandLineOnly,
            .name = "entropy",
            .help = "Write on standard error how many bits of entropy the output carries." },
        { .id = O::CommandLineOnly,
            // Its words are everyday words.
            .fact = "level",
            .name = "passphrase",
            .help = "Six different everyday words separated by blanks, with their entropy "
                    "(options given as well take precedence)." },
        { .id = O::CommandLineOnly,
            .name = "outputs",
            .shortName = 'k',
            .valueName = "K",
            .help = "Write K outputs to choose from, one a line, each drawn as one output is "
                    "(--unique within each, --entropy of one); the words of each separated by a "
                    "blank unless --separator says otherwise; with --json an array of K outputs." },
        { .id = O::CommandLineOnly,
            .name = "template",
            .valueName = "TEXT",
            .help
            = "Write TEXT with each slot filled by a word that meets it and every other rule: "
              "{noun}, {verb}, {adjective}, {adverb}, a topic of --topic ({animal}, "
              "{food}...), {digit} or {symbol}; {{ and }} write braces. Every different text is "
              "equally likely: --template '{adjective}-{animal}', --template "
              "'{adverb}-{verb}-{noun}'." },
        { .id = O::CommandLineOnly,
            .name = "acrostic",
            .valueName = "WORD",
            .help = "One word for each letter of WORD, starting with it, compared lower-cased "
                    "(--acrostic tree); separated by --separator (default a line feed, a blank "
                    "with --outputs)." },
        { .id = O::CommandLineOnly,
            .choices = cases,
            .name = "case",
            .valueName = "CASE",
            .help = "Write the words in CASE: lower, upper, title (as --proper) or first (the "
                    "first word in title case, the others lower case).",
            .setRule =
                [](GenerationOptions& o, const QString& v) {
                    const auto found = std::find_if(std::begin(cases), std::end(cases),
                        [&v](const Choice& c) { return v == QLatin1String(c.name); });
                    if (found == std::end(cases))
                        throw RuleError(
                            QStringLiteral("needs lower, upper, title or first, not '%1'").arg(v));
                    o.wordCase = Case(found->rule);
                } },
        { .id = O::CommandLineOnly,
            .name = "digits",
            .valueName = "N",
            .help = "Add N digits, each right after a word: words and additions in a uniformly "
                    "random order, a word first." },
        { .id = O::CommandLineOnly,
            .name = "symbols",
            .valueName = "N",
            .help = "Add N symbols from !#$%&*+=?@^~ as --digits adds digits." },
        { .id = O::CommandLineOnly,
            .name = "max-length",
            .valueName = "N",
            .help = "Only outputs of at most N characters, the final line feed aside: drawn with "
                    "every output that fits equally likely, never cut." },
        { .id = O::CommandLineOnly,
            .choices = shells,
            .name = "completion",
            .valueName = "SHELL",
            .help = "Write a script that completes this program's options and their choices in "
                    "SHELL: bash." },
        { .id = O::CommandLineOnly, .name = "help", .shortName = 'h', .help = "Show this help." },
        { .id = O::CommandLineOnly, .name = "version", .help = "Show the version." },
        // The window's alone.
        { .id = O::Folder,
            .key = "Text5",
            .control = Control::Text,
            .controlName = "Text5",
            .accessibleName = "Output folder",
            .accessibleDescription = "The folder that receives Words.txt when saving to a file" },
        { .id = O::MustStart,
            .key = "Check2",
            .defaultValue = "0",
            .control = Control::Check,
            .controlName = "Check2",
            .recounts = true },
        { .id = O::MustEnd,
            .key = "Check3",
            .defaultValue = "0",
            .control = Control::Check,
            .controlName = "Check3",
            .recounts = true },
        { .id = O::MaxBound,
            .key = "Check5",
            .defaultValue = "0",
            .control = Control::Check,
            .controlName = "Check5",
            .recounts = true },
        { .id = O::MinBound,
            .key = "Check6",
            .defaultValue = "0",
            .control = Control::Check,
            .controlName = "Check6",
            .recounts = true },
        { .id = O::ListOutput,
            .key = "Option7",
            .defaultValue = "1",
            .control = Control::Choice,
            .controlName = "Option7" },
        { .id = O::FileOutput,
            .key = "Option8",
            .defaultValue = "0",
            .control = Control::Choice,
            .controlName = "Option8" },
        { .id = O::Layout,
            .key = "Combo",
            .defaultValue = "0",
            .control = Control::List,
            .controlName = "Combo1",
            .accessibleName = "Text file layout",
            .accessibleDescription = "How the words are laid out in a saved text file" },
        { .id = O::LetterPosition,
            .key = "Nth Letter",
            .defaultValue = "0",
            .control = Control::List,
            .controlName = "Combo2",
            .recounts = true,
            .accessibleName = "Letter position",
            .accessibleDescription = "Which letter of a word the letter rule looks at" },
        { .id = O::LetterKind,
            .key = "Letter Must Be",
            .defaultValue = "0",
            .control = Control::List,
            .controlName = "Combo3",
            .recounts = true,
            .accessibleName = "Letter kind",
            .accessibleDescription
            = "What that letter must be: a vowel, a consonant or a given letter" },
    };

} // namespace

quint64 wholeNumber(const QString& value, quint64 max)
{
    const std::optional<quint64> number = NumericText::digitsValue(value, max);
    if (!number)
        throw RuleError(
            QStringLiteral("needs a whole number from 0 to %1, not '%2'").arg(max).arg(value));
    return *number;
}

std::span<const Row> rows()
{
    return table;
}

const Row& row(Option option)
{
    static const auto byId = [] {
        std::array<const Row*, O::WindowOptionCount> index {};
        for (const Row& row : table) {
            if (row.id != O::CommandLineOnly)
                index[row.id] = &row;
        }
        return index;
    }();
    return *byId[option];
}

const Row* commandLineRow(QStringView name, bool isLong)
{
    for (const Row& row : table) {
        if (row.name
            && (isLong ? name == QLatin1String(row.name)
                       : name.size() == 1 && name[0] == QLatin1Char(row.shortName)))
            return &row;
    }
    return nullptr;
}

void setRule(const Row& row, GenerationOptions& options, const QString& value)
{
    if (row.setRule)
        return row.setRule(options, value);
    QStringList names;
    for (const Choice& choice : row.choices) {
        if (!choice.name)
            continue;
        if (value == QLatin1String(choice.name))
            return row.setChoice(options.rules, choice.rule);
        names += QLatin1String(choice.name);
    }
    const QString last = names.takeLast();
    throw RuleError(QStringLiteral("needs %1 or %2, not '%3'")
                        .arg(names.join(QStringLiteral(", ")), last, value));
}

QStringList shownChoices(Option option)
{
    const std::span<const Choice> choices = row(option).choices;
    QStringList texts(choices.size());
    for (const Choice& choice : choices)
        texts[choice.entry] = QLatin1String(choice.shown);
    return texts;
}

int entryOf(Option option, int rule)
{
    for (const Choice& choice : row(option).choices)
        if (choice.rule == rule)
            return choice.entry;
    return 0;
}

void setChosenEntry(WordRules& rules, Option option, int entry)
{
    const Row& chosen = row(option);
    const std::span<const Choice> choices = chosen.choices;
    if (entry < 0 || size_t(entry) >= choices.size())
        entry = 0;
    const auto found = std::find_if(choices.begin(), choices.end(),
        [entry](const Choice& choice) { return choice.entry == entry; });
    chosen.setChoice(rules, found->rule);
}

} // namespace OptionTable
