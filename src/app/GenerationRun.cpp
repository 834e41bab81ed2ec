#include "app/GenerationRun.h"

#include "app/CommandWindow.h"
#include "app/OptionsModel.h"
#include "app/ResultListModel.h"
#include "app/ShownOptions.h"
#include "app/StepGuard.h"
#include "engine/AcceptanceRules.h"
#include "engine/FolderPath.h"
#include "engine/Language.h"
#include "engine/NumericText.h"
#include "engine/RuleError.h"
#include "engine/SeparatorLayout.h"
#include "engine/WordDrawer.h"
#include "engine/WordStore.h"
#include "platform/LocalFilePath.h"

#include <QScopeGuard>

namespace {

using O = OptionsModel;

const QString stopCaption = QStringLiteral("Stop");

// The text of a length bound as the query takes it; anything but a whole number is refused
// before it can reach the query.
QString bound(const OptionsModel& options, O::Option option)
{
    const QString text = options.text(option);
    if (!NumericText::isWholeNumber(text))
        throw PlatformError(
            QStringLiteral("The length bound \"%1\" is not a whole number.").arg(text));
    return text;
}

// One press of "Start Generating": its phases in the order they run, each with the step numbers
// the error box reports.
class Run
{
public:
    explicit Run(CommandWindow& window)
        : f(window)
        , options(window.options())
        , platform(window.platform())
        , guard([this](const QString& message) { f.showErrorBox(message); },
              QStringLiteral("PushButton1_Click"))
    { }

    // The count, and a press that stops a run going on; false when the press ends here.
    bool checkCount();
    bool startOrStop();
    void chooseOutput();
    void choosePosition();
    void openWordSet();
    void deliverWords();
    void end();

private:
    bool attempt(qint32& i, std::optional<WordDrawer>& drawer, bool& failed);
    void writeToFile(const QString& word, qint32 i, bool& failed);

    CommandWindow& f;
    OptionsModel& options;
    const Platform& platform;
    StepGuard guard;

