#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

// The word database lies beside the program: every reader finds it by this one name.
inline QString wordDatabasePath(const QString& programFolder)
{
    return programFolder + QStringLiteral("/dbWords.mdb");
}

// Whether code has the form of a BCP 47 language tag (de, pt-BR): nothing else may become part of
// a file name, so that no code reaches beyond the program's folder. Checked by hand: compiling a
// pattern is a noticeable part of a one-word run.
inline bool isLanguageCode(const QString& code)
{
    // Where the run of ASCII letters (and digits, where allowed) that starts at from ends.
    const auto runEnd = [&code](qsizetype from, bool digits) {
        for (; from < code.size(); ++from) {
            const char16_t c = code[from].unicode();
            if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
                    || (digits && c >= u'0' && c <= u'9')))
                break;
        }
        return from;
    };
    qsizetype at = runEnd(0, false);
    if (at < 2 || at > 3)
        return false;
    while (at < code.size()) {
        const qsizetype end = code[at] == u'-' ? runEnd(at + 1, true) : at;
        if (end == at || end == at + 1 || end - at > 9)
            return false;
        at = end;
    }
    return true;
}

// A language's word database beside the program, English's for en.
inline QString languageDatabasePath(const QString& programFolder, const QString& code)
{
    return code == QLatin1String("en")
        ? wordDatabasePath(programFolder)
        : programFolder + QStringLiteral("/dbWords-%1.mdb").arg(code);
}

// Whether code is a language whose word database lies beside the program, readable.
inline bool languageInstalled(const QString& programFolder, const QString& code)
{
    if (!isLanguageCode(code))
        return false;
    const QFileInfo file(languageDatabasePath(programFolder, code));
    return file.isFile() && file.isReadable();
}

// The codes of the languages whose word databases lie beside the program: en first when English's
// is there, the others in the order of their codes.
inline QStringList installedLanguages(const QString& programFolder)
{
    QStringList codes;
    if (QFileInfo(wordDatabasePath(programFolder)).isFile())
        codes += QStringLiteral("en");
    // The names are matched here rather than by a name filter, whose pattern would be compiled
    // on every start of a one-word run.
    const QLatin1String prefix("dbWords-"), suffix(".mdb");
    for (const QString& name : QDir(programFolder).entryList(QDir::Files, QDir::Name)) {
        if (!name.startsWith(prefix) || !name.endsWith(suffix))
            continue;
        const QString code
            = name.sliced(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (code != QLatin1String("en") && languageInstalled(programFolder, code))
            codes += code;
    }
    return codes;
}
