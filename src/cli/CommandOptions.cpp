#include "cli/CommandOptions.h"

#include "cli/Exit.h"
#include "engine/AcceptanceRules.h"
#include "engine/NumericText.h"
#include "engine/WordDatabasePath.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <array>
#include <limits>

namespace {

// The options, in the order --help lists them. A new option is a row here and a line in
// readRequest.
struct OptionSpec
{
    char shortName; // 0 for none
    const char* name;
    const char* valueName; // null for a switch
    const char* help;
};

constexpr OptionSpec optionTable[] = {
    { 'n', "count", "N", "Write N words (default 10)." },
    { 0, "min", "N", "Only words of at least N characters." },
    { 0, "max", "N", "Only words of at most N characters (not below --min)." },
    { 0, "start", "TEXT", "Only words that start with TEXT, compared lower-cased." },
    { 0, "end", "TEXT", "Only words that end with TEXT, compared lower-cased." },
    { 0, "letter", "POS:WHAT",
        "Only words whose letter at POS (a whole number from 1, or last; the last letter for a "
        "shorter word) is WHAT: vowel, consonant or one letter." },
    { 0, "level", "LEVEL",
        "Only words of the commonness LEVEL: everyday, common or any (default)." },
    { 0, "kind", "KIND",
        "Only dictionary forms of the part of speech KIND: noun, verb, adjective or adverb." },
    { 0, "spelling", "SPELLING", "Only words of the SPELLING: us (default), gb, ca or any." },
    { 0, "offensive", nullptr, "Also draw words marked offensive, left out by default." },
    { 0, "proper", nullptr, "Write each word in proper case." },
    { 0, "define", nullptr, "Follow each word with a tab and its definition." },
    { 's', "separator", "TEXT",
        "Put TEXT between words, byte for byte (default a line feed); the output ends with a "
        "line feed." },
    { 'o', "output", "FILE",
        "Write to FILE as the shell's > would (- for standard output); an existing regular file "
        "is replaced only when the run succeeds." },
    { 0, "seed", "N",
        "Seed the random numbers with N: the same seed, word list and options give the same "
        "words; for tests and examples, never for secrets (default the system's random "
        "source)." },
    { 0, "unique", nullptr, "Write no text twice." },
    { 0, "words", "FILE", "Draw from FILE, a UTF-8 word list, one word a line." },
    { 0, "database", "FILE",
        "Draw from FILE, an SQLite word database (default the dbWords.mdb installed with the "
        "program)." },
    { 0, "count-matches", nullptr, "Write only the number of words that meet the rules." },
    { 0, "entropy", nullptr,
        "Write on standard error how many bits of entropy the output carries." },
    { 0, "passphrase", nullptr,
        "Six different everyday words separated by blanks, with their entropy (options given as "
        "well take precedence)." },
    { 'h', "help", nullptr, "Show this help." },
    { 0, "version", nullptr, "Show the version." },
};

const OptionSpec* findOption(const QByteArray& name, bool isLong)
{
    for (const OptionSpec& known : optionTable) {
        if (isLong ? name == known.name : name.size() == 1 && name[0] == known.shortName)
            return &known;
    }
    return nullptr;
}

QString text(const Arguments& given, const char* name)
{
    const QByteArray bytes = given.value(name);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString value = decoder(bytes);
    if (decoder.hasError())
        fail(UsageError, QStringLiteral("--%1 needs UTF-8 text, not '%2'").arg(name, shown(bytes)));
    return value;
}

quint64 wholeNumber(const Arguments& given, const char* name, quint64 max)
{
    const std::optional<quint64> value = NumericText::digitsValue(text(given, name), max);
    if (!value)
        fail(UsageError,
            QStringLiteral("--%1 needs a whole number from 0 to %2, not '%3'")
                .arg(name)
                .arg(max)
                .arg(shown(given.value(name))));
    return *value;
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
        fail(UsageError,
            QStringLiteral("--letter needs POS:WHAT (POS a whole number from 1 or 'last'; WHAT "
                           "'vowel', 'consonant' or one letter), not '%1'")
                .arg(text));
    return rule;
}

// The value of an option that names one of a few choices, as its index in names.
int choice(const Arguments& given, const char* name, const QStringList& names)
{
    const QString value = text(given, name);
    const auto index = names.indexOf(value);
    if (index < 0) {
        QStringList others = names;
        const QString last = others.takeLast();
        fail(UsageError,
            QStringLiteral("--%1 needs %2 or %3, not '%4'")
                .arg(QLatin1String(name), others.join(QStringLiteral(", ")), last, value));
    }
    return int(index);
}

} // namespace

