// Measures the program's long commands on the real window (offscreen), the real word database and
// the real file writer, each beside a floor: the bare work the command cannot do without.
#include "app/ResultListModel.h"
#include "desktop/RealPlatform.h"
#include "engine/Language.h"
#include "engine/SeededRandom.h"
#include "engine/SqliteWordStore.h"
#include "engine/WordDatabasePath.h"
#include "engine/WordDrawer.h"
#include "platform/QtEventPump.h"
#include "platform/SilentServices.h"
#include "window/Form1.h"
#include "window/ResultListView.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Counts the yields, which are the attempts of a run.
class CountingPump : public EventPump
{
public:
    void yield() override
    {
        ++calls;
        m_pump.yield();
    }
    void waitForEvents() override { m_pump.waitForEvents(); }
    long calls = 0;

private:
    QtEventPump m_pump;
};

class BenchFiles : public FileSystem
{
public:
    bool isFile(const QString& path) const override { return QFileInfo(path).isFile(); }
    bool hasModificationTime(const QString&) const override { return false; }
    QString desktopFolder() const override { return QDir::tempPath(); }
    bool isFolder(const QString& path) const override { return QFileInfo(path).isDir(); }
    QString homeFolder() const override { return QDir::tempPath(); }
};

// The real services, with dialogs that answer at once, no spreadsheet application, a counting
// yield and no pointer file.
struct Services
{
    SilentDialogs dialogs;
    NoSpreadsheetLauncher spreadsheet;
    CountingPump pump;
    BenchFiles files;
    RealPlatform real;
    Platform platform;

    explicit Services(const QString& programFolder)
        : real(programFolder)
        , platform(real.platform())
    {
        platform.dialogs = &dialogs;
        platform.spreadsheet = &spreadsheet;
        platform.pump = &pump;
        platform.files = &files;
    }
};

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

