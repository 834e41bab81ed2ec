#include "cli/CommandOptions.h"

#include "cli/Exit.h"
#include "cli/Passphrase.h"
#include "engine/OptionTable.h"
#include "engine/PlatformError.h"
#include "engine/SqliteWordStore.h"
#include "engine/WordDatabasePath.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <algorithm>
#include <limits>
#include <string_view>
#include <vector>

namespace {

using OptionTable::Repeat;
using OptionTable::Row;

QString text(const char* name, const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString value = decoder(bytes);
    if (decoder.hasError())
        fail(UsageError, QStringLiteral("--%1 needs UTF-8 text, not '%2'").arg(name, shown(bytes)));
    // An accented letter typed as a letter and a combining accent is the one letter the word
    // lists hold composed.
    return value.normalized(QString::NormalizationForm_C);
}

QString text(const Arguments& given, const char* name)
{
    return text(name, given.value(name));
}

[[noreturn]] void refuse(const char* name, const RuleError& error)
{
    fail(UsageError, QStringLiteral("--%1 %2").arg(QLatin1String(name), error.description()));
}

quint64 wholeNumber(const Arguments& given, const char* name, quint64 max)
{
    try {
        return OptionTable::wholeNumber(text(given, name), max);
    } catch (const RuleError& error) {
        refuse(name, error);
    }
}

// Each installed language as its database describes it; a database that cannot be read is named
// by its code alone, with no facts.
std::vector<Language> installed(const QString& programFolder)
{
    std::vector<Language> languages;
    for (const QString& code : installedLanguages(programFolder)) {
        Language language;
        try {
            language = Language::fromAbout(
                SqliteWordStore().open(languageDatabasePath(programFolder, code))->about());
        } catch (const PlatformError&) {
            language.name = language.native = QString();
            language.facts.clear();
        }
        // The file's name decides which code reaches it.
        language.code = code;
        languages.push_back(language);
    }
    return languages;
}

// A language's facts as a user reads them: definitions that are English translations are named so.
QStringList shownFacts(const Language& language)
{
    QStringList facts = language.facts;
    if (language.hasSpellings())
        facts.insert(std::min<qsizetype>(2, facts.size()), QStringLiteral("spellings"));
    if (language.translations)
        facts.replaceInStrings(QStringLiteral("definitions"), QStringLiteral("translations"));
    return facts;
}

// The template, or the acrostic's: its slots say how many words there are, each drawn anew.
void readTemplate(const Arguments& given, Request& request)
{
    const bool acrostic = given.has("acrostic");
    if (!acrostic && !given.has("template"))
        return;
    const char* name = acrostic ? "acrostic" : "template";
    if (acrostic && given.has("template"))
        fail(UsageError, QStringLiteral("--template and --acrostic cannot be used together"));
    for (const char* other : { "count", "unique", "passphrase", "digits", "symbols", "max-length",
             "define", "separator" }) {
        // An acrostic's words are separated; a template writes its own separators.
        if (given.has(other) && !(acrostic && QByteArray(other) == "separator"))
            fail(UsageError,
                QStringLiteral("--%1 cannot be used with --%2")
                    .arg(QLatin1String(other), QLatin1String(name)));
    }
    if (request.options.wordCase == GenerationOptions::WordCase::First)
        fail(UsageError, QStringLiteral("--case first cannot be used with --%1").arg(name));
    try {
        request.wordTemplate = acrostic ? WordTemplates::acrostic(text(given, "acrostic"),
                                   given.has("separator")     ? given.value("separator")
                                       : request.outputsGiven ? QByteArray(" ")
                                                              : QByteArray("\n"))
                                        : WordTemplates::parse(given.value("template"));
    } catch (const RuleError& error) {
        refuse(name, error);
    }
    // A JSON string holds the template's literals, and needs them as text.
    if (request.json)
        text("template", given.value("template"));
    request.acrostic = acrostic;
    const std::vector<QByteArray>& literals = request.wordTemplate->literals;
    if (request.outputsGiven
        && std::any_of(literals.begin(), literals.end(),
            [](const QByteArray& literal) { return literal.contains('\n'); }))
        fail(UsageError,
            QStringLiteral("--outputs writes one output a line: --template cannot hold a line "
                           "feed"));
}

} // namespace