Arguments parseArguments(int argc, char** argv)
{
    Arguments given;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--" && i + 1 < argc)
            fail(UsageError, QStringLiteral("unexpected argument '%1'").arg(shown(argv[i + 1])));
        if (arg == "--")
            break;
        if (!arg.startsWith('-') || arg == "-")
            fail(UsageError, QStringLiteral("unexpected argument '%1'").arg(shown(arg)));
        const bool isLong = arg.startsWith("--");
        QByteArray name = isLong ? arg.mid(2) : arg.mid(1, 1);
        std::optional<QByteArray> attached;
        if (isLong && name.contains('=')) {
            attached = name.mid(name.indexOf('=') + 1);
            name.truncate(name.indexOf('='));
        } else if (!isLong && arg.size() > 2) {
            attached = arg.mid(2);
        }
        const OptionSpec* known = findOption(name, isLong);
        if (!known)
            fail(UsageError, QStringLiteral("Unknown option '%1'.").arg(shown(name)));
        if (!known->valueName && attached)
            fail(UsageError, QStringLiteral("--%1 takes no value").arg(known->name));
        if (known->valueName && !attached && i + 1 == argc)
            fail(UsageError, QStringLiteral("Missing value after '%1'.").arg(shown(arg)));
        if (known->valueName && !attached)
            attached = argv[++i];
        given.set(known->name, attached.value_or(QByteArray()));
    }
    return given;
}

QString helpText()
{
    QString text = QStringLiteral(
        "Usage: tessavine-cli [options]\n"
        "Writes random English words: drawn from a word list among the words that meet the\n"
        "rules given, every such word equally likely each time.\n\nOptions:\n");
    constexpr qsizetype helpColumn = 30;
    constexpr qsizetype width = 79;
    for (const OptionSpec& known : optionTable) {
        QString names = known.shortName
            ? QStringLiteral("  -%1, ").arg(QChar::fromLatin1(known.shortName))
            : QStringLiteral("      ");
        names += QStringLiteral("--%1").arg(known.name);
        if (known.valueName)
            names += QStringLiteral(" <%1>").arg(known.valueName);
        QString line = names.leftJustified(helpColumn - 1) + u' ';
        if (names.size() >= helpColumn - 1)
            line = names + u'\n' + QString(helpColumn, u' ');
        qsizetype used = line.size() - line.lastIndexOf(u'\n') - 1;
        for (const QString& word : QString::fromLatin1(known.help).split(u' ')) {
            if (used > helpColumn && used + 1 + word.size() > width) {
                line += u'\n' + QString(helpColumn, u' ');
                used = helpColumn;
            } else if (used > helpColumn) {
                line += u' ';
                ++used;
            }
            line += word;
            used += word.size();
        }
        text += line + u'\n';
    }
    return text;
}

Request readRequest(const Arguments& given)
{
    Request request;
    WordRules& rules = request.options.rules;
    const auto lengthMax = quint64(std::numeric_limits<qsizetype>::max());
    if (given.has("min"))
        rules.minLength = qsizetype(wholeNumber(given, "min", lengthMax));
    if (given.has("max"))
        rules.maxLength = qsizetype(wholeNumber(given, "max", lengthMax));
    // A maximum below the minimum is a slip, not a rule: say so rather than match nothing.
    if (rules.minLength && rules.maxLength && *rules.maxLength < *rules.minLength)
        fail(UsageError,
            QStringLiteral("--max %1 is below --min %2")
                .arg(*rules.maxLength)
                .arg(*rules.minLength));
    if (given.has("start"))
        rules.start = text(given, "start");
    if (given.has("end"))
        rules.end = text(given, "end");
    if (given.has("letter"))
        rules.letter = letterRule(text(given, "letter"));
    // A passphrase: six different everyday words on one line, with their strength.
    const bool preset = given.has("passphrase");
    if (given.has("level"))
        rules.maxLevel = std::array<std::optional<int>, 3> { LevelTier::everyday, LevelTier::common,
            std::nullopt }[size_t(choice(given, "level",
            { QStringLiteral("everyday"), QStringLiteral("common"), QStringLiteral("any") }))];
    else if (preset)
        rules.maxLevel = LevelTier::everyday;
    if (given.has("kind"))
        rules.kinds = quint8(1 << choice(given, "kind",
                                 { QStringLiteral("noun"), QStringLiteral("verb"),
                                     QStringLiteral("adjective"), QStringLiteral("adverb") }));
    if (given.has("spelling"))
        rules.spellings = std::array<quint8, 4> { Spelling::American, Spelling::British,
            Spelling::Canadian, 0 }[size_t(choice(given, "spelling",
            { QStringLiteral("us"), QStringLiteral("gb"), QStringLiteral("ca"),
                QStringLiteral("any") }))];
    rules.offensive = given.has("offensive");
    request.define = given.has("define");
    request.entropy = preset || given.has("entropy");
    request.options.properCase = given.has("proper");
    if (preset) {
        request.wanted = 6;
        request.separator = " ";
    }
    if (given.has("count"))
        request.wanted
            = qint64(wholeNumber(given, "count", quint64(std::numeric_limits<qint64>::max())));
    if (given.has("seed"))
        request.seed = wholeNumber(given, "seed", std::numeric_limits<quint64>::max());
    request.unique = preset || given.has("unique");
    request.countMatches = given.has("count-matches");
    if (given.has("separator"))
        request.separator = given.value("separator");
    if (given.has("output") && given.value("output").isEmpty())
        fail(UsageError, QStringLiteral("--output needs a file name, or - for standard output"));
    if (given.value("output") != "-")
        request.output = given.value("output");
    if (given.has("words") && given.has("database"))
        fail(UsageError, QStringLiteral("--words and --database cannot be used together"));
    request.plainList = given.has("words");
    request.source = request.plainList ? given.value("words")
        : given.has("database")
        ? given.value("database")
        : QFile::encodeName(wordDatabasePath(QCoreApplication::applicationDirPath()));
    return request;
}
