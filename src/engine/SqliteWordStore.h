#pragma once

#include "engine/WordStore.h"

// Word databases in SQLite files, opened read-only.
class SqliteWordStore : public WordStore
{
public:
    std::unique_ptr<WordConnection> open(const QString& path) override;
    // The same for a file name given as the system's bytes, which need not be UTF-8.
    std::unique_ptr<WordConnection> openLocal(const QByteArray& path);
};
