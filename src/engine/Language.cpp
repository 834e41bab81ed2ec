#include "engine/Language.h"

QStringList Language::factNames()
{
    return { QStringLiteral("level"), QStringLiteral("kinds"), QStringLiteral("syllables"),
        QStringLiteral("rhyme"), QStringLiteral("offensive"), QStringLiteral("classroom"),
        QStringLiteral("topic"), QStringLiteral("definitions") };
}

QString Language::shownName() const
{
    return native.isEmpty() || native == name ? name : QStringLiteral("%1 (%2)").arg(name, native);
}

void Language::applyTo(WordRules& rules) const
{
    rules.vowels = vowels;
    if (!hasSpellings())
        rules.spellings = 0;
}

Language Language::fromAbout(const std::map<QString, QString>& about)
{
    Language language;
    const auto value = [&about](const char* key, QString& into) {
        const auto found = about.find(QLatin1String(key));
        if (found != about.end() && !found->second.trimmed().isEmpty())
            into = found->second.trimmed();
    };
    value("language", language.code);
    value("name", language.name);
    value("native", language.native);
    value("source", language.source);
    QString vowels;
    value("vowels", vowels);
    if (!vowels.isEmpty())
        language.vowels = vowels.toLower();
    // A list that names no fact we know would leave every rule refused: only names we know count,
    // and an absent list keeps every fact.
    if (const auto found = about.find(QStringLiteral("facts")); found != about.end()) {
        language.facts.clear();
        for (const QString& fact : found->second.split(u','))
            if (factNames().contains(fact.trimmed()))
                language.facts += fact.trimmed();
    }
    const auto definitions = about.find(QStringLiteral("definitions"));
    language.translations = definitions != about.end()
        && definitions->second.trimmed() == QLatin1String("translation");
    return language;
}
