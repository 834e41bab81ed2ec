#include "cli/Template.h"

#include "cli/Exit.h"
#include "cli/Output.h"
#include "cli/Passphrase.h"
#include "engine/AcceptanceRules.h"
#include "engine/Concatenation.h"
#include "engine/RuleError.h"
#include "engine/WordDrawer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QStringList>
#include <map>

namespace {

using Count = Concatenation::Count;

// The texts a slot can take: the matching words' texts, as delivered, that meet it, each once.
std::vector<QByteArray> slotTexts(const TemplateSlot& slot, const WordSet& words,
    const WordDrawer& drawer, const Request& request)
{
    std::vector<QByteArray> texts;
    if (slot.fill != TemplateSlot::Fill::Word) {
        const QByteArray all
            = slot.fill == TemplateSlot::Fill::Digit ? "0123456789" : passphraseSymbols;
        for (const char c : all)
            texts.emplace_back(1, c);
        return texts;
    }
    const bool byFacts = slot.wordKind || slot.topic;
    if (byFacts && !words.hasFacts())
        fail(Failure,
            QStringLiteral("%1 needs word facts, which this word list does not have")
                .arg(slot.shown));
    // As for --kind and --topic: a language whose words lack the fact says so.
    if (byFacts && !request.language.has(slot.wordKind ? "kinds" : "topic"))
        lacksFact(slot.shown,
            slot.wordKind ? QStringLiteral("parts of speech") : QStringLiteral("topics"),
            request.language.name);
    WordRules starts;
    starts.start = slot.start;
    const AcceptanceRules::Judge judge(starts);
    QSet<QByteArray> seen;
    for (int place = 0; place < drawer.matchCount(); ++place) {
        const int row = drawer.rowAt(place);
        if (byFacts) {
            const WordFacts facts = words.facts(row);
            if ((slot.wordKind && !(facts.kinds & slot.wordKind))
                || (slot.topic && facts.topic != slot.topic))
                continue;
        }
        if (slot.start && !judge(words.wordText(row)).accepted)
            continue;
        QByteArray text = AcceptanceRules::delivered(words.wordText(row), request.options).toUtf8();
        if (!seen.contains(text)) {
            seen.insert(text);
            texts.push_back(std::move(text));
        }
    }
    if (texts.empty())
        fail(Failure,
            slot.start
                ? QStringLiteral("no word that starts with '%1' meets these rules").arg(slot.shown)
                : QStringLiteral("no word for %1 meets these rules").arg(slot.shown));
    return texts;
}

QString decimal(Count n)
{
    QString digits;
    do {
        digits.prepend(QChar(u'0' + int(n % 10)));
        n /= 10;
    } while (n != 0);
    return digits;
}

} // namespace

QString writeTemplate(const WordSet& words, const WordDrawer& drawer, const Request& request)
{
    const WordTemplate& shape = *request.wordTemplate;
    const QString option
        = request.acrostic ? QStringLiteral("--acrostic") : QStringLiteral("--template");
    // Slots alike share their texts: an acrostic's repeated letter is looked up once.
    std::map<QString, std::vector<QByteArray>> bySlot;
    std::vector<std::vector<QByteArray>> sets;
    QStringList told;
    for (const TemplateSlot& slot : shape.blanks) {
        auto found = bySlot.find(slot.shown);
        if (found == bySlot.end())
            found = bySlot.emplace(slot.shown, slotTexts(slot, words, drawer, request)).first;
        sets.push_back(found->second);
        told += QStringLiteral("%1 one of %2")
                    .arg(request.acrostic ? u'\'' + slot.shown + u'\'' : slot.shown)
                    .arg(found->second.size());
    }
    std::optional<Concatenation> made;
    try {
        made.emplace(shape.literals, std::move(sets));
    } catch (const RuleError& error) {
        fail(Failure, option + u' ' + error.description());
    }

    ComposerBits source(request.seed);
    const FittingChoices::Bits bits = source.bits();
    const auto below = [&](size_t n) { return int(uniformBelow(bits, n)); };
    Output out(request.output);
    if (request.json)
        out.put("[\n", 2);
    std::vector<int> chosen(made->size());
    for (qint64 k = 0; k < request.outputs; ++k) {
        do {
            for (size_t i = 0; i < chosen.size(); ++i)
                chosen[i] = below(made->set(i).size());
        } while (!made->standsForItsText(chosen));
        if (k > 0)
            out.put(request.json ? QByteArray(",\n") : QByteArray("\n"));
        if (!request.json) {
            out.put(made->literal(0));
            for (size_t i = 0; i < chosen.size(); ++i) {
                out.put(made->set(i)[size_t(chosen[i])]);
                out.put(made->literal(i + 1));
            }
            continue;
        }
        QByteArray text = made->literal(0);
        for (size_t i = 0; i < chosen.size(); ++i)
            text += made->set(i)[size_t(chosen[i])] + made->literal(i + 1);
        // A JSON string: the array of one, without its brackets.
        out.put(QJsonDocument(QJsonArray { QString::fromUtf8(text) })
                    .toJson(QJsonDocument::Compact)
                    .chopped(1)
                    .sliced(1));
    }
    if (request.json)
        out.put("\n]", 2);
    if (request.outputs > 0 || request.json)
        out.put("\n", 1);
    out.commit();

    QString line
        = QStringLiteral("%1 bits of entropy: one of %2 different texts%3, %4")
              .arg(made->bits(), 0, 'f', 2)
              .arg(made->texts() ? decimal(*made->texts()) : QStringLiteral("more than 2^128"))
              .arg(made->alike() ? QStringLiteral(" (each once, however many ways it is made)")
                                 : QString())
              .arg(told.join(QStringLiteral(", ")));
    if (request.seed)
        line += QStringLiteral("; seeded, so no secret");
    return line;
}
