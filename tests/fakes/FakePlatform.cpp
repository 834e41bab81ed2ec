#include "FakePlatform.h"

#include "platform/LocalFilePath.h"

// FakeDialogs

void FakeDialogs::message(QObject*, const QString& text, const QString& caption)
{
    entries.push_back({ Message, text, caption });
    if (onMessage)
        onMessage(text);
}

void FakeDialogs::errorBox(QObject*, const QString& text)
{
    entries.push_back({ ErrorBox, text, QStringLiteral("Application Error") });
}

QString FakeDialogs::prompt(QObject*, const QString& text, const QString& title)
{
    entries.push_back({ Prompt, text, title });
    return answer(promptAnswers, text);
}

QString FakeDialogs::saveFileName(
    QObject*, const QString& caption, const QStringList& filters, const QString& start)
{
    entries.push_back({ SaveFile, caption, caption });
    lastFilters = filters;
    lastSaveStart = start;
    return answer(saveAnswers, caption);
}

QString FakeDialogs::existingDirectory(QObject*, const QString& caption, const QString& start)
{
    entries.push_back({ Folder, caption, caption });
    lastFolderStart = start;
    if (!folderFailure.isEmpty())
        throw PlatformError(folderFailure);
    return answer(folderAnswers, caption);
}

QStringList FakeDialogs::textsOf(Kind kind) const
{
    QStringList texts;
    for (const Entry& entry : entries) {
        if (entry.kind == kind)
            texts << entry.text;
    }
    return texts;
}

QString FakeDialogs::answer(std::deque<QString>& queue, const QString& text)
{
    if (queue.empty())
        throw UnexpectedDialog { text };
    QString value = queue.front();
    queue.pop_front();
    return value;
}

// FakeSettings

QString FakeSettings::read(const QString& application, const QString& section, const QString& key,
    const QString& defaultValue) const
{
    Q_ASSERT(application == QLatin1String("Quillmont") && section == QLatin1String("Tessavine"));
    reads << key;
    return values.value(key, defaultValue);
}

void FakeSettings::write(
    const QString& application, const QString& section, const QString& key, const QString& value)
{
    Q_ASSERT(application == QLatin1String("Quillmont") && section == QLatin1String("Tessavine"));
    values.insert(key, value);
    writes.emplace_back(key, value);
}

// FakeWordStore

namespace {

class FakeWordSet : public WordSet
{
public:
    FakeWordSet(QStringList words, const FakeWordStore& store)
        : m_words(std::move(words))
        , m_store(store)
    { }
    int count() const override { return int(m_words.size()); }
    const QString& word(int r) const override
    {
        if (r < 1 || r > count())
            throw PlatformError(QStringLiteral("No such row"));
        return m_words[r - 1];
    }
    bool hasFacts() const override { return !m_store.facts.isEmpty(); }
    WordFacts facts(int r) const override { return m_store.facts.value(word(r)); }
    // A definition in a kind is looked up as "word/kinds".
    QString definition(int r, quint8 kinds = 0) const override
    {
        return m_store.definitions.value(word(r) + (kinds ? u'/' + QString::number(kinds) : ""));
    }

private:
    QStringList m_words;
    const FakeWordStore& m_store;
};

class FakeConnection : public WordConnection
{
public:
    FakeConnection(FakeWordStore& store, const QString& path)
        : m_store(store)
        , m_english(path.endsWith(QLatin1String("/dbWords.mdb")))
    {
        ++m_store.openConnections;
    }
    ~FakeConnection() override { --m_store.openConnections; }
    std::unique_ptr<WordSet> query(const QString& sql) override
    {
        m_store.queries << sql;
        if (!m_store.queryFailure.isEmpty())
            throw PlatformError(m_store.queryFailure);
        QStringList rows;
        for (const QString& word : m_store.words) {
            if (!m_store.filter || m_store.filter(sql, word))
                rows << word;
        }
        return std::make_unique<FakeWordSet>(rows, m_store);
    }
    std::unique_ptr<WordSet> allWords() override { return query(allWordsQuery); }
    std::map<QString, QString> about() override
    {
        return m_english ? std::map<QString, QString>() : m_store.about;
    }

private:
    FakeWordStore& m_store;
    const bool m_english;
};

} // namespace