QString languagesText(const QString& programFolder, bool json)
{
    QString text;
    QJsonArray array;
    for (const Language& language : installed(programFolder)) {
        const QStringList facts = shownFacts(language);
        text += QStringLiteral("%1\t%2\t%3\n")
                    .arg(language.code, oneLine(language.shownName()),
                        facts.join(QStringLiteral(", ")));
        array.append(QJsonObject { { QStringLiteral("language"), language.code },
            { QStringLiteral("name"), language.name },
            { QStringLiteral("native"), language.native },
            { QStringLiteral("facts"), QJsonArray::fromStringList(facts) } });
    }
    return json ? QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)) + u'\n'
                : text;
}

void applyLanguage(const Arguments& given, Request& request, const Language& language)
{
    request.language = language;
    // The options in the order of the help, each named by what it needs as a user names it; the
    // fact itself is the row's.
    struct Needed
    {
        const char* option;
        const char* named;
    };
    static constexpr Needed needed[] = {
        { "level", "commonness levels" },
        { "kind", "parts of speech" },
        { "spelling", "national spellings" },
        { "topic", "topics" },
        { "syllables", "syllable counts" },
        { "rhymes-with", "rhymes" },
        { "define", "definitions" },
        { "passphrase", "commonness levels for its everyday words" },
    };
    for (const Needed& need : needed) {
        const QString option = QLatin1String(need.option);
        if (given.has(need.option)
            && !language.has(QLatin1String(OptionTable::commandLineRow(option, true)->fact)))
            lacksFact(QStringLiteral("--") + option, QLatin1String(need.named), language.name);
    }
    language.applyTo(request.options.rules);
}

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
        const Row* known = OptionTable::commandLineRow(QString::fromLatin1(name), isLong);
        if (!known)
            fail(UsageError, QStringLiteral("Unknown option '%1'.").arg(shown(name)));
        if (!known->valueName && attached)
            fail(UsageError, QStringLiteral("--%1 takes no value").arg(known->name));
        if (known->valueName && !attached && i + 1 == argc)
            fail(UsageError, QStringLiteral("Missing value after '%1'.").arg(shown(arg)));
        if (known->valueName && !attached)
            attached = argv[++i];
        // A rule that cannot add up is refused rather than cut to its last value.
        if (known->valueName && known->repeat == Repeat::Never && given.has(known->name))
            fail(UsageError, QStringLiteral("--%1 can be given only once").arg(known->name));
        given.add(known->name, attached.value_or(QByteArray()));
    }
    return given;
}

