#pragma once

#include "engine/PlatformError.h"
#include "platform/Platform.h"

#include <QHash>
#include <QMap>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

// Thrown when a dialog arrives that the test did not answer; it passes every step guard.
struct UnexpectedDialog
{
    QString text;
};

// Records every box and prompt; prompts and file dialogs answer from queues the test fills.
class FakeDialogs : public Dialogs
{
public:
    enum Kind
    {
        Message,
        ErrorBox,
        Prompt,
        SaveFile,
        Folder
    };
    struct Entry
    {
        Kind kind;
        QString text;
        QString title;
    };

    void message(QObject* owner, const QString& text, const QString& caption) override;
    void errorBox(QObject* owner, const QString& text) override;
    QString prompt(QObject* owner, const QString& text, const QString& title) override;
    QString saveFileName(QObject* owner, const QString& caption, const QStringList& filters,
        const QString& start) override;
    QString existingDirectory(
        QObject* owner, const QString& caption, const QString& start) override;

    QStringList messages() const { return textsOf(Message); }
    QStringList errorBoxes() const { return textsOf(ErrorBox); }
    QStringList prompts() const { return textsOf(Prompt); }
    QStringList textsOf(Kind kind) const;

    std::vector<Entry> entries;
    std::deque<QString> promptAnswers;
    std::deque<QString> saveAnswers;
    std::deque<QString> folderAnswers;
    QStringList lastFilters;
    QString lastFolderStart;
    QString lastSaveStart;
    // Called for each message box, e.g. to act while it is shown.
    std::function<void(const QString&)> onMessage;
    // Thrown instead of showing the folder dialog, when set.
    QString folderFailure;

private:
    QString answer(std::deque<QString>& queue, const QString& text);
};

// Settings in a map; every write is logged in order.
class FakeSettings : public SettingsStore
{
public:
    QString read(const QString& application, const QString& section, const QString& key,
        const QString& defaultValue) const override;
    void write(const QString& application, const QString& section, const QString& key,
        const QString& value) override;

    QMap<QString, QString> values;
    std::vector<std::pair<QString, QString>> writes;
    mutable QStringList reads;
};

// A word table in memory; open and query can be told to fail.
class FakeWordStore : public WordStore
{
public:
    std::unique_ptr<WordConnection> open(const QString& path) override;

    QStringList words;
    QString openFailure;
    QString queryFailure;
    QStringList queries;
    QStringList openedPaths;
    int openConnections = 0;
    // Filters rows for a query: given the query text and a word, whether the row is returned.
    std::function<bool(const QString& sql, const QString& word)> filter;
    // The words' facts and definitions; without facts the rows have none.
    QHash<QString, WordFacts> facts;
    QHash<QString, QString> definitions;
    // The rows of table about, which name the words' language; the English database has none.
    std::map<QString, QString> about;
};

// Files in memory: the path the real writer resolves to, to content, following the piece rules;
// refuses the paths the real writer refuses and can be told to fail.
class FakeTextWriter : public TextWriter
{
public:
    void WriteTextPiece(const QString& text, const QString& path, int pieceNumber) override;

    std::map<QString, QString> files;
    struct Call
    {
        QString text;
        QString path;
        int piece;
    };
    std::vector<Call> calls;
    QString failure;
};

class FakeClipboard : public Clipboard
{
public:
    void clear() override;
    void putText(const QString& text) override;

    QString text = QStringLiteral("<before>");
    int clears = 0;
    int puts = 0;
    // Attempts that fail before one succeeds.
    int failuresLeft = 0;
};

// Records every automation call of every application started.
class FakeSpreadsheet : public SpreadsheetLauncher
{
public:
    std::unique_ptr<SpreadsheetApplication> start() override;

    bool installed = true;
    int started = 0;
    QStringList calls;
    std::map<std::pair<int, int>, QString> cells;
    // A setCellText call (1-based count) that fails.
    int failingCell = 0;
    int cellCalls = 0;
};

// Thrown by the fake yield when a command yields on and on with nothing left for the test to do:
// a run that never ends fails its test instead of hanging it. It passes every step guard.
struct EndlessYield
{ };

// The yield: counts calls and runs the test's actions at chosen calls.
class FakePump : public EventPump
{
public:
    void yield() override;
    // Counts as a yield too: the test acts at its chosen calls.
    void waitForEvents() override
    {
        ++waits;
        yield();
    }

    // Yields allowed after the last queued action has run.
    int limit = 1000000;
    int calls = 0;
    int waits = 0;
    std::map<int, std::function<void()>> actions;
    std::function<void(int)> onEvery;
};

// Uniform numbers from a script, then from a seeded generator.
class FakeRandom : public RandomSource
{
public:
    double next() override;

    std::deque<double> script;
    quint64 state = 12345;
};

class FakeFileSystem : public FileSystem
{
public:
    bool isFile(const QString& path) const override { return files.contains(path); }
    bool hasModificationTime(const QString& path) const override { return files.contains(path); }
    QString desktopFolder() const override;
    bool isFolder(const QString& path) const override { return folders.contains(path); }
    QString homeFolder() const override { return home; }

    QStringList files;
    QStringList folders;
    QString home = QStringLiteral("/home/user");
    QString desktop = QStringLiteral("/home/user/Desktop");
};

// All fakes together, with a Platform that points at them.
struct FakePlatform
{
    FakePlatform();

    FakeDialogs dialogs;
    FakeSettings settings;
    FakeWordStore words;
    FakeTextWriter writer;
    FakeClipboard clipboard;
    FakeSpreadsheet spreadsheet;
    FakePump pump;
    FakeRandom random;
    FakeFileSystem files;
    Platform platform;
};

// The settings writes as "key=value", in order.
inline QStringList writeLog(const FakeSettings& settings)
{
    QStringList log;
    for (const auto& [key, value] : settings.writes)
        log << key + "=" + value;
    return log;
}
