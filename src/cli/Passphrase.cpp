#include "cli/Passphrase.h"

#include "cli/Exit.h"
#include "cli/Output.h"
#include "engine/AcceptanceRules.h"
#include "engine/Entropy.h"
#include "engine/FittingChoices.h"
#include "engine/RuleError.h"
#include "engine/WordDrawer.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStringList>
#include <cmath>
#include <cstring>

namespace {

using Count = FittingChoices::Count;
using Case = GenerationOptions::WordCase;

constexpr int symbolCount = int(sizeof passphraseSymbols) - 1;

double log2Binomial(qint64 n, qint64 k)
{
    return (std::lgamma(double(n) + 1) - std::lgamma(double(k) + 1)
               - std::lgamma(double(n - k) + 1))
        / std::log(2.0);
}

// What the words are drawn from and how, and what that is worth.
struct Words
{
    std::vector<int> chosen;
    double bits = 0;
    QString told;
};

Words drawWords(const std::vector<QString>& pool, const Request& request,
    const FittingChoices::Bits& bits, qsizetype budget)
{
    const qint64 n = request.wanted;
    Words words;
    if (request.maxLength) {
        std::vector<qsizetype> lengths;
        for (const QString& text : pool)
            lengths.push_back(AcceptanceRules::characterCount(text));
        const QString none = QStringLiteral("no output of %1 words fits in %2 characters")
                                 .arg(n)
                                 .arg(*request.maxLength);
        if (budget < 0)
            fail(Failure, none);
        try {
            const FittingChoices fitting(
                lengths, int(std::min<qint64>(n, 1 << 23)), budget, request.unique);
            if (fitting.count() == 0)
                fail(Failure, none);
            words.chosen = fitting.draw(bits);
            words.bits = std::log2(static_cast<long double>(fitting.count()));
            words.told = QStringLiteral("%1 %2words of %3 that fit in %4 characters")
                             .arg(n)
                             .arg(request.unique ? QStringLiteral("different ") : QString())
                             .arg(pool.size())
                             .arg(*request.maxLength);
        } catch (const RuleError& error) {
            fail(Failure, QStringLiteral("--max-length %1").arg(error.description()));
        }
        return words;
    }
    if (request.unique) {
        // The first n places of a Fisher-Yates shuffle.
        std::vector<int> order(pool.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = int(i);
        for (qint64 i = 0; i < n; ++i)
            std::swap(order[size_t(i)],
                order[size_t(i) + size_t(uniformBelow(bits, pool.size() - size_t(i)))]);
        words.chosen.assign(order.begin(), order.begin() + n);
        words.bits = Entropy::outputBits(qint64(pool.size()), n, true);
        words.told = QStringLiteral("%1 different words of %2").arg(n).arg(pool.size());
        return words;
    }
    for (qint64 i = 0; i < n; ++i)
        words.chosen.push_back(int(uniformBelow(bits, pool.size())));
    qint64 texts = 0;
    const double perWord = Entropy::bitsPerDraw(
        int(pool.size()), [&](int t) { return pool[size_t(t)]; }, &texts);
    words.bits = double(n) * perWord;
    words.told = QStringLiteral("%1 words, each one of %2").arg(n).arg(texts);
    return words;
}

// One output: the first word, then the other words and the additions in a uniformly random
// order. The separator goes in as the bytes given, whether or not they are UTF-8.
QByteArray composeOne(
    const std::vector<QString>& texts, const Request& request, const FittingChoices::Bits& bits)
{
    std::vector<char> order(texts.size() - 1, 'w');
    order.insert(order.end(), size_t(request.digits), 'd');
    order.insert(order.end(), size_t(request.symbols), 's');
    shuffle(bits, order);
    QByteArray text = texts.front().toUtf8();
    size_t next = 1;
    for (const char item : order) {
        if (item == 'w')
            text += request.separator + texts[next++].toUtf8();
        else if (item == 'd')
            text += char('0' + int(uniformBelow(bits, 10)));
        else
            text += passphraseSymbols[uniformBelow(bits, symbolCount)];
    }
    return text;
}

// Writes the outputs, each ended by a line feed, or with --json as a JSON array of strings, one a
// line.
void writeOutputs(Output& out, const Request& request, const std::vector<QByteArray>& outputs)
{
    if (!request.json) {
        for (const QByteArray& text : outputs) {
            out.put(text);
            out.put("\n", 1);
        }
        return;
    }
    out.put("[\n", 2);
    for (size_t i = 0; i < outputs.size(); ++i) {
        // Qt writes a string only inside an array or an object: the brackets come off.
        const QByteArray array = QJsonDocument(QJsonArray { QString::fromUtf8(outputs[i]) })
                                     .toJson(QJsonDocument::Compact);
        out.put(array.constData() + 1, array.size() - 2);
        if (i + 1 < outputs.size())
            out.put(",\n", 2);
    }
    out.put("\n]\n", 3);
}

} // namespace

bool composesOutput(const Request& request)
{
    return request.digits || request.symbols || request.maxLength
        || request.options.wordCase == Case::First;
}

bool holdsAddition(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c >= u'0' && c <= u'9')
            || (c.unicode() < 0x80 && std::strchr(passphraseSymbols, char(c.unicode())));
    });
}

