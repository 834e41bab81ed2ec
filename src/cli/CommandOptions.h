#pragma once

#include "engine/GenerationOptions.h"
#include "engine/Language.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The options given, by long name, each with the values given for it in their order; values are
// the bytes of the command line, so that file names and separators pass unchanged.
class Arguments
{
public:
    bool has(const char* name) const { return m_values.count(name) > 0; }
    // The last value given, or none.
    QByteArray value(const char* name) const
    {
        const auto found = m_values.find(name);
        return found == m_values.end() ? QByteArray() : found->second.back();
    }
    const std::vector<QByteArray>& values(const char* name) const
    {
        static const std::vector<QByteArray> none;
        const auto found = m_values.find(name);
        return found == m_values.end() ? none : found->second;
    }
    void add(const char* name, const QByteArray& value) { m_values[name].push_back(value); }

private:
    std::map<std::string, std::vector<QByteArray>> m_values;
};

// --name VALUE, --name=VALUE, -x VALUE and -xVALUE, as getopt reads them; -- ends the options.
Arguments parseArguments(int argc, char** argv);

QString helpText();

// A bash script that completes the option names, the choices of options with fixed choices and
// file names after options that take a file, all read from the option table.
QString bashCompletion();

// What the command line asks for, read and checked before any file is touched.
struct Request
{
    GenerationOptions options;
    qint64 wanted = 10;
    std::optional<quint64> seed;
    bool unique = false;
    bool countMatches = false;
    bool define = false;
    bool entropy = false;
    bool json = false;
    QByteArray separator = "\n";
    QByteArray output; // empty for standard output
    QByteArray source;
    bool plainList = false;
    // Digits and symbols to add, and the most characters the whole output may have.
    qint64 digits = 0;
    qint64 symbols = 0;
    std::optional<qint64> maxLength;
    // Lists of words to leave out.
    std::vector<QByteArray> exclude;
    // The language of the words, as the database names it once read.
    Language language;
};

Request readRequest(const Arguments& given);

// Sets the rules of the words' language, read from their database, and refuses in one line an
// option whose facts the language's words lack.
void applyLanguage(const Arguments& given, Request& request, const Language& language);

// The languages installed beside the program, each with the facts its words carry: one a line
// (code, names and facts, tab-separated) or a JSON array.
QString languagesText(const QString& programFolder, bool json);