QString helpText()
{
    QString text = QStringLiteral(
        "Usage: tessavine-cli [options]\n"
        "Writes random words, English unless --language says otherwise: drawn from a word list\n"
        "among the words that meet the rules given, every such word equally likely each time.\n\n"
        "Options:\n");
    constexpr qsizetype helpColumn = 30;
    constexpr qsizetype width = 79;
    for (const Row& known : OptionTable::rows()) {
        if (!known.name)
            continue;
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
    // The topics, one a line with what it holds, in the order the window lists them.
    std::vector<const OptionTable::Choice*> byEntry;
    for (const OptionTable::Choice& choice : OptionTable::row(OptionIds::Topic).choices)
        if (choice.rule > 0)
            byEntry.push_back(&choice);
    std::sort(byEntry.begin(), byEntry.end(),
        [](const auto* a, const auto* b) { return a->entry < b->entry; });
    text += QStringLiteral("\nTopics of --topic:\n");
    for (const OptionTable::Choice* choice : byEntry)
        text += QStringLiteral("  %1 %2\n")
                    .arg(QString::fromLatin1(choice->name).leftJustified(13),
                        QLatin1String(Topic::holds[choice->rule - 1]));
    // The languages installed, each with its facts, wrapped as the help lines are.
    QString languages = QStringLiteral("\nLanguages of --language:");
    for (const Language& language : installed(QCoreApplication::applicationDirPath())) {
        QString line = QStringLiteral("\n  %1").arg(language.code).leftJustified(9)
            + oneLine(language.shownName()) + u':';
        qsizetype used = line.size() - 1;
        for (const QString& fact : shownFacts(language)) {
            line += used + 2 + fact.size() > width ? QStringLiteral("\n        ")
                                                   : QStringLiteral(" ");
            used = (line.size() - line.lastIndexOf(u'\n') - 1) + fact.size() + 1;
            line += fact + u',';
        }
        languages += line.chopped(line.endsWith(u',') ? 1 : 0) + u'.';
    }
    return text + languages + u'\n';
}

QString bashCompletion()
{
    QStringList names;
    QString cases;
    QStringList files;
    QStringList valued;
    for (const Row& known : OptionTable::rows()) {
        if (!known.name)
            continue;
        const QString name = QStringLiteral("--%1").arg(known.name);
        const QString shortName
            = known.shortName ? QStringLiteral("-%1").arg(QChar::fromLatin1(known.shortName)) : "";
        names += name;
        const QString both = shortName.isEmpty() ? name : shortName + u'|' + name;
        QStringList choices;
        for (const OptionTable::Choice& choice : known.choices) {
            if (choice.name)
                choices += QLatin1String(choice.name);
        }
        // The installed languages are asked of the program as it completes, as packages come
        // and go.
        if (known.name == std::string_view("language"))
            cases += QStringLiteral(
                "    --language)\n        COMPREPLY=($(compgen -W \"list $(\"${COMP_WORDS[0]}\" "
                "--language list 2>/dev/null | cut -f1)\" -- \"$cur\"))\n"
                "        return ;;\n");
        else if (!choices.isEmpty())
            cases += QStringLiteral("    %1)\n        COMPREPLY=($(compgen -W '%2' -- \"$cur\"))\n"
                                    "        return ;;\n")
                         .arg(both, choices.join(u' '));
        else if (known.valueName && QLatin1String(known.valueName) == QLatin1String("FILE"))
            files += both;
        else if (known.valueName)
            valued += both;
    }
    return QStringLiteral(
        "# bash completion for tessavine-cli, written by tessavine-cli --completion bash\n"
        "_tessavine_cli()\n"
        "{\n"
        "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        "    # --name=VALUE: bash splits at the equals sign.\n"
        "    if [[ $cur == = ]]; then\n"
        "        cur=\n"
        "    elif [[ $prev == = ]]; then\n"
        "        prev=${COMP_WORDS[COMP_CWORD-2]}\n"
        "    fi\n"
        "    case $prev in\n"
        "%1"
        "    %2)\n"
        "        compopt -o filenames 2>/dev/null\n"
        "        # One name a line, taken whole: a name may hold blanks, * or ?.\n"
        "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
        "        return ;;\n"
        "    %3)\n"
        "        COMPREPLY=()\n"
        "        return ;;\n"
        "    esac\n"
        "    COMPREPLY=($(compgen -W '%4' -- \"$cur\"))\n"
        "}\n"
        "complete -F _tessavine_cli tessavine-cli\n")
        .arg(cases, files.join(u'|'), valued.join(u'|'), names.join(u' '));
}

Request readRequest(const Arguments& given)
{
    Request request;
    WordRules& rules = request.options.rules;
    // A passphrase: six different everyday words on one line, with their strength.
    const bool preset = given.has("passphrase");
    if (preset)
        rules.maxLevel = LevelTier::everyday;
    for (const Row& row : OptionTable::rows()) {
        if ((!row.setRule && !row.setChoice) || !row.name || !given.has(row.name))
            continue;
        for (const QByteArray& value : given.values(row.name)) {
            try {
                OptionTable::setRule(row, request.options, text(row.name, value));
            } catch (const RuleError& error) {
                refuse(row.name, error);
            }
        }
    }
    request.define = given.has("define");
    request.entropy = preset || given.has("entropy");
    request.json = given.has("json");
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
    request.outputsGiven = given.has("outputs");
    if (request.outputsGiven) {
        request.outputs
            = qint64(wholeNumber(given, "outputs", quint64(std::numeric_limits<qint64>::max())));
        request.separator = " ";
    }
    if (given.has("separator"))
        request.separator = given.value("separator");
    // One output a line: a line feed within one would split it.
    if (request.outputsGiven && given.value("separator").contains('\n'))
        fail(UsageError,
            QStringLiteral("--outputs writes one output a line: its --separator cannot hold a line "
                           "feed"));
    if (given.has("output") && given.value("output").isEmpty())
        fail(UsageError, QStringLiteral("--output needs a file name, or - for standard output"));
    if (given.value("output") != "-")
        request.output = given.value("output");
    if (given.has("words") && given.has("database"))
        fail(UsageError, QStringLiteral("--words and --database cannot be used together"));
    if (given.has("language") && (given.has("words") || given.has("database")))
        fail(UsageError,
            QStringLiteral("--language and --%1 cannot be used together")
                .arg(given.has("words") ? QStringLiteral("words") : QStringLiteral("database")));
    request.exclude = given.values("exclude");
    // Far beyond any passphrase, small enough that counting the outputs that fit stays quick.
    constexpr quint64 mostAdded = 1000;
    if (given.has("digits"))
        request.digits = qint64(wholeNumber(given, "digits", mostAdded));
    if (given.has("symbols"))
        request.symbols = qint64(wholeNumber(given, "symbols", mostAdded));
    if (given.has("max-length"))
        request.maxLength = qint64(wholeNumber(given, "max-length", 1 << 20));
    // A composed output, or an acrostic, is one JSON string, which holds the separator and needs
    // it as text; JSON objects are parted by the array's own commas, an output's on its line.
    if (request.json && (composesOutput(request) || given.has("acrostic")))
        text("separator", request.separator);
    else if (request.json && given.has("separator"))
        fail(UsageError, QStringLiteral("--separator and --json cannot be used together"));
    else if (request.json)
        request.separator = request.outputsGiven ? "," : ",\n";
    // Words run together could be read two ways ("a" "ba" and "ab" "a"): two draws would give one
    // output, which the exact count and the uniform draw of composed outputs and the entropy
    // figure cannot tell apart. An acrostic counts and draws such outputs once.
    if (request.separator.isEmpty() && request.wanted > 1 && !given.has("acrostic")
        && (composesOutput(request) || request.entropy))
        fail(UsageError,
            QStringLiteral("--separator cannot be empty with --digits, --symbols, --max-length, "
                           "--case first or --entropy: words run together can be read two ways"));
    using Case = GenerationOptions::WordCase;
    const Case wordCase = request.options.wordCase;
    // Composed outputs are built whole in memory before they are written: passphrases, not a
    // flood.
    constexpr qint64 mostComposed = 100000;
    if (composesOutput(request)
        && request.wanted > mostComposed / std::max<qint64>(1, request.outputs))
        fail(UsageError,
            QStringLiteral("--digits, --symbols, --max-length and --case first make %1 of at most "
                           "%2 words")
                .arg(request.outputs > 1 ? QStringLiteral("outputs") : QStringLiteral("one output"))
                .arg(mostComposed));
    if (request.options.properCase && wordCase != Case::AsListed && wordCase != Case::Proper)
        fail(UsageError,
            QStringLiteral("--proper and --case %1 cannot be used together")
                .arg(QString::fromUtf8(given.value("case"))));
    readTemplate(given, request);
    // A definition is no part of a passphrase, and would count towards its length.
    if (request.define && composesOutput(request))
        fail(UsageError,
            QStringLiteral("--define cannot be used with --digits, --symbols, --max-length or "
                           "--case first"));
    request.plainList = given.has("words");
    const QString folder = QCoreApplication::applicationDirPath();
    request.source = request.plainList ? given.value("words")
        : given.has("database")        ? given.value("database")
                                       : QFile::encodeName(wordDatabasePath(folder));
    if (given.has("language")) {
        // Codes are told apart without regard to case, as BCP 47 tells them.
        const QString asked = text(given, "language");
        // A code written as its file is named is found without listing the folder, which is a
        // noticeable part of a one-word run.
        const QStringList codes
            = languageInstalled(folder, asked) ? QStringList { asked } : installedLanguages(folder);
        const auto found = std::find_if(codes.begin(), codes.end(), [&asked](const QString& code) {
            return code.compare(asked, Qt::CaseInsensitive) == 0;
        });
        if (found == codes.end())
            fail(UsageError,
                QStringLiteral("--language needs an installed language (%1) or list, not '%2'")
                    .arg(codes.join(QStringLiteral(", ")), oneLine(asked)));
        request.source = QFile::encodeName(languageDatabasePath(folder, *found));
    }
    return request;
}
