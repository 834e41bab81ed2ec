#include "FakeWindow.h"

#include <QtTest>

// The status line on the application layer: what it counts as the options change, and what a word
// drawn among the matching ones is worth.
class StatusLineTest : public QObject
{
    Q_OBJECT

private slots:
    void countsAndBitsFollowTheOptions_data();
    void countsAndBitsFollowTheOptions();
};

using Changes = QList<std::pair<int, int>>; // option, state

void StatusLineTest::countsAndBitsFollowTheOptions_data()
{
    using O = OptionsModel;
    QTest::addColumn<Changes>("changes");
    QTest::addColumn<QString>("status");
    // clang-format off
    QTest::newRow("American, every word") << Changes { { O::LeaveOutOffensive, 2 } } << "5 of 5 words match \u00b7 2.32 bits a word";
    // Pear twice in five: the entropy of the outputs, not the log of the rows.
    QTest::newRow("proper case makes pear and Pear one output") << Changes { { O::LeaveOutOffensive, 2 }, { O::UpperCaseFirst, Qt::Checked } } << "5 of 5 words match \u00b7 1.92 bits a word";
    QTest::newRow("defaults leave out words not for a class") << Changes {} << "4 of 5 words match \u00b7 2.00 bits a word";
    QTest::newRow("leaving out offensive words alone lets them in") << Changes { { O::LeaveOutOffensive, 1 } } << "5 of 5 words match \u00b7 2.32 bits a word";
    QTest::newRow("verbs") << Changes { { O::Kind, 2 } } << "1 of 5 words matches \u00b7 0.00 bits a word";
    QTest::newRow("Canadian") << Changes { { O::LeaveOutOffensive, 2 }, { O::Spellings, 2 } } << "5 of 5 words match \u00b7 2.32 bits a word";
    QTest::newRow("British") << Changes { { O::Spellings, 1 } } << "4 of 4 words match \u00b7 2.00 bits a word";
    QTest::newRow("a topic, action") << Changes { { O::Topic, 1 } } << "1 of 5 words matches \u00b7 0.00 bits a word";
    QTest::newRow("2 syllables") << Changes { { O::Syllables, 2 } } << "1 of 5 words matches \u00b7 0.00 bits a word";
    // clang-format on
}

void StatusLineTest::countsAndBitsFollowTheOptions()
{
    QFETCH(Changes, changes);
    QFETCH(QString, status);
    QLocale::setDefault(QLocale::c());
    FakeWindow w;
    using namespace Spelling;
    const quint8 all = American | British | Canadian;
    // zorp stands for a word not for a class, colour for a Canadian-only one.
    w.fake.words.words = { "pear", "Pear", "plum", "zorp", "colour", "walk" };
    w.fake.words.facts = { { "pear", { 10, WordKind::Noun, all, 0 } },
        { "Pear", { 10, WordKind::Noun, all, 0 } }, { "plum", { 10, WordKind::Noun, all, 0 } },
        { "zorp", { 50, WordKind::Noun, American, WordMark::Classroom } },
        { "colour", { 10, WordKind::Noun, Canadian, 0 } },
        { "walk", { 35, WordKind::Verb, all, 0, 5, 2 } } };
    w.statusLine.load();
    // Each change is counted again by itself.
    for (const auto& [option, state] : changes)
        w.options().setState(OptionsModel::Option(option), state);
    QTRY_COMPARE(w.status, status);
}

QTEST_GUILESS_MAIN(StatusLineTest)
#include "tst_statusLine.moc"
