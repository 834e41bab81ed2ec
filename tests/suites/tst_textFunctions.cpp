#include "engine/AcceptanceRules.h"
#include "engine/FittingChoices.h"
#include "engine/FolderPath.h"
#include "engine/NumericText.h"
#include "engine/OptionTable.h"
#include "engine/RandomInteger.h"
#include "engine/RuleError.h"
#include "engine/SeededRandom.h"

#include <QtTest>
#include <cmath>
#include <limits>

// The pure text and number helpers behind a generation run.
class TestTextFunctions : public QObject
{
    Q_OBJECT

private slots:
    void numericTextIsReadAsTheUserTypedIt_data();
    void numericTextIsReadAsTheUserTypedIt();
    void roundingGoesToTheEvenNeighbourWithin32Bits_data();
    void roundingGoesToTheEvenNeighbourWithin32Bits();
    void leadingNumberReadsUpToTheFirstForeignCharacter_data();
    void leadingNumberReadsUpToTheFirstForeignCharacter();

    void outputPathHasSingleSeparatorsAndAtMostTwoLeading_data();
    void outputPathHasSingleSeparatorsAndAtMostTwoLeading();

    void testedPositionFollowsEachWord_data();
    void testedPositionFollowsEachWord();
    void startAndEndRulesCompareWholeTextIgnoringCase_data();
    void startAndEndRulesCompareWholeTextIgnoringCase();
    void letterRuleKnowsOnlyFiveVowels_data();
    void letterRuleKnowsOnlyFiveVowels();
    void letterBelowPositionOneCannotBeTaken();
    void characterRulesJudgeTheWholeWord_data();
    void characterRulesJudgeTheWholeWord();
    void fittingChoicesAreCountedAndDrawnExactly_data();
    void fittingChoicesAreCountedAndDrawnExactly();
    void properCaseCapitalisesAfterBlanksAndControlSeparators_data();
    void properCaseCapitalisesAfterBlanksAndControlSeparators();

    void randomIntegerCoversOneToN_data();
    void randomIntegerCoversOneToN();
};

void TestTextFunctions::numericTextIsReadAsTheUserTypedIt_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("decimalPoint");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");

    const QChar dot = QLatin1Char('.');
    const QChar comma = QLatin1Char(',');
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("plain") << "12" << dot << true << 12.0;
    QTest::newRow("blanks around") << "  12 " << dot << true << 12.0;
    QTest::newRow("tab around") << "\t7\t" << dot << true << 7.0;
    QTest::newRow("plus sign") << "+5" << dot << true << 5.0;
    QTest::newRow("minus sign") << "-3" << dot << true << -3.0;
    QTest::newRow("fraction") << "2.5" << dot << true << 2.5;
    QTest::newRow("exponent") << "1e3" << dot << true << 1000.0;
    QTest::newRow("signed exponent") << "15E-1" << dot << true << 1.5;
    QTest::newRow("leading point") << ".5" << dot << true << 0.5;
    QTest::newRow("trailing point") << "5." << dot << true << 5.0;
    QTest::newRow("locale comma") << "1,5" << comma << true << 1.5;
    QTest::newRow("huge") << "1e999" << dot << true << inf;
    QTest::newRow("huge negative") << "-1e999" << dot << true << -inf;
    QTest::newRow("tiny") << "1e-999" << dot << true << 0.0;
    // Out of range whatever the exponent's sign says.
    QTest::newRow("huge, negative exponent") << QString(400, '5') + "e-0" << dot << true << inf;
    QTest::newRow("tiny, no exponent") << "0." + QString(400, '0') + "1" << dot << true << 0.0;
    QTest::newRow("tiny negative, positive exponent")
        << "-0." + QString(400, '0') + "1e+5" << dot << true << -0.0;
    QTest::newRow("two points") << "1.2.3" << dot << false << 0.0;
    QTest::newRow("empty") << "" << dot << false << 0.0;
    QTest::newRow("blank") << " " << dot << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << dot << false << 0.0;
    QTest::newRow("sign alone") << "+" << dot << false << 0.0;
    QTest::newRow("point alone") << "." << dot << false << 0.0;
    QTest::newRow("letters") << "abc" << dot << false << 0.0;
    QTest::newRow("digits then letters") << "12abc" << dot << false << 0.0;
    QTest::newRow("blank inside") << "1 2" << dot << false << 0.0;
    QTest::newRow("comma with point locale") << "1,5" << dot << false << 0.0;
    QTest::newRow("point with comma locale") << "1.5" << comma << false << 0.0;
}

