#pragma once

#include "engine/GenerationOptions.h"

#include <QString>
#include <QStringList>
#include <map>

// What a word database says of its language in its table about: the language's code, names,
// the facts its words carry and its vowels. A database without the table is English with every
// fact, as the English database was built before other languages came.
struct Language
{
    QString code = QStringLiteral("en");
    QString name = QStringLiteral("English");
    QString native = QStringLiteral("English");
    // Among the names of factNames().
    QStringList facts = factNames();
    // Whether the definitions are English translations rather than definitions.
    bool translations = false;
    // The letters that count as vowels, lower case.
    QString vowels = QStringLiteral("aeiou");
    QString source;

    // A fact of factNames(), or "spellings"; nothing (a rule that needs no fact) is always had.
    bool has(const QString& fact) const
    {
        return fact.isEmpty() || (fact == u"spellings" ? hasSpellings() : facts.contains(fact));
    }
    // The name in English, and the language's own where it differs: "German (Deutsch)".
    QString shownName() const;
    // Sets the rules the language decides: its vowels, and no national spelling where its words
    // carry none, which the default would ask for.
    void applyTo(WordRules& rules) const;
    // Only English words carry national spellings.
    bool hasSpellings() const { return code == QLatin1String("en"); }

    // Every fact a language's words may carry, in the order the table about lists them.
    static QStringList factNames();
    // From the rows of table about (key to value); what a row lacks stays English's.
    static Language fromAbout(const std::map<QString, QString>& about);
};
