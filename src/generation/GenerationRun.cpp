#include "generation/GenerationRun.h"

#include "generation/ShownOptions.h"

#include "engine/AcceptanceRules.h"
#include "engine/FolderPath.h"
#include "engine/NumericText.h"
#include "engine/RandomInteger.h"
#include "engine/SeparatorLayout.h"
#include "engine/WordDrawer.h"
#include "platform/LocalFilePath.h"
#include "results/ResultListModel.h"
#include "window/Form1.h"
#include "window/StepGuard.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>

using ShownOptions::ticked;

namespace {

const QString stopCaption = QStringLiteral("Stop");

bool unticked(const QCheckBox* box)
{
    return box->checkState() == Qt::Unchecked;
}

// The text of a length bound as the query takes it; anything but a whole number is refused
// before it can reach the query.
QString bound(const QLineEdit* field)
{
    const QString& text = field->text();
    if (!NumericText::isWholeNumber(text))
        throw PlatformError(
            QStringLiteral("The length bound \"%1\" is not a whole number.").arg(text));
    return text;
}

} // namespace

GenerationRun::GenerationRun(Form1& form)
    : m_form(form)
{ }

const QString& GenerationRun::stopCaption()
{
    return ::stopCaption;
}

void GenerationRun::PushButton1_Click()
{
    Form1& f = m_form;
    const Platform& platform = f.platform();
    StepGuard guard([&f](const QString& message) { f.showErrorBox(message); },
        QStringLiteral("PushButton1_Click"));

    // The store objects of this run; each run has its own, also a run started inside another.
    std::unique_ptr<WordConnection> connection;
    std::unique_ptr<WordSet> wordSet;

    std::optional<double> count;
    if (guard.jumpTest(104, [&] {
            count = NumericText::value(f.Text1->text());
            return !count.has_value();
        })) {
        guard.step(334, [&] { f.showMessage(QStringLiteral("Must be number.")); });
        return;
    }
    if (guard.jumpTest(106, [&] { return count && *count > 100000; })) {
        guard.step(332, [&] {
            f.showMessage(QStringLiteral("The number is too big because it is larger than 100000"));
        });
        return;
    }
    const qint32 limit = count ? NumericText::roundHalfEven32(*count) : 0;

    if (guard.jumpTest(108, [&] { return f.PushButton1->text() == stopCaption(); })) {
        guard.step(328, [&] { f.PushButton1->setText(f.StartCaption); });
        guard.step(330, [&] { f.StopRequested = true; });
        return;
    }

    guard.step(110, [&] { f.StartCaption = f.PushButton1->text(); });
    guard.step(112, [&] { f.PushButton1->setText(stopCaption()); });
    guard.step(114, [&] { f.StopRequested = false; });

    QString outputPath;
    QString separatorX;
    const QString& typedLayout = SeparatorLayout::texts()[SeparatorLayout::TypedSeparator];
    if (guard.test(116, [&] { return f.Option8->isChecked(); })) {
        guard.step(118, [&] {
            outputPath = NormalizeFolderPath(f.Text5->text() + QStringLiteral("/Words.txt"));
        });
        if (guard.test(120, [&] { return f.Combo1->currentText() == typedLayout; })) {
            do {
                guard.step(122, [&] {
                    separatorX = platform.dialogs->prompt(
                        &f, QStringLiteral("Enter x: "), QStringLiteral("Input X"));
                });
            } while (guard.jumpTest(124, [&] { return separatorX.isEmpty(); }));
        }
    } else if (guard.test(126, [&] { return f.Option7->isChecked(); })) {
        guard.step(128, [&] { f.resultList()->clear(); });
    }

    QString position;
    if (guard.test(130, [&] { return f.Combo2->currentText() == QLatin1String("x"); })) {
        for (;;) {
            guard.step(132, [&] {
                position = platform.dialogs->prompt(
                    &f, QStringLiteral("Enter X: "), QStringLiteral("Input X"));
            });
            if (guard.test(134, [&] { return !NumericText::isNumeric(position); }))
                guard.step(136, [&] { f.showMessage(QStringLiteral("Must be a numeric entry.")); });
            if (!guard.jumpTest(138, [&] { return !NumericText::isNumeric(position); }))
                break;
        }
    } else if (guard.test(140, [&] { return f.Combo2->currentText() != QLatin1String("last"); })) {
        guard.step(142, [&] { position = ShownOptions::letterPosition(f.Combo2->currentText()); });
    } else {
        guard.step(144, [&] { position = QStringLiteral("last"); });
    }
    QString letterPosition;
    guard.step(146, [&] { letterPosition = position; });
    // The position as a number, worked out once; the tested position still follows each word.
    const std::optional<int> testedAt = AcceptanceRules::letterPositionOf(letterPosition);

    guard.step(148, [&] { f.setMousePointer(Form1::PointerHourglass); });

    // Without a store or a word set every attempt would fail the same way: such a run reports the
    // failure once and ends.
    bool storeFailed = !guard.step(150, [&] {
        connection = platform.words->open(platform.programFolder + QStringLiteral("/dbWords.mdb"));
    });
    const auto makeWordSet = [&](int step, const auto& sql) {
        if (!storeFailed)
            storeFailed = !guard.step(step, [&] { wordSet = connection->query(sql()); });
    };
    if (guard.test(154, [&] { return unticked(f.Check5) && unticked(f.Check6); })) {
        makeWordSet(156, [] { return QStringLiteral("select * from words"); });
    } else if (guard.test(158, [&] { return ticked(f.Check5) && ticked(f.Check6); })) {
        if (guard.test(160, [&] { return NumericText::isNumeric(f.Text2->text()); })) {
            if (guard.test(162, [&] {
                    const auto below = NumericText::isLess(f.Text6->text(), f.Text2->text());
                    if (!below)
                        throw PlatformError(QStringLiteral("Type mismatch"));
                    return *below;
                }))
                guard.step(164, [&] { f.Text6->setText(f.Text2->text()); });
        }
        makeWordSet(166, [&] {
            return QStringLiteral("select * from words where length(word)>=") + bound(f.Text2)
                + QStringLiteral(" AND length(word)<=") + bound(f.Text6);
        });
    } else {
        if (guard.test(168, [&] { return ticked(f.Check5); }))
            makeWordSet(170, [&] {
                return QStringLiteral("select * from words where length(word)<=") + bound(f.Text6);
            });
        if (guard.test(172, [&] { return ticked(f.Check6); }))
            makeWordSet(174, [&] {
                return QStringLiteral("select * from words where length(word)>=") + bound(f.Text2);
            });
    }

    qint32 delivered = 0;
    if (!storeFailed && wordSet && guard.test(176, [&] { return wordSet->count() > 0; })) {
        int n = 0;
        guard.step(178, [&] { n = wordSet->count(); });
        ResultListModel* list = f.resultList();
        bool failed = false;
        QString word;
        // The list shows new rows at display rate while the run goes on, and all of them at its
        // end.
        list->beginBatch();
        const auto batch = qScopeGuard([list] { list->endBatch(); });
        // Draws among the words that meet the rules of each attempt; the matching words are found
        // again only when the user changes a rule during the run.
        std::optional<WordDrawer> drawer;
        for (qint32 i = 1; i <= limit && !failed; ++i) {
            // The bar holds whole percentages; the real value is rounded like any conversion.
            guard.step(182, [&] {
                f.ProgressBar1->setValue(
                    NumericText::roundHalfEven32(double(i) / double(limit) * 100.0));
            });
            if (guard.jumpTest(184, [&] { return f.StopRequested; }))
                break;
            guard.step(186, [&] { f.yield(); });
            bool accepted = false;
            const WordRules rules = ShownOptions::rules(f, testedAt);
            if (!drawer)
                drawer.emplace(*wordSet, rules, WordDrawer::Untestable::Keep);
            else
                drawer->setRules(rules);
            if (drawer->matchCount() == 0) {
                // No word can be accepted until the user changes a rule or stops the run.
                guard.step(186, [&] { f.waitForEvents(); });
                --i;
                continue;
            }
            int r = 0;
            guard.step(190, [&] { r = drawer->row(platform.random->next()); });
            if (!guard.test(194, [&] { return r >= 1 && r <= n; }))
                continue;
            failed = !guard.step(196, [&] { word = wordSet->word(r); });
            if (failed)
                break;
            AcceptanceRules::Verdict verdict;
            guard.step(206, [&] { verdict = AcceptanceRules::judge(word, rules); });
            accepted = verdict.accepted;
            if (!verdict.letterFailure.isEmpty()) {
                // A letter that cannot be taken is reported once at its test, counts as passed,
                // and ends the run.
                static constexpr int letterSteps[] = { 232, 240, 246 };
                failed = !guard.step(letterSteps[rules.letter->kind],
                    [&] { throw PlatformError(verdict.letterFailure); });
            }

            if (!guard.test(254, [&] { return accepted; })) {
                guard.step(312, [&] { --i; });
                continue;
            }
            if (guard.test(256, [&] { return f.Option7->isChecked(); })) {
                if (guard.test(258, [&] { return ticked(f.Check1); }))
                    failed |= !guard.step(
                        260, [&] { list->append(AcceptanceRules::ProperCase(word)); });
                else
                    failed |= !guard.step(262, [&] { list->append(word); });
            } else if (guard.test(264, [&] { return f.Option8->isChecked(); })) {
                QString output;
                if (guard.test(266, [&] { return ticked(f.Check1); }))
                    guard.step(268, [&] { output = AcceptanceRules::ProperCase(word); });
                else
                    guard.step(270, [&] { output = word; });

                struct LayoutSteps
                {
                    int test, isLast, withJoiner, lastWord;
                };
                static constexpr LayoutSteps steps[]
                    = { { 272, 274, 276, 278 }, { 280, 282, 284, 286 }, { 288, 290, 292, 294 },
                          { 296, 298, 300, 302 }, { 304, 306, 308, 310 } };
                const QString shown = f.Combo1->currentText();
                for (int layout = SeparatorLayout::MultipleLines;
                     layout <= SeparatorLayout::TypedSeparator; ++layout) {
                    const LayoutSteps& s = steps[layout];
                    if (!guard.test(
                            s.test, [&] { return shown == SeparatorLayout::texts()[layout]; }))
                        continue;
                    const bool last = !guard.test(s.isLast, [&] { return i < limit; });
                    const QString joiner = SeparatorLayout::joiner(
                        static_cast<SeparatorLayout::Position>(layout), separatorX);
                    // A word that cannot be written is reported once; the rest would fail alike.
                    failed |= !guard.step(last ? s.lastWord : s.withJoiner, [&] {
                        platform.writer->WriteTextPiece(
                            SeparatorLayout::piece(output, last, joiner), outputPath, i);
                    });
                    break;
                }
            }
            if (!failed)
                delivered = i;
        }
    }
    f.runEnded(delivered, f.StopRequested, localFilePath(outputPath).value_or(QString()));

    guard.step(316, [&] { wordSet.reset(); });
    guard.step(318, [&] { connection.reset(); });
    guard.step(320, [&] { f.StopRequested = true; });
    guard.step(322, [&] { f.setMousePointer(Form1::PointerDefault); });
    guard.step(324, [&] {
        f.ProgressBar1->setValue(0);
        f.ProgressBar1->setFormat(QStringLiteral("Progress Bar"));
    });
    guard.step(326, [&] { f.PushButton1->setText(f.StartCaption); });
}
