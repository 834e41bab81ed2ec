#pragma once

#include "engine/PlainWordList.h"
#include "engine/WordStore.h"

// Bounds on reading a word database, which may come from anyone: a view can be endless, never
// yield a row, or take all memory. A database holds no more than a plain word list may.
struct WordStoreLimits
{
    qint64 maxRows = qint64(PlainWordLimits::maxWords);
    // Text of the words read, and of any one value (a definition, a word).
    qint64 maxBytes = PlainWordLimits::maxBytes;
    // For each statement: the load of all words, each definition's look-up.
    int maxMilliseconds = 5000;
    // How long a read waits for a writer that holds the database.
    int busyMilliseconds = 3000;
};

// Word databases in SQLite files, opened read-only.
class SqliteWordStore : public WordStore
{
public:
    explicit SqliteWordStore(WordStoreLimits limits = {})
        : m_limits(limits)
    { }
    std::unique_ptr<WordConnection> open(const QString& path) override;
    // The same for a file name given as the system's bytes, which need not be UTF-8.
    std::unique_ptr<WordConnection> openLocal(const QByteArray& path);

private:
    WordStoreLimits m_limits;
};
