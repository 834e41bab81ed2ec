#pragma once

#include "engine/WordStore.h"

#include <QByteArray>
#include <map>
#include <memory>

// A plain list is read as a stream, as < FILE would give it, within the limits of the reader.
std::unique_ptr<WordSet> readPlainList(const QByteArray& path);

// A database is only read from a regular file; anything else is named for what it is. With about,
// the rows of its table about go there too.
std::unique_ptr<WordSet> readDatabase(
    const QByteArray& path, std::map<QString, QString>* about = nullptr);

// Ends the run with the reason the word source at path cannot be read.
[[noreturn]] void cannotRead(const QByteArray& path, const QString& reason);
