#include "app/StatusLine.h"

#include "app/CommandWindow.h"
#include "app/OptionsModel.h"
#include "app/ShownOptions.h"
#include "engine/AcceptanceRules.h"
#include "engine/Entropy.h"
#include "engine/NumericText.h"
#include "engine/RuleError.h"
#include "engine/WordDrawer.h"
#include "engine/WordStore.h"

#include <QLocale>

namespace {

// Every number on the line is grouped as the user's locale groups it (none in the C locale).
QString number(int value)
{
    return QLocale().toString(value);
}

QString words(int count)
{
    return count == 1 ? QStringLiteral("1 word") : number(count) + QStringLiteral(" words");
}

QString rows(int count)
{
    return count == 1 ? QStringLiteral("1 row") : number(count) + QStringLiteral(" rows");
}

std::optional<qsizetype> lengthBound(const QString& text)
{
    if (!NumericText::isWholeNumber(text))
        return std::nullopt;
    return qsizetype(NumericText::roundHalfEven32(*NumericText::value(text)));
}

} // namespace

StatusLine::StatusLine(CommandWindow& form)
    : m_form(form)
{
    // A count over every word takes some tens of milliseconds with a start or end rule: it waits
    // for a pause in the typing, so that a burst of changes is counted once and keys never wait.
    m_recount.setSingleShot(true);
    m_recount.setInterval(150);
    connect(&m_recount, &QTimer::timeout, this, &StatusLine::recount);
    connect(&form.options(), &OptionsModel::changed, this, [this](OptionsModel::Option option) {
        // Another language's words replace the words counted.
        if (option == OptionsModel::Language && m_loaded)
            load();
        else if (OptionTable::row(option).recounts)
            optionsChanged();
    });
}

StatusLine::~StatusLine() = default;

void StatusLine::load()
{
    const Platform& platform = m_form.platform();
    m_loaded = true;
    try {
        const auto connection = platform.words->open(
            ShownOptions::wordDatabase(m_form.options(), platform.programFolder));
        m_language = Language::fromAbout(connection->about());
        m_words = connection->query(allWordsQuery);
    } catch (const std::exception&) {
        // The line is a help, not a command: without the list it stays empty, and a run
        // reports the failure the usual way.
        m_words.reset();
    }
    recount();
}

void StatusLine::optionsChanged()
{
    if (m_words)
        m_recount.start();
}

void StatusLine::recount()
{
    m_recount.stop();
    if (!m_words)
        return;
    std::optional<WordRules> rules = rulesShown(m_form.options(), m_language);
    const auto count = [this](const WordRules& rules) {
        return WordDrawer(*m_words, rules, WordDrawer::Untestable::Drop).matchCount();
    };
    const bool proper = m_form.options().ticked(OptionsModel::UpperCaseFirst);
    try {
        // Out of the words of the chosen spelling where the database knows it: a word of another
        // spelling is no word the user asked for.
        int total = m_words->count();
        if (rules && m_words->hasFacts()) {
            WordRules spelled;
            spelled.spellings = rules->spellings;
            spelled.allowOffensive = true;
            total = count(spelled);
        }
        if (!rules) {
            show(countText(0, total, 0));
            return;
        }
        const WordDrawer drawer(*m_words, *rules, WordDrawer::Untestable::Drop);
        const double bits = Entropy::bitsPerDraw(drawer.matchCount(), [&](int place) {
            const QString word = m_words->word(drawer.rowAt(place));
            return proper ? AcceptanceRules::ProperCase(word) : word;
        });
        show(countText(drawer.matchCount(), total, bits));
    } catch (const RuleError& error) {
        QString text = error.description();
        text[0] = text[0].toUpper();
        show(text);
    }
}

void StatusLine::runEnded(int delivered, bool stopped, bool failed, const QString& file)
{
    m_recount.stop();
    // A run that delivered nothing found no word to deliver: the count says why.
    if (delivered == 0 && !failed)
        recount();
    else
        show(runText(delivered, stopped, failed, file));
}

void StatusLine::commandDone(const QString& text)
{
    m_recount.stop();
    show(text);
}

void StatusLine::show(const QString& text)
{
    m_form.showStatus(text);
}

std::optional<WordRules> StatusLine::rulesShown(
    const OptionsModel& options, const Language& language)
{
    using O = OptionsModel;
    // An entered position is asked for at Start; until then the letter rule cannot be counted.
    const QString position = options.text(O::LetterPosition);
    const bool entered = position == QLatin1String("x");
    WordRules rules = ShownOptions::rules(options,
        entered ? std::nullopt
                : AcceptanceRules::letterPositionOf(ShownOptions::letterPosition(position)),
        language);
    if (entered)
        rules.letters.clear();
    if (options.ticked(O::MinBound) && !(rules.minLength = lengthBound(options.text(O::MinLength))))
        return std::nullopt;
    if (options.ticked(O::MaxBound) && !(rules.maxLength = lengthBound(options.text(O::MaxLength))))
        return std::nullopt;
    if (ShownOptions::raisesMaximum(options))
        rules.maxLength = rules.minLength;
    return rules;
}

QString StatusLine::countText(int matching, int total, double bits)
{
    // Not the options' fault: there is nothing to match.
    if (total == 0)
        return QStringLiteral("The word database holds no words");
    if (matching == 0)
        return QStringLiteral("No word matches these options");
    return QStringLiteral("%1 of %2 %3 \u00b7 %4 bits a word")
        .arg(number(matching), words(total), matching == 1 ? "matches" : "match",
            QLocale().toString(bits, 'f', 2));
}

QString StatusLine::runText(int delivered, bool stopped, bool failed, const QString& file)
{
    // Not the words of a finished run: the error box said what went wrong, the line says so too.
    if (failed)
        return QStringLiteral("Ended by an error after %1%2")
            .arg(words(delivered),
                file.isEmpty() ? QString() : QStringLiteral(" written to ") + file);
    if (stopped)
        return QStringLiteral("Stopped after %1").arg(words(delivered));
    if (file.isEmpty())
        return QStringLiteral("%1 in the list").arg(words(delivered));
    return QStringLiteral("%1 written to %2").arg(words(delivered), file);
}

QString StatusLine::copiedText(int rowCount)
{
    return rows(rowCount) + QStringLiteral(" copied");
}

QString StatusLine::savedText(int wordCount, const QString& file)
{
    return QStringLiteral("Saved %1 to %2").arg(words(wordCount), file);
}

QString StatusLine::exportedText(int rowCount)
{
    return rows(rowCount) + QStringLiteral(" exported to a new worksheet");
}

QString StatusLine::clearedText()
{
    return QStringLiteral("List cleared");
}

QString StatusLine::deletedText(int rowsLeft)
{
    return QStringLiteral("1 row deleted, %1 left").arg(number(rowsLeft));
}