std::unique_ptr<WordConnection> FakeWordStore::open(const QString& path)
{
    openedPaths << path;
    if (!openFailure.isEmpty())
        throw PlatformError(openFailure);
    return std::make_unique<FakeConnection>(*this, path);
}

// FakeTextWriter

void FakeTextWriter::WriteTextPiece(const QString& text, const QString& path, int pieceNumber)
{
    calls.push_back({ text, path, pieceNumber });
    if (!failure.isEmpty())
        throw PlatformError(failure);
    // The same paths are refused and resolved as by the real writer.
    const std::optional<QString> local = localFilePath(path);
    if (!local)
        throw PlatformError(QStringLiteral("No such file or directory"));
    if (pieceNumber <= 1)
        files[*local] = text;
    else
        files[*local] += text;
}

// FakeClipboard

void FakeClipboard::clear()
{
    if (failuresLeft > 0) {
        --failuresLeft;
        throw PlatformError(QStringLiteral("busy"));
    }
    ++clears;
    text.clear();
}

void FakeClipboard::putText(const QString& value)
{
    if (failuresLeft > 0) {
        --failuresLeft;
        throw PlatformError(QStringLiteral("busy"));
    }
    ++puts;
    text = value;
}

// FakeSpreadsheet

namespace {

class FakeApplication : public SpreadsheetApplication
{
public:
    explicit FakeApplication(FakeSpreadsheet& sheet)
        : m_sheet(sheet)
    { }
    void addWorkbook() override { m_sheet.calls << QStringLiteral("addWorkbook"); }
    void setCellText(int row, int column, const QString& text) override
    {
        ++m_sheet.cellCalls;
        m_sheet.calls << QStringLiteral("cell(%1,%2)=%3").arg(row).arg(column).arg(text);
        if (m_sheet.cellCalls == m_sheet.failingCell)
            throw PlatformError(QStringLiteral("Cell refused"));
        m_sheet.cells[{ row, column }] = text;
    }
    void autoFitColumns() override { m_sheet.calls << QStringLiteral("autoFit"); }
    void setVisible(bool visible) override
    {
        m_sheet.calls << QStringLiteral("visible=%1")
                             .arg(visible ? QStringLiteral("true") : QStringLiteral("false"));
    }

private:
    FakeSpreadsheet& m_sheet;
};

} // namespace

std::unique_ptr<SpreadsheetApplication> FakeSpreadsheet::start()
{
    calls << QStringLiteral("start");
    if (!installed)
        return nullptr;
    ++started;
    return std::make_unique<FakeApplication>(*this);
}

// FakePump

void FakePump::yield()
{
    ++calls;
    const int lastAction = actions.empty() ? 0 : actions.rbegin()->first;
    if (calls > lastAction + limit)
        throw EndlessYield {};
    if (onEvery)
        onEvery(calls);
    const auto action = actions.find(calls);
    if (action != actions.end())
        action->second();
}

// FakeRandom

double FakeRandom::next()
{
    if (!script.empty()) {
        const double value = script.front();
        script.pop_front();
        return value;
    }
    // splitmix64, enough for tests that need many different draws.
    state += 0x9e3779b97f4a7c15ULL;
    quint64 z = state;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    z ^= z >> 31;
    return double(z >> 11) * 0x1.0p-53;
}

// FakeFileSystem

QString FakeFileSystem::desktopFolder() const
{
    if (desktop.isEmpty())
        throw PlatformError(QStringLiteral("The desktop folder cannot be found."));
    return desktop;
}

// FakePlatform

FakePlatform::FakePlatform()
{
    platform.dialogs = &dialogs;
    platform.settings = &settings;
    platform.words = &words;
    platform.writer = &writer;
    platform.clipboard = &clipboard;
    platform.spreadsheet = &spreadsheet;
    platform.pump = &pump;
    platform.random = &random;
    platform.files = &files;
    platform.programFolder = QStringLiteral("/opt/tessavine");
    files.files << QStringLiteral("/opt/tessavine/dbWords.mdb");
}
