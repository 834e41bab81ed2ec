#include "generation/GenerationRun.h"

#include "controls/StepGuard.h"
#include "generation/AcceptanceRules.h"
#include "generation/FolderPath.h"
#include "generation/NumericText.h"
#include "generation/RandomInteger.h"
#include "results/ResultListModel.h"
#include "results/SeparatorLayout.h"
#include "window/Form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString stopCaption = QStringLiteral("Stop");

bool ticked(const QCheckBox* box)
{
    return box->checkState() == Qt::Checked;
}

bool unticked(const QCheckBox* box)
{
    return box->checkState() == Qt::Unchecked;
}

double numberOf(const QString& text)
{
    const auto value = NumericText::value(text);
    if (!value)
        throw PlatformError(QStringLiteral("Type mismatch"));
    return *value;
}

} // namespace

GenerationRun::GenerationRun(Form1& form)
    : m_form(form)
{ }

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

    if (guard.jumpTest(108, [&] { return f.PushButton1->text() == stopCaption; })) {
        guard.step(328, [&] { f.PushButton1->setText(f.StartCaption); });
        guard.step(330, [&] { f.StopRequested = true; });
        return;
    }

    guard.step(110, [&] { f.StartCaption = f.PushButton1->text(); });
    guard.step(112, [&] { f.PushButton1->setText(stopCaption); });
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
        guard.step(142, [&] {
            static const QStringList ordinals { QStringLiteral("1st"), QStringLiteral("2nd"),
                QStringLiteral("3rd"), QStringLiteral("4rd") };
            const qsizetype ordinal = ordinals.indexOf(f.Combo2->currentText());
            position = ordinal >= 0
                ? QString::number(ordinal + 1)
                : NumericText::wholeNumberText(NumericText::leadingNumber(f.Combo2->currentText()));
        });
    } else {
        guard.step(144, [&] { position = QStringLiteral("last"); });
    }
    QString letterPosition;
    guard.step(146, [&] { letterPosition = position; });
    // The position as a number, worked out once; the tested position still follows each word.
    const bool lastLetter = letterPosition == QLatin1String("last");
    qint32 p = 0;
    if (!lastLetter) {
        const auto number = NumericText::value(letterPosition);
        p = NumericText::roundHalfEven32(
            number ? *number : NumericText::leadingNumber(letterPosition));
    }

    guard.step(148, [&] { f.setMousePointer(Form1::PointerHourglass); });

    // Without a store or a word set every attempt would fail the same way: such a run reports the
    // failure once and ends.
    bool storeFailed = !guard.step(150, [&] {
        connection = platform.words->open(platform.programFolder + QStringLiteral("/dbWords.mdb"));
    });
    const auto makeWordSet = [&](int step, const QString& sql) {
        if (!storeFailed)
            storeFailed = !guard.step(step, [&] { wordSet = connection->query(sql); });
    };
    if (guard.test(154, [&] { return unticked(f.Check5) && unticked(f.Check6); })) {
        makeWordSet(156, QStringLiteral("select * from words"));
    } else if (guard.test(158, [&] { return ticked(f.Check5) && ticked(f.Check6); })) {
        if (guard.test(160, [&] { return NumericText::isNumeric(f.Text2->text()); })) {
            if (guard.test(
                    162, [&] { return numberOf(f.Text6->text()) < numberOf(f.Text2->text()); }))
                guard.step(164, [&] { f.Text6->setText(f.Text2->text()); });
        }
        makeWordSet(166,
            QStringLiteral("select * from words where length(word)>=") + f.Text2->text()
                + QStringLiteral(" AND length(word)<=") + f.Text6->text());
    } else {
        if (guard.test(168, [&] { return ticked(f.Check5); }))
            makeWordSet(
                170, QStringLiteral("select * from words where length(word)<=") + f.Text6->text());
        if (guard.test(172, [&] { return ticked(f.Check6); }))
            makeWordSet(
                174, QStringLiteral("select * from words where length(word)>=") + f.Text2->text());
    }

    if (!storeFailed && wordSet && guard.test(176, [&] { return wordSet->count() > 0; })) {
        int n = 0;
        guard.step(178, [&] { n = wordSet->count(); });
        ResultListModel* list = f.resultList();
        bool failed = false;
        QString word;
        // The list shows new rows at display rate while the run goes on, and all of them at its
        // end.
        struct Batch
        {
            ResultListModel* list;
            explicit Batch(ResultListModel* l)
                : list(l)
            {
                list->beginBatch();
            }
            ~Batch() { list->endBatch(); }
            Batch(const Batch&) = delete;
            Batch& operator=(const Batch&) = delete;
        } batch(list);
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
            int r = 0;
            guard.step(190, [&] { r = RandomInteger(platform.random->next(), n); });
            if (!guard.test(194, [&] { return r >= 1 && r <= n; }))
                continue;
            failed = !guard.step(196, [&] { word = wordSet->word(r); });
            if (failed)
                break;
            int testedPosition = 0;
            const int length = int(word.size());
            if (guard.test(198, [&] { return lastLetter; }))
                guard.step(200, [&] { testedPosition = length; });
            else if (guard.test(202, [&] { return length < p; }))
                guard.step(204, [&] { testedPosition = length; });
            else
                testedPosition = p;
            guard.step(206, [&] { accepted = true; });

            if (guard.test(208, [&] { return ticked(f.Check2); })) {
                if (!guard.test(210,
                        [&] { return AcceptanceRules::startRuleHolds(word, f.Text3->text()); }))
                    guard.step(214, [&] { accepted = false; });
            }
            if (guard.test(218, [&] { return ticked(f.Check3); })) {
                if (!guard.test(
                        220, [&] { return AcceptanceRules::endRuleHolds(word, f.Text4->text()); }))
                    guard.step(224, [&] { accepted = false; });
            }
            if (guard.test(228, [&] { return ticked(f.Check4); })) {
                const QString required = f.Combo3->currentText();
                // A letter that cannot be taken is reported once, counts as passed, and ends the
                // run.
                const int before = guard.failures();
                bool holds = true;
                if (guard.test(230, [&] { return required == QLatin1String("[vowel]"); })) {
                    holds = guard.test(232, [&] {
                        return AcceptanceRules::isVowel(
                            AcceptanceRules::letterAt(word, testedPosition));
                    });
                } else if (guard.test(
                               238, [&] { return required == QLatin1String("[consonant]"); })) {
                    holds = guard.test(240, [&] {
                        return !AcceptanceRules::isVowel(
                            AcceptanceRules::letterAt(word, testedPosition));
                    });
                } else {
                    holds = guard.test(246, [&] {
                        return AcceptanceRules::letterRuleHolds(
                            AcceptanceRules::letterAt(word, testedPosition), required);
                    });
                }
                if (!holds)
                    accepted = false;
                failed = guard.failures() > before;
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
        }
    }

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
