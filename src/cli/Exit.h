#pragma once

#include <QByteArray>
#include <QString>

enum Status
{
    Success = 0,
    Failure = 1,
    UsageError = 2
};

// Ends the run: main prints the message as one line on standard error and exits with the status.
struct Exit
{
    int status;
    QString message;
};

[[noreturn]] void fail(int status, const QString& message);

// Ends the run where a language's words lack a fact that an option or a template slot needs.
[[noreturn]] void lacksFact(const QString& asker, const QString& fact, const QString& language);

QString systemReason(int error);

// A value as the user gave it, fit for a message: bytes that are not UTF-8 show as \xHH.
QString shown(const QByteArray& bytes);

// Control characters escaped, so that a value holding a line feed cannot split the line.
QString oneLine(const QString& message);