void line(
    const char* name, double value, const char* unit, double floor = 0, bool higherIsBetter = false)
{
    if (floor > 0) {
        const double ratio = higherIsBetter ? floor / value : value / floor;
        std::printf("%-44s %12.4f %-6s floor %12.4f %-6s ratio %6.2fx\n", name, value, unit, floor,
            unit, ratio);
    } else {
        std::printf("%-44s %12.4f %-6s\n", name, value, unit);
    }
    std::fflush(stdout);
}

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& row : status.readAll().split('\n')) {
        if (row.startsWith("VmHWM:"))
            return row.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

long currentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& row : status.readAll().split('\n')) {
        if (row.startsWith("VmRSS:"))
            return row.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

std::vector<QString> loadAllWords(const QString& database)
{
    SqliteWordStore store;
    auto connection = store.open(database);
    auto set = connection->query(QStringLiteral("select * from words"));
    std::vector<QString> words;
    words.reserve(size_t(set->count()));
    for (int r = 1; r <= set->count(); ++r)
        words.push_back(set->word(r));
    return words;
}

// A window ready for work: loaded, shown, idle.
std::unique_ptr<Form1> openWindow(Services& services)
{
    auto form = std::make_unique<Form1>(services.platform);
    if (!form->Form_Load())
        qFatal("dbWords.mdb is missing beside the benchmark");
    form->show();
    QCoreApplication::processEvents();
    form->Check1->setChecked(false);
    for (QCheckBox* box : { form->Check2, form->Check3, form->Check4, form->Check5, form->Check6 })
        box->setChecked(false);
    form->Combo1->setCurrentIndex(0);
    form->Combo2->setCurrentIndex(0);
    form->Option7->click();
    return form;
}

// A run into the list; with a start letter, only words that start with it.
double listRun(Services& services, int count, QChar start = {})
{
    auto form = openWindow(services);
    form->Option7->click();
    form->Text1->setText(QString::number(count));
    if (!start.isNull()) {
        form->Check2->setChecked(true);
        form->Text3->setText(start);
    }
    QElapsedTimer timer;
    timer.start();
    form->PushButton1_Click();
    const double elapsed = seconds(timer);
    if (form->resultList()->rowCount() != count)
        qFatal("list run delivered %d words", form->resultList()->rowCount());
    return elapsed;
}

double listFloor(const std::vector<QString>& words, int count)
{
    ResultListModel model;
    model.setColumnHeader(QStringLiteral("Generated Words"));
    ResultListView view(&model);
    view.resize(488, 106);
    view.show();
    QCoreApplication::processEvents();
    SeededRandom random;
    random.seed(7);
    const int n = int(words.size());
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        model.append(words[size_t(std::floor(random.next() * n))]);
    QCoreApplication::processEvents();
    return seconds(timer);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);

    const QString programFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/..");
    const QString database = programFolder + QStringLiteral("/dbWords.mdb");
    if (!QFileInfo(database).isFile())
        qFatal("no dbWords.mdb beside %s", qPrintable(programFolder));
    Services services(QDir(programFolder).absolutePath());
    const std::vector<QString> words = loadAllWords(database);
    std::printf("word database: %zu words\n", words.size());

    // Workloads named on the command line run alone: startup, list, memory, file, rejection,
    // cli, define, database.
    QStringList chosen = QCoreApplication::arguments().mid(1);
    const auto wanted = [&](const char* name) {
        return chosen.isEmpty() || chosen.contains(QLatin1String(name));
    };

    // Start-up, measured first while nothing else has warmed up the caches.
    if (wanted("startup")) {
        QElapsedTimer floorTimer;
        floorTimer.start();
        QWidget bare;
        bare.resize(1064, 369);
        bare.show();
        QCoreApplication::processEvents();
        const double floor = seconds(floorTimer);
        QElapsedTimer timer;
        timer.start();
        Form1 form(services.platform);
        const double constructed = seconds(timer);
        form.Form_Load();
        const double loaded = seconds(timer);
        form.show();
        QCoreApplication::processEvents();
        line("start-up to window shown", seconds(timer), "s", floor);
        std::printf("  of which: window built %.4f s, options restored %.4f s, shown %.4f s\n",
            constructed, loaded - constructed, seconds(timer) - loaded);
    }

    if (wanted("list")) {
        const double floor100k = listFloor(words, 100000);
        const double list10k = listRun(services, 10000);
        const double list100k = listRun(services, 100000);
        line("list run, 100000 words", list100k, "s", floor100k);
        line("list run, 10000 words: time per word", list10k / 10000 * 1e6, "us");
        line("list run, 100000 words: time per word", list100k / 100000 * 1e6, "us");
        line("list run growth (per word 100000 / 10000)", (list100k / 100000) / (list10k / 10000),
            "x");
    }

    // Peak memory while the list holds 100000 rows.
    if (wanted("memory")) {
        const long before = currentKilobytes();
        auto form = openWindow(services);
        form->Text1->setText(QStringLiteral("100000"));
        form->PushButton1_Click();
        QCoreApplication::processEvents();
        line("memory: resident with 100000 rows", currentKilobytes() / 1024.0, "MB");
        line("memory: of which the window and its rows", (currentKilobytes() - before) / 1024.0,
            "MB");
        line("memory: peak of the process so far", peakKilobytes() / 1024.0, "MB");

        QTemporaryDir folder;
        services.dialogs.savePath = folder.filePath(QStringLiteral("saved.txt"));
        QElapsedTimer timer;
        timer.start();
        form->PushButton2_Click();
        line("save 100000 rows as text", seconds(timer), "s");

        form->resultList()->setAllChecked(true);
        timer.restart();
        form->PushButton3_Click();
        line("copy 100000 ticked rows to the clipboard", seconds(timer), "s");
    }

    // 100000 words into Words.txt, one open-write-close per word.
    if (wanted("file")) {
        QTemporaryDir folder;
        auto form = openWindow(services);
        form->Option8->click();
        form->Text5->setText(folder.path() + QLatin1Char('/'));
        form->Text1->setText(QStringLiteral("100000"));
        QElapsedTimer timer;
        timer.start();
        form->PushButton1_Click();
        const double run = seconds(timer);

        SeededRandom random;
        random.seed(11);
        const int n = int(words.size());
        const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("floor.txt")));
        timer.restart();
        for (int i = 1; i <= 100000; ++i) {
            const QByteArray piece = (words[size_t(std::floor(random.next() * n))]
                + (i < 100000 ? QStringLiteral("\r\n") : QString()))
                                         .toLocal8Bit();
            const int fd = ::open(path.constData(),
                O_WRONLY | O_CREAT | O_CLOEXEC | (i == 1 ? O_TRUNC : O_APPEND), 0666);
            if (fd < 0 || ::write(fd, piece.constData(), size_t(piece.size())) != piece.size())
                qFatal("floor write failed");
            ::close(fd);
        }
        line("file run, 100000 words, multiple lines", run, "s", seconds(timer));
    }

    // A run whose start rule accepts about one drawn word in a hundred.
    if (wanted("rejection")) {
        QChar rare;
        double rareShare = 1;
        for (char16_t c = u'a'; c <= u'z'; ++c) {
            qsizetype hits = 0;
            for (const QString& w : words)
                hits += w.startsWith(QChar(c)) ? 1 : 0;
            const double share = double(hits) / double(words.size());
            if (share > 0
                && std::abs(std::log(share / 0.01)) < std::abs(std::log(rareShare / 0.01))) {
                rare = QChar(c);
                rareShare = share;
            }
        }
        auto form = openWindow(services);
        form->Text1->setText(QStringLiteral("1000"));
        form->Check2->setChecked(true);
        form->Text3->setText(rare);
        const long before = services.pump.calls;
        QElapsedTimer timer;
        timer.start();
        form->PushButton1_Click();
        const double run = seconds(timer);
        const double attempts = double(services.pump.calls - before);

        SeededRandom random;
        random.seed(5);
        const int n = int(words.size());
        long accepted = 0;
        long floorAttempts = 0;
        timer.restart();
        while (accepted < 1000) {
            ++floorAttempts;
            QCoreApplication::processEvents();
            const QString& w = words[size_t(std::floor(random.next() * n))];
            accepted += w.startsWith(rare) ? 1 : 0;
        }
        const double floorTime = seconds(timer);
        std::printf("rejection-heavy run: start letter '%c' accepts %.2f%% of words, %.0f attempts "
                    "(%ld drawn by the floor)\n",
            rare.toLatin1(), rareShare * 100, attempts, floorAttempts);
        // The floor draws and rejects with a yield per draw, as a run without a word index would.
        line("rejection-heavy run, 1000 words", run, "s", floorTime);

        // The same rule on a long run, beside a run of as many words without rules.
        const double plain = listRun(services, 100000);
        line("rejection-heavy list run, 100000 words", listRun(services, 100000, rare), "s", plain);
    }

    // The command line writing a million words that start with "s", beside grep and shuf doing
    // the same over the same words exported as a plain list; the best of five runs each.
    if (wanted("cli")) {
        QTemporaryDir folder;
        const QString list = folder.filePath(QStringLiteral("words.txt"));
        const QString out = folder.filePath(QStringLiteral("out.txt"));
        QFile file(list);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write the plain list");
        for (const QString& w : words)
            file.write(w.toUtf8() + '\n');
        file.close();
        const auto best = [](const QString& program, const QStringList& arguments) {
            double fastest = 1e9;
            for (int i = 0; i < 5; ++i) {
                QProcess process;
                QElapsedTimer timer;
                timer.start();
                process.start(program, arguments);
                if (!process.waitForFinished(-1) || process.exitCode() != 0)
                    qFatal("%s failed: %s", qPrintable(program),
                        process.readAllStandardError().constData());
                fastest = std::min(fastest, seconds(timer));
            }
            return fastest;
        };
        const double pipeline = best(QStringLiteral("/bin/sh"),
            { QStringLiteral("-c"), QStringLiteral("grep '^s' \"$1\" | shuf -rn 1000000 > \"$2\""),
                QStringLiteral("sh"), list, out });
        const QString cli = QStringLiteral(TESSAVINE_CLI);
        const QStringList rules { QStringLiteral("-n"), QStringLiteral("1000000"),
            QStringLiteral("--start"), QStringLiteral("s") };
        // The command with its standard output sent to the file, as the shell does for the
        // pipeline.
        const auto redirected = [&](const QStringList& command) {
            return best(QStringLiteral("/bin/sh"),
                QStringList { QStringLiteral("-c"),
                    QStringLiteral("o=$1; shift; exec \"$@\" > \"$o\""), QStringLiteral("sh"), out }
                    + command);
        };
        // One word: the start-up and the load of the word database, beside shuf reading the list.
        const auto fastest = [&](const QString& program, const QStringList& arguments) {
            double time = 1e9;
            for (int i = 0; i < 7; ++i)
                time = std::min(time, best(program, arguments));
            return time;
        };
        line("tessavine-cli -n 1", fastest(cli, { QStringLiteral("-n"), QStringLiteral("1") }), "s",
            fastest(QStringLiteral("shuf"), { QStringLiteral("-n"), QStringLiteral("1"), list }));
        // The same for each other language installed beside the program, beside shuf reading
        // that language's words.
        for (const QString& code : installedLanguages(programFolder)) {
            if (code == QLatin1String("en"))
                continue;
            const QString own = folder.filePath(code + QStringLiteral(".txt"));
            QFile ownFile(own);
            if (!ownFile.open(QIODevice::WriteOnly))
                qFatal("cannot write the plain list of %s", qPrintable(code));
            const std::unique_ptr<WordConnection> connection
                = SqliteWordStore().open(languageDatabasePath(programFolder, code));
            const std::unique_ptr<WordSet> all = connection->allWords();
            for (int r = 1; r <= all->count(); ++r)
                ownFile.write(all->word(r).toUtf8() + '\n');
            ownFile.close();
            line(qPrintable(QStringLiteral("tessavine-cli -n 1 --language ") + code),
                fastest(cli,
                    { QStringLiteral("-n"), QStringLiteral("1"), QStringLiteral("--language"),
                        code }),
                "s",
                fastest(
                    QStringLiteral("shuf"), { QStringLiteral("-n"), QStringLiteral("1"), own }));
            // A million of the language's default words, beside the C floor over them.
            const QString ownDefaults = folder.filePath(code + QStringLiteral("-default.txt"));
            QFile defaultsFile(ownDefaults);
            if (!defaultsFile.open(QIODevice::WriteOnly))
                qFatal("cannot write the default words of %s", qPrintable(code));
            // The rules as the command sets them for the language (no national spelling).
            WordRules rules;
            Language::fromAbout(connection->about()).applyTo(rules);
            const WordDrawer drawer(*all, rules, WordDrawer::Untestable::Keep);
            for (int place = 0; place < drawer.matchCount(); ++place)
                defaultsFile.write(all->word(drawer.rowAt(place)).toUtf8() + '\n');
            defaultsFile.close();
            line(qPrintable(QStringLiteral("tessavine-cli -n 1000000 -o FILE --language ") + code),
                best(cli,
                    { QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("--language"),
                        code, QStringLiteral("-o"), out }),
                "s",
                best(QStringLiteral(TESSAVINE_WORDS_FLOOR),
                    { ownDefaults, QStringLiteral("1000000"), out }));
        }
        // A plain million words, beside a bare C loop that loads the same words, draws with
        // xoshiro256** and writes through a 1 MiB buffer, and beside shuf drawing as many.
        const QString million = QStringLiteral("1000000");
        const QString plainList = folder.filePath(QStringLiteral("default.txt"));
        QFile defaults(plainList);
        if (!defaults.open(QIODevice::WriteOnly))
            qFatal("cannot write the list of default words");
        SqliteWordStore store;
        const std::unique_ptr<WordSet> all = store.open(database)->allWords();
        const WordDrawer drawer(*all, WordRules {}, WordDrawer::Untestable::Keep);
        for (int place = 0; place < drawer.matchCount(); ++place)
            defaults.write(all->word(drawer.rowAt(place)).toUtf8() + '\n');
        defaults.close();
        const double plainRun
            = best(cli, { QStringLiteral("-n"), million, QStringLiteral("-o"), out });
        line("tessavine-cli -n 1000000 -o FILE", plainRun, "s",
            best(QStringLiteral(TESSAVINE_WORDS_FLOOR), { plainList, million, out }));
        line("tessavine-cli -n 1000000 -o FILE, beside shuf -rn", plainRun, "s",
            best(QStringLiteral("shuf"),
                { QStringLiteral("-rn"), million, QStringLiteral("-o"), out, plainList }));
        const double startS = best(cli, rules + QStringList { QStringLiteral("-o"), out });
        line("tessavine-cli -o FILE, 1000000 words, start s", startS, "s", pipeline);
        // The fact rules beside the text rule: all narrow the words before the draws (the animals:
        // --topic animal).
        line("tessavine-cli -o FILE, 1000000 everyday nouns",
            best(cli,
                { QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("--level"),
                    QStringLiteral("everyday"), QStringLiteral("--kind"), QStringLiteral("noun"),
                    QStringLiteral("-o"), out }),
            "s", startS);
        line("tessavine-cli -o FILE, 1000000 animals",
            best(cli,
                { QStringLiteral("-n"), QStringLiteral("1000000"), QStringLiteral("--topic"),
                    QStringLiteral("animal"), QStringLiteral("-o"), out }),
            "s", startS);
        // Names from a template, two words each, beside as many plain words.
        line("tessavine-cli --template, 100000 names",
            best(cli,
                { QStringLiteral("--template"), QStringLiteral("{adjective}-{animal}"),
                    QStringLiteral("--outputs"), QStringLiteral("100000"), QStringLiteral("-o"),
                    out }),
            "s",
            best(cli,
                { QStringLiteral("-n"), QStringLiteral("200000"), QStringLiteral("-o"), out }));
        line("tessavine-cli > FILE, 1000000 words, start s",
            redirected(QStringList { cli } + rules), "s", pipeline);
        line("tessavine-cli --words > FILE, same",
            redirected(QStringList { cli, QStringLiteral("--words"), list } + rules), "s",
            pipeline);
    }

    // One word with its definition, beside one word: a definition is looked up for a word written
    // alone, not for every word that could be. The best of five runs each.
    if (wanted("define")) {
        const QStringList one { QStringLiteral("--unique"), QStringLiteral("-n"),
            QStringLiteral("1") };
        double defined = 1e9;
        double plain = 1e9;
        for (int i = 0; i < 5; ++i) {
            for (const bool define : { true, false }) {
                QProcess process;
                QElapsedTimer timer;
                timer.start();
                process.start(QStringLiteral(TESSAVINE_CLI),
                    define ? one + QStringList { QStringLiteral("--define") } : one);
                if (!process.waitForFinished(-1) || process.exitCode() != 0)
                    qFatal("tessavine-cli failed: %s", process.readAllStandardError().constData());
                double& fastest = define ? defined : plain;
                fastest = std::min(fastest, seconds(timer));
            }
        }
        line("tessavine-cli --unique -n 1 --define", defined, "s", plain);
    }

    // The word database with its facts, beside one of the same lists built of words alone.
    if (wanted("database")) {
        QTemporaryDir folder;
        const QString plain = folder.filePath(QStringLiteral("words.mdb"));
        QProcess tool;
        tool.start(QStringLiteral(TESSAVINE_WORD_TOOL),
            { QStringLiteral(TESSAVINE_WORDLIST_PATH), plain });
        if (!tool.waitForFinished(-1) || tool.exitCode() != 0)
            qFatal("the word-list tool failed: %s", tool.readAllStandardError().constData());
        line("word database size, with facts", QFileInfo(database).size() / 1048576.0, "MB",
            QFileInfo(plain).size() / 1048576.0);
    }
    return 0;
}