void TestTextFunctions::numericTextIsReadAsTheUserTypedIt()
{
    QFETCH(QString, text);
    QFETCH(QChar, decimalPoint);
    QFETCH(bool, numeric);
    QFETCH(double, value);

    const std::optional<double> read = NumericText::value(text, decimalPoint);
    QCOMPARE(read.has_value(), numeric);
    QCOMPARE(NumericText::isNumeric(text, decimalPoint), numeric);
    if (numeric)
        QCOMPARE(*read, value);
}

void TestTextFunctions::roundingGoesToTheEvenNeighbourWithin32Bits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint32>("rounded");

    const qint32 low = std::numeric_limits<qint32>::min();
    const qint32 high = std::numeric_limits<qint32>::max();
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("3.5") << 3.5 << 4;
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-3.5") << -3.5 << -4;
    QTest::newRow("2.4999") << 2.4999 << 2;
    QTest::newRow("2.5001") << 2.5001 << 3;
    QTest::newRow("100000.4") << 100000.4 << 100000;
    QTest::newRow("above range") << 1e10 << high;
    QTest::newRow("below range") << -1e10 << low;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << high;
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << low;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestTextFunctions::roundingGoesToTheEvenNeighbourWithin32Bits()
{
    QFETCH(double, value);
    QFETCH(qint32, rounded);
    QCOMPARE(NumericText::roundHalfEven32(value), rounded);
}

void TestTextFunctions::leadingNumberReadsUpToTheFirstForeignCharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");

    QTest::newRow("digits then letters") << " 12abc" << 12.0;
    QTest::newRow("ordinal") << "4rd" << 4.0;
    QTest::newRow("fraction") << "2.5x" << 2.5;
    QTest::newRow("signed") << "-3 apples" << -3.0;
    QTest::newRow("exponent") << "1e2z" << 100.0;
    QTest::newRow("dangling exponent") << "7e" << 7.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
}

void TestTextFunctions::leadingNumberReadsUpToTheFirstForeignCharacter()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(NumericText::leadingNumber(text), number);
}

void TestTextFunctions::outputPathHasSingleSeparatorsAndAtMostTwoLeading_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("normalized");

    // The folder field followed by "/Words.txt", as a run builds it.
    QTest::newRow("folder with separator") << "C:/Lists//Words.txt"
                                           << "C:/Lists/Words.txt";
    QTest::newRow("folder without separator") << "C:/Lists/Words.txt"
                                              << "C:/Lists/Words.txt";
    QTest::newRow("share") << "//server/share//Words.txt"
                           << "//server/share/Words.txt";
    QTest::newRow("empty folder") << "/Words.txt"
                                  << "//Words.txt";
    QTest::newRow("absolute folder") << "/home/u//Words.txt"
                                     << "//home/u/Words.txt";
    // Separators in general.
    QTest::newRow("three leading") << "///x"
                                   << "//x";
    QTest::newRow("many leading") << "/////x//y"
                                  << "//x/y";
    QTest::newRow("three inside") << "a///b"
                                  << "a//b";
    QTest::newRow("four inside") << "a////b"
                                 << "a//b";
    QTest::newRow("only separators") << "///"
                                     << "//";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextFunctions::outputPathHasSingleSeparatorsAndAtMostTwoLeading()
{
    QFETCH(QString, path);
    QFETCH(QString, normalized);
    QCOMPARE(NormalizeFolderPath(path), normalized);
}

