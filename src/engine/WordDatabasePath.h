#pragma once

#include <QString>

// The word database lies beside the program: every reader finds it by this one name.
inline QString wordDatabasePath(const QString& programFolder)
{
    return programFolder + QStringLiteral("/dbWords.mdb");
}
