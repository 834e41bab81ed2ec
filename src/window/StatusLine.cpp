#include "window/StatusLine.h"

#include "engine/AcceptanceRules.h"
#include "engine/NumericText.h"
#include "engine/WordDrawer.h"
#include "generation/ShownOptions.h"
#include "window/Form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>

namespace {

// Numbers with the locale's group separator, also where the locale leaves it out by default.
QString number(int value)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(value);
}

QString words(int count)
{
    return count == 1 ? QStringLiteral("1 word") : number(count) + QStringLiteral(" words");
}

std::optional<qsizetype> lengthBound(const QLineEdit* field)
{
    if (!NumericText::isWholeNumber(field->text()))
        return std::nullopt;
    return qsizetype(NumericText::roundHalfEven32(*NumericText::value(field->text())));
}

} // namespace

StatusLine::StatusLine(Form1& form, QLabel* label)
    : m_form(form)
    , m_label(label)
{
    m_label->setAccessibleDescription(QStringLiteral("Status"));
    // A count over every word takes some tens of milliseconds with a start or end rule: it waits
    // for a pause in the typing, so that a burst of changes is counted once and keys never wait.
    m_recount.setSingleShot(true);
    m_recount.setInterval(150);
    connect(&m_recount, &QTimer::timeout, this, &StatusLine::recount);
    for (QLineEdit* field : { form.Text2, form.Text3, form.Text4, form.Text6 })
        connect(field, &QLineEdit::textChanged, this, &StatusLine::optionsChanged);
    for (QCheckBox* box : { form.Check2, form.Check3, form.Check4, form.Check5, form.Check6 })
        connect(box, &QCheckBox::stateChanged, this, &StatusLine::optionsChanged);
    for (QComboBox* list : { form.Combo2, form.Combo3 })
        connect(list, &QComboBox::currentIndexChanged, this, &StatusLine::optionsChanged);
}

StatusLine::~StatusLine() = default;

void StatusLine::load()
{
    const Platform& platform = m_form.platform();
    try {
        const auto connection
            = platform.words->open(platform.programFolder + QStringLiteral("/dbWords.mdb"));
        m_words = connection->query(QStringLiteral("select * from words"));
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
    const std::optional<WordRules> rules = rulesShown(m_form);
    const int matching
        = rules ? WordDrawer(*m_words, *rules, WordDrawer::Untestable::Drop).matchCount() : 0;
    show(countText(matching, m_words->count()));
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

void StatusLine::show(const QString& text)
{
    m_label->setText(text);
    m_label->setAccessibleName(text);
}

std::optional<WordRules> StatusLine::rulesShown(const Form1& form)
{
    using ShownOptions::ticked;
    // An entered position is asked for at Start; until then the letter rule cannot be counted.
    const QString position = form.Combo2->currentText();
    const bool entered = position == QLatin1String("x");
    WordRules rules = ShownOptions::rules(form,
        entered ? std::nullopt
                : AcceptanceRules::letterPositionOf(ShownOptions::letterPosition(position)));
    if (entered)
        rules.letter.reset();
    if (ticked(form.Check6) && !(rules.minLength = lengthBound(form.Text2)))
        return std::nullopt;
    if (ticked(form.Check5) && !(rules.maxLength = lengthBound(form.Text6)))
        return std::nullopt;
    // With both bounds a run raises the maximum to the minimum before it draws.
    if (rules.minLength && rules.maxLength
        && NumericText::isLess(form.Text6->text(), form.Text2->text()).value_or(false))
        rules.maxLength = rules.minLength;
    return rules;
}

QString StatusLine::countText(int matching, int total)
{
    // Not the options' fault: there is nothing to match.
    if (total == 0)
        return QStringLiteral("The word database holds no words");
    if (matching == 0)
        return QStringLiteral("No word matches these options");
    return QStringLiteral("%1 of %2 %3")
        .arg(number(matching), words(total), matching == 1 ? "matches" : "match");
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
