#pragma once

#include "engine/WordStore.h"

// Word databases in SQLite files, opened read-only.
class SqliteWordStore : public WordStore
{
public:
    std::unique_ptr<WordConnection> open(const QString& path) override;
};
