#pragma once

#include <QDir>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The word database lies beside the program: every reader finds it by this one name.
inline QString wordDatabasePath(const QString& programFolder)
{
    return programFolder + QStringLiteral("/dbWords.mdb");
}

// Whether code has the form of a BCP 47 language tag (de, pt-BR): nothing else may become part of
// a file name, so that no code reaches beyond the program's folder.
inline bool isLanguageCode(const QString& code)
{
    static const QRegularExpression tag(QStringLiteral("\\A[A-Za-z]{2,3}(-[A-Za-z0-9]{1,8})*\\z"));
    return tag.match(code).hasMatch();
}

// A language's word database beside the program, English's for en.
inline QString languageDatabasePath(const QString& programFolder, const QString& code)
{
    return code == QLatin1String("en")
        ? wordDatabasePath(programFolder)
        : programFolder + QStringLiteral("/dbWords-%1.mdb").arg(code);
}

// The codes of the languages whose word databases lie beside the program: en first when English's
// is there, the others in the order of their codes.
inline QStringList installedLanguages(const QString& programFolder)
{
    QStringList codes;
    if (QFileInfo(wordDatabasePath(programFolder)).isFile())
        codes += QStringLiteral("en");
    const QDir folder(programFolder);
    for (const QFileInfo& file : folder.entryInfoList(
             { QStringLiteral("dbWords-*.mdb") }, QDir::Files | QDir::Readable, QDir::Name)) {
        const QString code = file.fileName().mid(8).chopped(4);
        if (isLanguageCode(code) && code != QLatin1String("en"))
            codes += code;
    }
    return codes;
}