    // The store objects of this run; each run has its own, also a run started inside another.
    std::unique_ptr<WordConnection> connection;
    // Shared with the result list, which looks the definitions of its rows up in it.
    std::shared_ptr<const WordSet> wordSet;
    // The language of the words, as their database names it.
    Language language;
    QString database;
    bool storeFailed = false;
    qint32 limit = 0;
    QString outputPath;
    QString separatorX;
    std::optional<int> testedAt;
    int n = 0;
    qint32 delivered = 0;
    // A step that failed while delivering: the run ends there, and says so.
    bool failed = false;
};

bool Run::checkCount()
{
    std::optional<double> count;
    if (guard.jumpTest(104, [&] {
            count = NumericText::value(options.text(O::HowMany));
            return !count.has_value();
        })) {
        guard.step(334, [&] { f.showMessage(QStringLiteral("Must be number.")); });
        return false;
    }
    if (guard.jumpTest(106, [&] { return count && *count > 100000; })) {
        guard.step(332, [&] {
            f.showMessage(QStringLiteral("The number is too big because it is larger than 100000"));
        });
        return false;
    }
    limit = count ? NumericText::roundHalfEven32(*count) : 0;
    return true;
}

bool Run::startOrStop()
{
    if (guard.jumpTest(108, [&] { return f.startButtonCaption() == stopCaption; })) {
        guard.step(328, [&] { f.setStartButtonCaption(f.StartCaption); });
        guard.step(330, [&] { f.StopRequested = true; });
        return false;
    }
    guard.step(110, [&] { f.StartCaption = f.startButtonCaption(); });
    guard.step(112, [&] { f.setStartButtonCaption(stopCaption); });
    guard.step(114, [&] { f.StopRequested = false; });
    return true;
}

void Run::chooseOutput()
{
    const QString& typedLayout = SeparatorLayout::texts()[SeparatorLayout::TypedSeparator];
    if (guard.test(116, [&] { return options.chosen(O::FileOutput); })) {
        guard.step(118, [&] {
            outputPath
                = NormalizeFolderPath(options.text(O::Folder) + QStringLiteral("/Words.txt"));
        });
        if (guard.test(120, [&] { return options.text(O::Layout) == typedLayout; })) {
            do {
                guard.step(122, [&] {
                    separatorX = f.prompt(QStringLiteral("Enter x: "), QStringLiteral("Input X"));
                });
            } while (guard.jumpTest(124, [&] { return separatorX.isEmpty(); }));
        }
    } else if (guard.test(126, [&] { return options.chosen(O::ListOutput); })) {
        guard.step(128, [&] { f.resultList()->clear(); });
    }
}

void Run::choosePosition()
{
    QString position;
    const QString shown = options.text(O::LetterPosition);
    if (guard.test(130, [&] { return shown == QLatin1String("x"); })) {
        for (;;) {
            guard.step(132, [&] {
                position = f.prompt(QStringLiteral("Enter X: "), QStringLiteral("Input X"));
            });
            if (guard.test(134, [&] { return !NumericText::isNumeric(position); }))
                guard.step(136, [&] { f.showMessage(QStringLiteral("Must be a numeric entry.")); });
            if (!guard.jumpTest(138, [&] { return !NumericText::isNumeric(position); }))
                break;
        }
    } else if (guard.test(140, [&] { return shown != QLatin1String("last"); })) {
        guard.step(142, [&] { position = ShownOptions::letterPosition(shown); });
    } else {
        guard.step(144, [&] { position = QStringLiteral("last"); });
    }
    QString letterPosition;
    guard.step(146, [&] { letterPosition = position; });
    // The position as a number, worked out once; the tested position still follows each word.
    testedAt = AcceptanceRules::letterPositionOf(letterPosition);
}

void Run::openWordSet()
{
    guard.step(148, [&] { f.setMousePointer(CommandWindow::PointerHourglass); });

    // Without a store or a word set every attempt would fail the same way: such a run reports the
    // failure once and ends.
    storeFailed = !guard.step(150, [&] {
        database = ShownOptions::wordDatabase(options, platform.programFolder);
        connection = platform.words->open(database);
        language = Language::fromAbout(connection->about());
    });
    const auto makeWordSet = [&](int step, const auto& sql) {
        if (!storeFailed)
            storeFailed = !guard.step(step, [&] {
                std::unique_ptr<WordSet> words = connection->query(sql());
                words->setDefinitionsTranslate(language.translations);
                wordSet = std::move(words);
            });
    };
    const QString& select = allWordsQuery;
    if (guard.test(
            154, [&] { return options.unticked(O::MaxBound) && options.unticked(O::MinBound); })) {
        makeWordSet(156, [&] { return select; });
    } else if (guard.test(158,
                   [&] { return options.ticked(O::MaxBound) && options.ticked(O::MinBound); })) {
        if (guard.test(160, [&] { return NumericText::isNumeric(options.text(O::MinLength)); })) {
            if (guard.test(162, [&] {
                    const auto below = NumericText::isLess(
                        options.text(O::MaxLength), options.text(O::MinLength));
                    if (!below)
                        throw PlatformError(QStringLiteral("Type mismatch"));
                    return *below;
                }))
                guard.step(164, [&] { options.setText(O::MaxLength, options.text(O::MinLength)); });
        }
        makeWordSet(166, [&] {
            return select + QStringLiteral(" where length(word)>=") + bound(options, O::MinLength)
                + QStringLiteral(" AND length(word)<=") + bound(options, O::MaxLength);
        });
    } else {
        if (guard.test(168, [&] { return options.ticked(O::MaxBound); }))
            makeWordSet(170, [&] {
                return select + QStringLiteral(" where length(word)<=")
                    + bound(options, O::MaxLength);
            });
        if (guard.test(172, [&] { return options.ticked(O::MinBound); }))
            makeWordSet(174, [&] {
                return select + QStringLiteral(" where length(word)>=")
                    + bound(options, O::MinLength);
            });
    }
}

void Run::deliverWords()
{
    if (storeFailed || !wordSet || !guard.test(176, [&] { return wordSet->count() > 0; }))
        return;
    guard.step(178, [&] { n = wordSet->count(); });
    ResultListModel* list = f.resultList();
    // The list shows new rows at display rate while the run goes on, and all of them at its end.
    list->beginBatch();
    const auto batch = qScopeGuard([list] { list->endBatch(); });
    // Draws among the words that meet the rules of each attempt; the matching words are found
    // again only when the user changes a rule during the run.
    std::optional<WordDrawer> drawer;
    for (qint32 i = 1; i <= limit && !failed; ++i) {
        if (!attempt(i, drawer, failed))
            break;
    }
}

// One attempt at the i-th word; false when the run ends here. A refused word steps i back, so
// that the attempt is made again.
bool Run::attempt(qint32& i, std::optional<WordDrawer>& drawer, bool& failed)
{
    // The bar holds whole percentages; the real value is rounded like any conversion.
    guard.step(182,
        [&] { f.setProgress(NumericText::roundHalfEven32(double(i) / double(limit) * 100.0)); });
    if (guard.jumpTest(184, [&] { return f.StopRequested; }))
        return false;
    guard.step(186, [&] { f.yield(); });
    WordRules rules = ShownOptions::rules(options, testedAt, language);
    if (rules.needsFacts() && !wordSet->hasFacts()) {
        // The user's choice meets a database that cannot serve it: no fault of the program, and
        // every attempt would meet it alike.
        f.showMessage(QStringLiteral("The word database %1 has no word facts, which the chosen "
                                     "commonness level, word kind or spelling needs. Choose "
                                     "\"any level\", \"any kind\" and \"American spelling\", or "
                                     "use a word database built with word facts.")
                          .arg(database));
        failed = true;
        return false;
    }
    failed = !guard.step(190, [&] {
        if (!drawer)
            drawer.emplace(*wordSet, rules, WordDrawer::Untestable::Keep);
        else
            drawer->setRules(rules);
    });
    if (failed)
        return false;
    if (drawer->matchCount() == 0) {
        // No word can be accepted until the user changes a rule or stops the run.
        guard.step(186, [&] { f.waitForEvents(); });
        --i;
        return true;
    }
    int r = 0;
    guard.step(190, [&] { r = drawer->row(platform.random->next()); });
    if (!guard.test(194, [&] { return r >= 1 && r <= n; }))
        return true;
    QString word;
    failed = !guard.step(196, [&] { word = wordSet->word(r); });
    if (failed)
        return false;
    AcceptanceRules::Verdict verdict;
    guard.step(206, [&] { verdict = AcceptanceRules::judge(word, rules); });
    if (!verdict.letterFailure.isEmpty()) {
        // A letter that cannot be taken is reported once at its test, counts as passed, and ends
        // the run.
        static constexpr int letterSteps[] = { 232, 240, 246 };
        failed = !guard.step(letterSteps[rules.letters.front().kind],
            [&] { throw RuleError(verdict.letterFailure); });
    }

    if (!guard.test(254, [&] { return verdict.accepted; })) {
        guard.step(312, [&] { --i; });
        return true;
    }
    if (guard.test(256, [&] { return options.chosen(O::ListOutput); })) {
        ResultListModel* list = f.resultList();
        if (guard.test(258, [&] { return options.ticked(O::UpperCaseFirst); }))
            failed |= !guard.step(260,
                [&] { list->append(AcceptanceRules::ProperCase(word), wordSet, r, rules.kinds); });
        else
            failed |= !guard.step(262, [&] { list->append(word, wordSet, r, rules.kinds); });
    } else if (guard.test(264, [&] { return options.chosen(O::FileOutput); })) {
        writeToFile(word, i, failed);
    }
    if (!failed)
        delivered = i;
    return true;
}

void Run::writeToFile(const QString& word, qint32 i, bool& failed)
{
    QString output;
    if (guard.test(266, [&] { return options.ticked(O::UpperCaseFirst); }))
        guard.step(268, [&] { output = AcceptanceRules::ProperCase(word); });
    else
        guard.step(270, [&] { output = word; });

    struct LayoutSteps
    {
        int test, isLast, withJoiner, lastWord;
    };
    static constexpr LayoutSteps steps[] = { { 272, 274, 276, 278 }, { 280, 282, 284, 286 },
        { 288, 290, 292, 294 }, { 296, 298, 300, 302 }, { 304, 306, 308, 310 } };
    const QString shown = options.text(O::Layout);
    for (int layout = SeparatorLayout::MultipleLines; layout <= SeparatorLayout::TypedSeparator;
         ++layout) {
        const LayoutSteps& s = steps[layout];
        if (!guard.test(s.test, [&] { return shown == SeparatorLayout::texts()[layout]; }))
            continue;
        const bool last = !guard.test(s.isLast, [&] { return i < limit; });
        const QString joiner
            = SeparatorLayout::joiner(static_cast<SeparatorLayout::Position>(layout), separatorX);
        // A word that cannot be written is reported once; the rest would fail alike.
        failed |= !guard.step(last ? s.lastWord : s.withJoiner, [&] {
            platform.writer->WriteTextPiece(
                SeparatorLayout::piece(output, last, joiner), outputPath, i);
        });
        break;
    }
}

void Run::end()
{
    f.runEnded(delivered, f.StopRequested, failed, localFilePath(outputPath).value_or(QString()));

    guard.step(316, [&] { wordSet.reset(); });
    guard.step(318, [&] { connection.reset(); });
    guard.step(320, [&] { f.StopRequested = true; });
    guard.step(322, [&] { f.setMousePointer(CommandWindow::PointerDefault); });
    guard.step(324, [&] { f.resetProgress(); });
    guard.step(326, [&] { f.setStartButtonCaption(f.StartCaption); });
}

} // namespace

GenerationRun::GenerationRun(CommandWindow& form)
    : m_form(form)
{ }

const QString& GenerationRun::stopCaption()
{
    return ::stopCaption;
}

void GenerationRun::PushButton1_Click()
{
    Run run(m_form);
    if (!run.checkCount() || !run.startOrStop())
        return;
    run.chooseOutput();
    run.choosePosition();
    run.openWordSet();
    run.deliverWords();
    run.end();
}
