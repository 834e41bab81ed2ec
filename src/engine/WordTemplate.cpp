#include "engine/WordTemplate.h"

#include "engine/OptionTable.h"
#include "engine/RuleError.h"
#include "engine/WordFacts.h"

#include <QStringList>

namespace WordTemplates {

namespace {

    TemplateSlot slotNamed(const QByteArray& name)
    {
        TemplateSlot slot;
        slot.shown = u'{' + QString::fromUtf8(name) + u'}';
        if (name == "digit") {
            slot.fill = TemplateSlot::Fill::Digit;
            return slot;
        }
        if (name == "symbol") {
            slot.fill = TemplateSlot::Fill::Symbol;
            return slot;
        }
        QStringList kinds;
        for (const OptionTable::Choice& choice : OptionTable::row(OptionIds::Kind).choices) {
            if (!choice.name)
                continue;
            if (name == choice.name) {
                slot.wordKind = quint8(choice.rule);
                return slot;
            }
            kinds += QStringLiteral("{%1}").arg(QLatin1String(choice.name));
        }
        for (int t = 1; t <= Topic::count; ++t) {
            if (name == Topic::names[t - 1]) {
                slot.topic = t;
                return slot;
            }
        }
        throw RuleError(QStringLiteral("has no slot %1: its slots are %2, a topic of --topic, "
                                       "{digit} and {symbol}; {{ and }} write braces")
                            .arg(slot.shown, kinds.join(QStringLiteral(", "))));
    }

} // namespace

WordTemplate parse(const QByteArray& text)
{
    WordTemplate result;
    QByteArray literal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // {{ and }} are braces, as in the format strings of many languages; a lone } is one too.
        const bool doubled = i + 1 < text.size() && text[i + 1] == text[i];
        if (text[i] != '{' || doubled) {
            literal += text[i];
            i += doubled && (text[i] == '{' || text[i] == '}');
            continue;
        }
        const qsizetype close = text.indexOf('}', i + 1);
        if (close < 0)
            throw RuleError(QStringLiteral("has a { without its }: {{ writes a brace"));
        result.literals.push_back(literal);
        literal.clear();
        result.blanks.push_back(slotNamed(text.mid(i + 1, close - i - 1)));
        i = close;
    }
    result.literals.push_back(literal);
    if (result.blanks.empty())
        throw RuleError(QStringLiteral("needs at least one slot, such as {noun}"));
    return result;
}

WordTemplate acrostic(const QString& word, const QByteArray& separator)
{
    // Composed as the word list's words are, so that an accent typed apart still names its letter.
    const QString letters = word.normalized(QString::NormalizationForm_C);
    WordTemplate result;
    result.literals.emplace_back();
    for (qsizetype i = 0; i < letters.size(); ++i) {
        const bool pair = letters[i].isHighSurrogate() && i + 1 < letters.size()
            && letters[i + 1].isLowSurrogate();
        const QString letter = letters.mid(i, pair ? 2 : 1);
        if (!QChar::isLetter(pair ? QChar::surrogateToUcs4(letters[i], letters[i + 1])
                                  : char32_t(letters[i].unicode())))
            throw RuleError(QStringLiteral("needs letters alone, not '%1'").arg(letter));
        i += pair;
        if (!result.blanks.empty())
            result.literals.push_back(separator);
        TemplateSlot slot;
        slot.shown = letter;
        slot.start = letter;
        result.blanks.push_back(slot);
    }
    if (result.blanks.empty())
        throw RuleError(QStringLiteral("needs a word"));
    result.literals.emplace_back();
    return result;
}

} // namespace WordTemplates
