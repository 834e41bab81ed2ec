#pragma once

#include <QString>
#include <memory>

// The rows one query returned, fixed when it was made.
class WordSet
{
public:
    virtual ~WordSet() = default;
    // Number of rows.
    virtual int count() const = 0;
    // Text of the word column in row r (1 to count); throws PlatformError outside that range.
    virtual const QString& word(int r) const = 0;
};

// One open connection to the word database; closed when destroyed.
class WordConnection
{
public:
    virtual ~WordConnection() = default;
    // Runs a read-only query and loads every row; throws PlatformError with the engine's message.
    virtual std::unique_ptr<WordSet> query(const QString& sql) = 0;
};

// Opens word databases. Each run opens its own connection.
class WordStore
{
public:
    virtual ~WordStore() = default;
    // Opens the database file read-only; throws PlatformError when it cannot be opened.
    virtual std::unique_ptr<WordConnection> open(const QString& path) = 0;
};
