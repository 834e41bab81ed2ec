// tessavine-cli: random English words from the shell, drawn by the rules the window uses.
#include "cli/CommandOptions.h"
#include "cli/Drawing.h"
#include "cli/Exit.h"
#include "cli/Output.h"
#include "cli/Passphrase.h"
#include "cli/ReadWords.h"
#include "engine/AcceptanceRules.h"
#include "engine/DescribedError.h"
#include "engine/PlatformError.h"
#include "engine/WordDrawer.h"

#include <QCoreApplication>
#include <QSet>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void writeText(const QByteArray& path, const QByteArray& bytes)
{
    Output out(path);
    out.put(bytes);
    out.commit();
}

void writeMatching(
    const Arguments& given, const Request& request, const WordSet& words, const WordDrawer& drawer)
{
    DistinctTexts distinct;
    if (request.unique || request.maxLength) {
        distinct = distinctTexts(words, drawer, request);
        if (request.unique && request.wanted > qint64(distinct.texts.size()))
            fail(Failure,
                QStringLiteral("%1 cannot give %2 words: only %3 different words match "
                               "these rules")
                    .arg(given.has("unique") ? QStringLiteral("--unique")
                                             : QStringLiteral("--passphrase"))
                    .arg(request.wanted)
                    .arg(distinct.texts.size()));
    }
    if (composesOutput(request)) {
        const QString entropy = writeComposed(words, drawer, request, distinct.texts);
        if (request.entropy)
            std::fprintf(stderr, "%s\n", qPrintable(entropy));
        return;
    }
    writeWords(words, drawer, request, distinct);
    if (request.entropy)
        std::fprintf(stderr, "%s\n", qPrintable(entropyText(words, drawer, request, distinct)));
}

// Words are left out by the text they are written as, as --unique tells texts apart; each list is
// read as a plain word list is, within the same limits.
void leaveOutExcluded(const Request& request, const WordSet& words, WordDrawer& drawer)
{
    if (request.exclude.empty())
        return;
    QSet<QString> excluded;
    for (const QByteArray& path : request.exclude) {
        const std::unique_ptr<WordSet> list = readPlainList(path);
        for (int r = 1; r <= list->count(); ++r)
            excluded.insert(list->word(r));
    }
    drawer.leaveOut([&](int row) {
        return excluded.contains(AcceptanceRules::delivered(words.word(row), request.options));
    });
}

// With digits or symbols added, a word that holds one could be read as a word and an addition:
// such words are not drawn, so that every output is told apart and its entropy counted exactly.
void leaveOutAdditionLookalikes(const Request& request, const WordSet& words, WordDrawer& drawer)
{
    if (request.digits || request.symbols)
        drawer.leaveOut([&](int row) {
            return holdsAddition(AcceptanceRules::delivered(words.word(row), request.options));
        });
}

// A case may change a word's length (straße in upper case is STRASSE): the length rules then count
// the text as written, as --max-length does, and not the word as listed.
bool casedLengths(const Request& request)
{
    return (request.options.rules.minLength || request.options.rules.maxLength)
        && request.options.wordCase != GenerationOptions::WordCase::AsListed;
}

void leaveOutByWrittenLength(const Request& request, const WordSet& words, WordDrawer& drawer)
{
    if (!casedLengths(request))
        return;
    const WordRules& rules = request.options.rules;
    drawer.leaveOut([&](int row) {
        const qsizetype length = AcceptanceRules::characterCount(
            AcceptanceRules::delivered(words.word(row), request.options));
        return (rules.minLength && length < *rules.minLength)
            || (rules.maxLength && length > *rules.maxLength);
    });
}