void TestTextFunctions::testedPositionFollowsEachWord_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("letterPosition");
    QTest::addColumn<int>("tested");

    QTest::newRow("last") << "tree"
                          << "last" << 4;
    QTest::newRow("last counts characters") << "café"
                                            << "last" << 4;
    QTest::newRow("within the word") << "together"
                                     << "4" << 4;
    QTest::newRow("beyond a short word") << "cat"
                                         << "4" << 3;
    QTest::newRow("half rounds to even") << "together"
                                         << "2.5" << 2;
    QTest::newRow("half rounds up to even") << "together"
                                            << "3.5" << 4;
    QTest::newRow("zero") << "code"
                          << "0" << 0;
    QTest::newRow("negative") << "code"
                              << "-2" << -2;
    QTest::newRow("empty word") << ""
                                << "1" << 0;
    QTest::newRow("empty word last") << ""
                                     << "last" << 0;
}

void TestTextFunctions::testedPositionFollowsEachWord()
{
    QFETCH(QString, word);
    QFETCH(QString, letterPosition);
    QFETCH(int, tested);
    QCOMPARE(
        AcceptanceRules::testedPosition(word, AcceptanceRules::letterPositionOf(letterPosition)),
        tested);
}

void TestTextFunctions::startAndEndRulesCompareWholeTextIgnoringCase_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("required");
    QTest::addColumn<bool>("startHolds");
    QTest::addColumn<bool>("endHolds");

    QTest::newRow("lower word, upper rule") << "apple"
                                            << "A" << true << false;
    QTest::newRow("upper word, lower rule") << "Apple"
                                            << "a" << true << false;
    QTest::newRow("end only") << "cat"
                              << "T" << false << true;
    QTest::newRow("accented") << "Été"
                              << "é" << true << true;
    QTest::newRow("empty rule") << "apple"
                                << "" << false << false;
    QTest::newRow("blank rule is compared") << "apple"
                                            << " " << false << false;
    QTest::newRow("blank in word") << " a "
                                   << " " << true << true;
}

void TestTextFunctions::startAndEndRulesCompareWholeTextIgnoringCase()
{
    QFETCH(QString, word);
    QFETCH(QString, required);
    QFETCH(bool, startHolds);
    QFETCH(bool, endHolds);
    WordRules start;
    start.start = required;
    WordRules end;
    end.end = required;
    QCOMPARE(AcceptanceRules::judge(word, start).accepted, startHolds);
    QCOMPARE(AcceptanceRules::judge(word, end).accepted, endHolds);
}

void TestTextFunctions::letterRuleKnowsOnlyFiveVowels_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("required");
    QTest::addColumn<bool>("holds");

    QTest::newRow("vowel") << "code" << 4 << "[vowel]" << true;
    QTest::newRow("upper-case vowel") << "CODE" << 2 << "[vowel]" << true;
    QTest::newRow("y is no vowel") << "yes" << 1 << "[vowel]" << false;
    QTest::newRow("y is a consonant") << "yes" << 1 << "[consonant]" << true;
    QTest::newRow("accented is a consonant") << "Éclair" << 1 << "[consonant]" << true;
    QTest::newRow("accented is no vowel") << "Éclair" << 1 << "[vowel]" << false;
    QTest::newRow("hyphen is a consonant") << "a-b" << 2 << "[consonant]" << true;
    QTest::newRow("vowel is no consonant") << "apple" << 1 << "[consonant]" << false;
    QTest::newRow("given letter") << "bed" << 2 << "e" << true;
    QTest::newRow("other letter") << "bad" << 2 << "e" << false;
    QTest::newRow("given letter upper case") << "BED" << 2 << "e" << true;
}

void TestTextFunctions::letterRuleKnowsOnlyFiveVowels()
{
    QFETCH(QString, word);
    QFETCH(int, position);
    QFETCH(QString, required);
    QFETCH(bool, holds);
    LetterRule rule { position, LetterRule::Letter, required };
    if (required == QLatin1String("[vowel]"))
        rule.kind = LetterRule::Vowel;
    else if (required == QLatin1String("[consonant]"))
        rule.kind = LetterRule::Consonant;
    WordRules rules;
    rules.letters = { rule };
    const auto verdict = AcceptanceRules::judge(word, rules);
    QVERIFY(verdict.letterFailure.isEmpty());
    QCOMPARE(verdict.accepted, holds);
}