QString writeComposed(const WordSet& words, const WordDrawer& drawer, const Request& request,
    const std::vector<QString>& distinct)
{
    ComposerBits source(request.seed);
    const FittingChoices::Bits bits = source.bits();
    std::vector<QString> pool = distinct;
    if (pool.empty()) {
        for (int place = 0; place < drawer.matchCount(); ++place)
            pool.push_back(
                AcceptanceRules::delivered(words.word(drawer.rowAt(place)), request.options));
    }
    const qint64 n = request.wanted;
    const qint64 added = request.digits + request.symbols;
    const QString separator = QString::fromUtf8(request.separator);
    const qsizetype budget = request.maxLength.value_or(0) - added
        - std::max<qint64>(0, n - 1) * AcceptanceRules::characterCount(separator);
    Words drawn = drawWords(pool, request, bits, budget);
    std::vector<QByteArray> outputs;
    for (qint64 k = 0; k < request.outputs && n > 0; ++k) {
        // Each output drawn anew, as the first was.
        if (k > 0)
            drawn.chosen = drawWords(pool, request, bits, budget).chosen;
        std::vector<QString> texts;
        for (const int t : drawn.chosen)
            texts.push_back(pool[size_t(t)]);
        if (request.options.wordCase == Case::First)
            texts.front() = AcceptanceRules::ProperCase(texts.front());
        outputs.push_back(composeOne(texts, request, bits));
    }
    bool atLeast = false;
    if (request.options.wordCase == Case::First && n > 0) {
        // The first word's texts in title case: two that it makes alike (rare letters only) are
        // one output, which the figure allows for.
        QHash<QString, qint64> alike;
        qint64 most = 1;
        for (const QString& text : pool)
            most = std::max(most, ++alike[AcceptanceRules::ProperCase(text)]);
        if (!request.maxLength && !request.unique) {
            const double first = Entropy::bitsPerDraw(int(pool.size()),
                [&](int t) { return AcceptanceRules::ProperCase(pool[size_t(t)]); });
            drawn.bits = first + double(n - 1) * drawn.bits / double(n);
        } else if (most > 1) {
            drawn.bits -= std::log2(double(most));
            atLeast = true;
        }
    }

    Output out(request.output);
    writeOutputs(out, request, outputs);
    out.commit();

    QString line = QStringLiteral("%1%2 bits of entropy: %3 bits from %4")
                       .arg(atLeast ? QStringLiteral("at least ") : QString())
                       .arg(drawn.bits, 0, 'f', 2)
                       .arg(drawn.bits, 0, 'f', 2)
                       .arg(drawn.told);
    if (n > 0 && added > 0) {
        const double additions = log2Binomial(n - 1 + added, added)
            + log2Binomial(added, request.digits) + double(request.digits) * std::log2(10.0)
            + double(request.symbols) * std::log2(double(symbolCount));
        QStringList kinds;
        for (const auto& [count, kind] :
            { std::pair(request.digits, "digit"), std::pair(request.symbols, "symbol") }) {
            if (count > 0)
                kinds += QStringLiteral("%1 %2%3").arg(count).arg(kind).arg(count > 1 ? "s" : "");
        }
        line = QStringLiteral("%1%2 bits of entropy: %3 bits from %4, %5 bits from %6 and where "
                              "they stand")
                   .arg(atLeast ? QStringLiteral("at least ") : QString())
                   .arg(drawn.bits + additions, 0, 'f', 2)
                   .arg(drawn.bits, 0, 'f', 2)
                   .arg(drawn.told)
                   .arg(additions, 0, 'f', 2)
                   .arg(kinds.join(QStringLiteral(" and ")));
    }
    if (request.seed)
        line += QStringLiteral("; seeded, so no secret");
    return line;
}