int drawWords(const Arguments& given, Request request)
{
    std::map<QString, QString> about;
    const std::unique_ptr<WordSet> words
        = request.plainList ? readPlainList(request.source) : readDatabase(request.source, &about);
    if (!request.plainList)
        applyLanguage(given, request, Language::fromAbout(about));
    if (words->count() == 0)
        fail(Failure, QStringLiteral("%1 holds no words").arg(shown(request.source)));
    if (request.define && !words->hasFacts())
        fail(Failure,
            QStringLiteral("--define needs a word database with definitions, as the installed "
                           "one is"));
    // A word whose letter cannot be tested (the empty word) fails the letter rule here, where the
    // window would report it: a list may well hold one, and it should not end the run.
    WordRules rules = request.options.rules;
    if (casedLengths(request)) {
        rules.minLength.reset();
        rules.maxLength.reset();
    }
    WordDrawer drawer(*words, rules, WordDrawer::Untestable::Drop);
    leaveOutByWrittenLength(request, *words, drawer);
    leaveOutExcluded(request, *words, drawer);
    leaveOutAdditionLookalikes(request, *words, drawer);
    if (request.countMatches) {
        writeText(request.output, QByteArray::number(drawer.matchCount()) + '\n');
        return Success;
    }
    // Checked before any draw, so that impossible rules end the run at once.
    if (drawer.matchCount() == 0)
        fail(Failure, QStringLiteral("no word matches these rules"));
    // Definitions are looked up as the words are written, and a look-up may fail.
    try {
        writeMatching(given, request, *words, drawer);
    } catch (const PlatformError& error) {
        cannotRead(request.source, error.description());
    }
    return Success;
}

int run(int argc, char** argv)
{
    const Arguments given = parseArguments(argc, argv);
    if (given.has("help") || given.has("version")) {
        writeText(QByteArray(),
            (given.has("help") ? helpText()
                               : QStringLiteral("tessavine-cli %1\n")
                                     .arg(QCoreApplication::applicationVersion()))
                .toUtf8());
        return Success;
    }
    if (given.value("language") == "list") {
        writeText(QByteArray(),
            languagesText(QCoreApplication::applicationDirPath(), given.has("json")).toUtf8());
        return Success;
    }
    if (given.has("completion")) {
        // The one shell there is a script for; any other name is a usage error.
        if (given.value("completion") != "bash")
            fail(UsageError,
                QStringLiteral("--completion needs bash, not '%1'")
                    .arg(shown(given.value("completion"))));
        const QByteArray output = given.value("output");
        writeText(output == "-" ? QByteArray() : output, bashCompletion().toUtf8());
        return Success;
    }
    return drawWords(given, readRequest(given));
}

// A standard descriptor closed at start is held by one that refuses every use, so that no file
// opened later takes its number and receives what was meant for it: writing there fails.
void holdClosedStandardDescriptors()
{
    // Lowest numbers first, so that each open takes the number just found closed.
    for (const int fd : { STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO }) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    holdClosedStandardDescriptors();
    // Past a file size limit a write fails with its reason, like any other, instead of the
    // signal ending the run where it stands.
    std::signal(SIGXFSZ, SIG_IGN);
    // The libraries under Qt's start-up abort when memory runs out instead of reporting it: room
    // well beyond what they take is asked for first, so that a tight limit is reported in one line.
    constexpr size_t startUpRoom = size_t(1) << 20;
    void* const room = ::mmap(nullptr, startUpRoom, PROT_READ | PROT_WRITE,
        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (room == MAP_FAILED) {
        std::fputs("tessavine-cli: out of memory\n", stderr);
        return Failure;
    }
    ::munmap(room, startUpRoom);
    try {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("tessavine-cli"));
        QCoreApplication::setApplicationVersion(QStringLiteral(TESSAVINE_VERSION));
        return run(argc, argv);
    } catch (const std::bad_alloc&) {
        // Written without allocating: there may be nothing left to allocate.
        std::fputs("tessavine-cli: out of memory\n", stderr);
        return Failure;
    } catch (const Exit& exit) {
        std::fprintf(stderr, "tessavine-cli: %s\n", oneLine(exit.message).toUtf8().constData());
        return exit.status;
    } catch (const DescribedError& error) {
        std::fprintf(
            stderr, "tessavine-cli: %s\n", oneLine(error.description()).toUtf8().constData());
        return Failure;
    }
}