void TestTextFunctions::letterBelowPositionOneCannotBeTaken()
{
    QCOMPARE(AcceptanceRules::letterAt(QStringLiteral("Cat"), 1), QStringLiteral("c"));
    QVERIFY_THROWS_EXCEPTION(RuleError, AcceptanceRules::letterAt(QStringLiteral("cat"), 0));
    QVERIFY_THROWS_EXCEPTION(RuleError, AcceptanceRules::letterAt(QStringLiteral("cat"), -1));
    QVERIFY_THROWS_EXCEPTION(RuleError, AcceptanceRules::letterAt(QString(), 0));
}

void TestTextFunctions::characterRulesJudgeTheWholeWord_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("holds");
    const auto row = [](const char* option, const QString& value, const QString& word, bool holds) {
        QTest::addRow("--%s %s on %s", option, qPrintable(value), qPrintable(word))
            << option << value << word << holds;
    };
    row("has", "Ae", "ApplE", true);
    row("has", "ax", "apple", false);
    row("has", "é", "Éclair", true);
    // A letter beyond the first 65536 is one character, not its two halves.
    row("has", "\U00010428", "\U00010400a", true);
    row("has", QString(QChar(0xD801)), "\U00010400a", false);
    row("lacks", "xyz", "apple", true);
    row("lacks", "XP", "apple", false);
    row("pattern", "c?t", "Cat", true);
    row("pattern", "c?t", "coat", false);
    row("pattern", "C?T", "cat", true);
    row("pattern", "_a_e", "cake", true);
    row("pattern", "un*able", "unable", true);
    row("pattern", "un*able", "unbearable", true);
    row("pattern", "un*able", "unables", false);
    row("pattern", "un*", "un", true);
    row("pattern", "*a*a*", "banana", true);
    row("pattern", "?\U00010428", "x\U00010400", true);
    row("pattern", "??", "x\U00010400", true);
}

void TestTextFunctions::characterRulesJudgeTheWholeWord()
{
    QFETCH(QString, option);
    QFETCH(QString, value);
    QFETCH(QString, word);
    QFETCH(bool, holds);
    GenerationOptions options;
    OptionTable::setRule(*OptionTable::commandLineRow(option, true), options, value);
    QCOMPARE(AcceptanceRules::judge(word, options.rules).accepted, holds);
}

void TestTextFunctions::fittingChoicesAreCountedAndDrawnExactly_data()
{
    QTest::addColumn<QList<qsizetype>>("lengths");
    QTest::addColumn<int>("n");
    QTest::addColumn<qsizetype>("budget");
    QTest::addColumn<bool>("distinct");
    QTest::addColumn<quint64>("count");
    const QList<qsizetype> abc { 1, 2, 3 };
    QTest::newRow("a, bb, ccc: two in 4") << abc << 2 << qsizetype(4) << false << quint64(6);
    QTest::newRow("two different in 4") << abc << 2 << qsizetype(4) << true << quint64(4);
    QTest::newRow("all fit") << abc << 3 << qsizetype(100) << false << quint64(27);
    QTest::newRow("all different fit") << abc << 3 << qsizetype(100) << true << quint64(6);
    QTest::newRow("none fits") << abc << 2 << qsizetype(1) << false << quint64(0);
    QTest::newRow("no words, one empty output") << abc << 0 << qsizetype(0) << true << quint64(1);
}

void TestTextFunctions::fittingChoicesAreCountedAndDrawnExactly()
{
    QFETCH(QList<qsizetype>, lengths);
    QFETCH(int, n);
    QFETCH(qsizetype, budget);
    QFETCH(bool, distinct);
    QFETCH(quint64, count);
    const FittingChoices choices({ lengths.begin(), lengths.end() }, n, budget, distinct);
    QCOMPARE(quint64(choices.count()), count);
    SeededRandom random;
    QSet<QList<int>> seen;
    for (int k = 0; count > 0 && k < 300; ++k) {
        const std::vector<int> drawn = choices.draw([&random] { return random.bits64(); });
        qsizetype total = 0;
        for (const int t : drawn)
            total += lengths[t];
        QVERIFY(int(drawn.size()) == n && total <= budget);
        seen.insert({ drawn.begin(), drawn.end() });
        QVERIFY(!distinct || QSet<int>(drawn.begin(), drawn.end()).size() == n);
    }
    // Every fitting output turns up, and nothing else.
    QCOMPARE(quint64(seen.size()), count);
    // Past 2^128 outputs, the count is refused rather than wrapped.
    QVERIFY_THROWS_EXCEPTION(
        RuleError, FittingChoices(std::vector<qsizetype>(1000, 1), 13, 13, false));
}

void TestTextFunctions::properCaseCapitalisesAfterBlanksAndControlSeparators_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("proper");

    QTest::newRow("two words") << "ice cream"
                               << "Ice Cream";
    QTest::newRow("all upper") << "MCDONALD"
                               << "Mcdonald";
    QTest::newRow("apostrophe joins") << "o'clock"
                                      << "O'clock";
    QTest::newRow("hyphen joins") << "well-known"
                                  << "Well-known";
    QTest::newRow("digit first") << "3d"
                                 << "3d";
    QTest::newRow("digit first, upper") << "3D"
                                        << "3d";
    QTest::newRow("accented") << "éCLAIR"
                              << "Éclair";
    QTest::newRow("leading blanks") << "  ab"
                                    << "  Ab";
    QTest::newRow("tab") << "a\tb"
                         << "A\tB";
    QTest::newRow("line feed") << "a\nb"
                               << "A\nB";
    QTest::newRow("carriage return") << "a\rb"
                                     << "A\rB";
    QTest::newRow("vertical tab, form feed") << "a\vb\fc"
                                             << "A\vB\fC";
    QTest::newRow("nul") << QString::fromUtf16(u"a\0b", 3) << QString::fromUtf16(u"A\0B", 3);
    QTest::newRow("comma does not separate") << "a,b"
                                             << "A,b";
    QTest::newRow("empty") << ""
                           << "";
    // Letters beyond the first 65536 (here Deseret) take two units each.
    QTest::newRow("two-unit letters") << QString::fromUtf8("\U00010428\U00010400 \U00010428")
                                      << QString::fromUtf8("\U00010400\U00010428 \U00010400");
    QTest::newRow("lone surrogate kept")
        << QString(QChar(0xD801)) + "ab" << QString(QChar(0xD801)) + "ab";
}

void TestTextFunctions::properCaseCapitalisesAfterBlanksAndControlSeparators()
{
    QFETCH(QString, text);
    QFETCH(QString, proper);
    QCOMPARE(AcceptanceRules::ProperCase(text), proper);
}

void TestTextFunctions::randomIntegerCoversOneToN_data()
{
    QTest::addColumn<double>("u");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("row");

    const double belowOne = std::nextafter(1.0, 0.0);
    const int most = std::numeric_limits<int>::max();
    QTest::newRow("zero, one row") << 0.0 << 1 << 1;
    QTest::newRow("almost one, one row") << belowOne << 1 << 1;
    QTest::newRow("zero") << 0.0 << 10 << 1;
    QTest::newRow("just below a tenth") << 0.0999999 << 10 << 1;
    QTest::newRow("a tenth") << 0.1 << 10 << 2;
    QTest::newRow("0.999999") << 0.999999 << 10 << 10;
    QTest::newRow("almost one") << belowOne << 10 << 10;
    QTest::newRow("almost one, odd n") << belowOne << 64007 << 64007;
    QTest::newRow("almost one, largest n") << belowOne << most << most;
}

void TestTextFunctions::randomIntegerCoversOneToN()
{
    QFETCH(double, u);
    QFETCH(int, n);
    QFETCH(int, row);
    QCOMPARE(RandomInteger(u, n), row);
}

QTEST_GUILESS_MAIN(TestTextFunctions)
#include "tst_textFunctions.moc"
