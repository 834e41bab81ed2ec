#include "window/Form1.h"

#include "app/ApplicationTitle.h"
#include "app/ClipboardCopy.h"
#include "app/ErrorBoxText.h"
#include "app/FolderChooser.h"
#include "app/GenerationRun.h"
#include "app/OptionsModel.h"
#include "app/RestoreConversions.h"
#include "app/ResultListCommands.h"
#include "app/ResultListModel.h"
#include "app/SettingsKeys.h"
#include "app/ShownOptions.h"
#include "app/SpreadsheetExport.h"
#include "app/StatusLine.h"
#include "app/StepGuard.h"
#include "app/TextExport.h"
#include "engine/OptionTable.h"
#include "engine/SeparatorLayout.h"
#include "engine/WordDatabasePath.h"
#include "window/AccessibleNames.h"
#include "window/Appearance.h"
#include "window/DropDownAccessible.h"
#include "window/KeyboardHelp.h"
#include "window/LineEditAccessible.h"
#include "window/OptionBinding.h"
#include "window/OptionButtonAccessible.h"
#include "window/OptionPanel.h"
#include "window/PointerFeedback.h"
#include "window/ResultListAccessible.h"
#include "window/ResultListView.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The row of word options, below the lowest controls of the layout table (they end at 5430), and
// where it ends the status line begins.
constexpr int wordRowTop = 5505;
constexpr int wordRowEnd = wordRowTop + 825;
// The line that the language list adds to the row where it is shown.
constexpr int languageLine = 450;

// Layout positions are kept in twips; 15 twips make one pixel at 96 dpi.
int px(int twips)
{
    return int(std::lround(twips / 15.0));
}

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

template <typename W>
W* place(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(twipRect(left, top, width, height));
    return widget;
}

QGroupBox* frame(
    QWidget* parent, const char* name, const QString& caption, int l, int t, int w, int h)
{
    auto* box = place<QGroupBox>(parent, name, l, t, w, h);
    box->setTitle(caption);
    return box;
}

QLineEdit* oneCharacterField(QWidget* parent, const char* name, int l, int t, int w, int h)
{
    auto* field = place<QLineEdit>(parent, name, l, t, w, h);
    field->setMaxLength(1);
    field->setAlignment(Qt::AlignCenter);
    return field;
}

template <typename W>
W* captioned(QWidget* parent, const char* name, const QString& caption, int l, int t, int w, int h)
{
    auto* widget = place<W>(parent, name, l, t, w, h);
    widget->setText(caption);
    return widget;
}

} // namespace

// Outside any namespace: the resource registration names a global function. The core library is
// static, so its resources are not registered unless asked for.
static QIcon programIcon()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/tessavine.svg"));
}

Form1::Form1(const Platform& platform, QWidget* parent)
    : QWidget(parent)
    , m_platform(platform)
    , m_applicationTitle(productName())
    , m_resultList(new ResultListModel(this))
    , m_options(new OptionsModel(this))
{
    setObjectName(QStringLiteral("Form1"));
    createControls();
    Appearance::applyDesignLook(*this);
    OptionBinding::bind(*m_options, *this);
    // Set after binding, which only reads what the controls show.
    m_options->setStore(
        [this](const QString& key, const QString& value) { writeSetting(key, value); });

    m_optionPanel = std::make_unique<OptionPanel>(*this);
    m_folderChooser = std::make_unique<FolderChooser>(*this);
    m_generation = std::make_unique<GenerationRun>(*this);
    m_textExport = std::make_unique<TextExport>(*this);
    m_clipboardCopy = std::make_unique<ClipboardCopy>(*this);
    m_spreadsheetExport = std::make_unique<SpreadsheetExport>(*this);
    m_listCommands = std::make_unique<ResultListCommands>(*this);
    m_pointerFeedback = std::make_unique<PointerFeedback>(*this);
    m_statusLine = std::make_unique<StatusLine>(*this);

    connect(PushButton1, &QPushButton::clicked, this,
        [this] { dispatch([this] { PushButton1_Click(); }); });
    connect(PushButton2, &QPushButton::clicked, this,
        [this] { dispatch([this] { PushButton2_Click(); }); });
    connect(PushButton3, &QPushButton::clicked, this,
        [this] { dispatch([this] { PushButton3_Click(); }); });
    connect(PushButton4, &QPushButton::clicked, this,
        [this] { dispatch([this] { PushButton4_Click(); }); });
    connect(PushButton5, &QPushButton::clicked, this,
        [this] { dispatch([this] { PushButton5_Click(); }); });
    connect(PushButton9, &QPushButton::clicked, this,
        [this] { dispatch([this] { PushButton9_Click(); }); });
    ListView1->installEventFilter(this);
    AccessibleNames::apply(*this);
    KeyboardHelp::install(*this);
}

Form1::~Form1() = default;

void Form1::createControls()
{
    // The layout table's size, the row of word options below it, and one line more for the
    // status line.
    const int statusHeight = 20;
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    createOptionFrames();
    createOutputFrames();
    createWordFrame();
    const int rowEnd = px(wordRowEnd + (Combo9->isHidden() ? 0 : languageLine));
    setFixedSize(px(15960), rowEnd + statusHeight);

    // The line sits in a status bar, where screen readers tell its changes as the status.
    auto* statusBar = new QWidget(this);
    statusBar->setObjectName(QStringLiteral("StatusBar"));
    statusBar->setGeometry(px(120), rowEnd - 2, px(15720), statusHeight);
    StatusText = new QLabel(statusBar);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    StatusText->setGeometry(0, 0, px(15720), statusHeight);
    StatusText->setTextFormat(Qt::PlainText);
    StatusText->setIndent(2);

    // The two output choices sit in different frames; their handlers make them exclusive.
    Option7->setAutoExclusive(false);
    Option8->setAutoExclusive(false);
    OptionButtonAccessible::serve(Option7);
    OptionButtonAccessible::serve(Option8);
    Option7->setChecked(true);
    // The option buttons stand in for their frames' captions, so they cover them.
    Option7->setAutoFillBackground(true);
    Option8->setAutoFillBackground(true);

    for (QLineEdit* field : { Text1, Text2, Text3, Text4, Text5, Text6 })
        LineEditAccessible::serve(field);
    ResultListAccessible::serve(ListView1);
    for (QComboBox* list :
        { Combo1, Combo2, Combo3, Combo4, Combo5, Combo6, Combo10, Combo7, Combo8, Combo9 }) {
        list->setEditable(false);
        list->setMaxVisibleItems(12);
        DropDownAccessible::serve(list);
    }
    for (QPushButton* button :
        { PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton9 })
        button->setAutoDefault(false);
    ProgressBar1->setFocusPolicy(Qt::NoFocus);
    setTabOrder();
}

// The left column: how many words, the letter, length and case options, and the start button.
void Form1::createOptionFrames()
{
    Frame3 = frame(this, "Frame3", QStringLiteral("How many words would you like to generate?"),
        120, 120, 7800, 855);
    Text1 = place<QLineEdit>(Frame3, "Text1", 240, 300, 7320, 345);

    Frame2 = frame(this, "Frame2", QStringLiteral("Character Option"), 120, 1030, 7800, 1760);
    Check2 = captioned<QCheckBox>(Frame2, "Check2",
        QStringLiteral("All generated words must start with the character:"), 240, 345, 4695, 255);
    Text3 = oneCharacterField(Frame2, "Text3", 5160, 300, 1260, 345);
    Check3 = captioned<QCheckBox>(Frame2, "Check3",
        QStringLiteral("All generated words must end with the character:"), 240, 800, 4695, 255);
    Text4 = oneCharacterField(Frame2, "Text4", 5160, 755, 1260, 345);
    Check4 = captioned<QCheckBox>(Frame2, "Check4",
        QStringLiteral("The") + QString(36, QLatin1Char(' ')) + QStringLiteral("letter must be a"),
        240, 1255, 4695, 255);
    Combo2 = place<QComboBox>(Frame2, "Combo2", 940, 1210, 1335, 345);
    Combo3 = place<QComboBox>(Frame2, "Combo3", 3900, 1210, 1335, 345);

    Frame4 = frame(
        this, "Frame4", QStringLiteral("Minimum and Maximum Option"), 120, 2865, 7800, 1250);
    Check6 = captioned<QCheckBox>(
        Frame4, "Check6", QStringLiteral("Minimum characters per word:"), 240, 345, 3375, 255);
    Text2 = oneCharacterField(Frame4, "Text2", 3360, 300, 1260, 345);
    Check5 = captioned<QCheckBox>(
        Frame4, "Check5", QStringLiteral("Maximum characters per word:"), 240, 800, 3015, 255);
    Text6 = oneCharacterField(Frame4, "Text6", 3360, 755, 1260, 345);

    Frame7 = frame(this, "Frame7", QStringLiteral("Case Option"), 120, 4190, 7800, 720);
    Check1 = captioned<QCheckBox>(
        Frame7, "Check1", QStringLiteral("First letter should be upper case"), 240, 300, 3255, 255);

    PushButton1 = captioned<QPushButton>(
        this, "PushButton1", QStringLiteral("Start Generating"), 120, 5020, 7800, 405);
}

// The right column: the output choices, the result list, its commands and the folder.
void Form1::createOutputFrames()
{
    // Option7 lies over this frame's caption and stands in for it, so the caption is not drawn;
    // it stays the frame's accessible name.
    Frame5 = frame(this, "Frame5", QString(), 8040, 115, 7800, 4440);
    Frame5->setAccessibleName(QStringLiteral("Output Option"));
    Option7 = captioned<QRadioButton>(
        Frame5, "Option7", QStringLiteral("Generate Results Here"), 120, 0, 2295, 255);
    ListView1 = new ResultListView(m_resultList, Frame5);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(twipRect(240, 300, 7320, 1590));
    Frame1 = frame(Frame5, "Frame1", QStringLiteral("Save Option"), 240, 1920, 7320, 800);
    Combo1 = place<QComboBox>(Frame1, "Combo1", 240, 300, 6855, 345);
    PushButton2 = captioned<QPushButton>(
        Frame5, "PushButton2", QStringLiteral("Save Results As Text File"), 240, 2820, 3600, 405);
    PushButton3 = captioned<QPushButton>(
        Frame5, "PushButton3", QStringLiteral("Copy Results To Clipboard"), 3960, 2820, 3600, 405);
    PushButton5 = captioned<QPushButton>(
        Frame5, "PushButton5", QStringLiteral("Save Results As Excel File"), 240, 3330, 3600, 405);
    PushButton4 = captioned<QPushButton>(
        Frame5, "PushButton4", QStringLiteral("Clear Results"), 3960, 3330, 3600, 405);
    ProgressBar1 = place<QProgressBar>(Frame5, "ProgressBar1", 240, 3855, 7320, 405);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setFormat(QStringLiteral("Progress Bar"));
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setTextVisible(true);

    Frame6 = frame(this, "Frame6", QString(), 8040, 4620, 7800, 810);
    Option8 = captioned<QRadioButton>(Frame6, "Option8",
        QStringLiteral("Save Results To File In This Folder"), 120, 0, 3255, 255);
    Text5 = place<QLineEdit>(Frame6, "Text5", 240, 300, 6495, 345);
    // The count and the folder have no length limit; Qt's default would cut a stored value.
    Text1->setMaxLength(std::numeric_limits<int>::max());
    Text5->setMaxLength(std::numeric_limits<int>::max());
    PushButton9
        = captioned<QPushButton>(Frame6, "PushButton9", QStringLiteral("..."), 6840, 300, 720, 345);
}

// The row below both columns: which words, by the facts the word database keeps of them. Its
// lists and tick box hold their entries and defaults from the start; the store may then change
// them.
void Form1::createWordFrame()
{
    Frame8 = frame(this, "Frame8", QStringLiteral("Word Option"), 120, wordRowTop, 15720, 720);
    Combo4 = place<QComboBox>(Frame8, "Combo4", 240, 255, 2280, 345);
    Combo4->addItems(OptionTable::shownChoices(OptionsModel::Commonness));
    Combo5 = place<QComboBox>(Frame8, "Combo5", 2760, 255, 2280, 345);
    Combo5->addItems(OptionTable::shownChoices(OptionsModel::Kind));
    Combo6 = place<QComboBox>(Frame8, "Combo6", 5280, 255, 2280, 345);
    Combo6->addItems(OptionTable::shownChoices(OptionsModel::Spellings));
    // Right below the output frames' controls. Both marks left out by default: a list of words
    // for a class must not hand out slurs or what a teacher must explain away unless asked to.
    Combo10 = place<QComboBox>(Frame8, "Combo10", 7800, 255, 3480, 345);
    Combo10->addItems(OptionTable::shownChoices(OptionsModel::LeaveOutOffensive));
    // Topic and syllables after it, narrower: their entries are short.
    Combo7 = place<QComboBox>(Frame8, "Combo7", 11520, 255, 1920, 345);
    Combo7->addItems(OptionTable::shownChoices(OptionsModel::Topic));
    Combo8 = place<QComboBox>(Frame8, "Combo8", 13560, 255, 1920, 345);
    Combo8->addItems(OptionTable::shownChoices(OptionsModel::Syllables));
    // The installed languages, by their names, each entry carrying its code; a line of its own
    // below the others, so that the row stays as it is where English alone is installed.
    Combo9 = place<QComboBox>(Frame8, "Combo9", 240, 255 + languageLine, 2280, 345);
    for (const QString& code : installedLanguages(m_platform.programFolder)) {
        Language language;
        language.name = code;
        try {
            language = Language::fromAbout(
                m_platform.words->open(languageDatabasePath(m_platform.programFolder, code))
                    ->about());
        } catch (const std::exception&) {
            // Named by its code: a run on it reports what is wrong.
        }
        Combo9->addItem(language.shownName(), code);
        m_languages.push_back(language);
    }
    Combo9->setHidden(Combo9->count() < 2);
    if (!Combo9->isHidden())
        Frame8->resize(Frame8->width(), Frame8->height() + px(languageLine));
    connect(Combo9, &QComboBox::currentIndexChanged, this, &Form1::greyListsOfLackedFacts);
    greyListsOfLackedFacts();
}

void Form1::greyListsOfLackedFacts()
{
    const int entry = Combo9->currentIndex();
    const Language language = entry >= 0 ? m_languages.at(entry) : Language();
    for (const OptionTable::Row& row : OptionTable::rows()) {
        if (row.controlName && row.fact)
            findChild<QWidget*>(QLatin1String(row.controlName))
                ->setEnabled(language.has(QLatin1String(row.fact)));
    }
}

void Form1::setTabOrder()
{
    const QList<QWidget*> order { Text1, PushButton1, Text3, Text4, Combo2, Combo3, Combo1,
        ListView1, PushButton2, PushButton3, PushButton4, PushButton5, Option7, Text5, PushButton9,
        Option8, Check2, Check3, Check4, Check6, Text2, Text6, Check5, Check1, Combo4, Combo5,
        Combo6, Combo10, Combo7, Combo8, Combo9 };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

template <typename F> void Form1::dispatch(F&& handler)
{
    try {
        handler();
    } catch (const WindowClosed&) {
        // The window is gone: the command ends here, nothing of it runs on.
    }
}

bool Form1::Form_Load()
{
    StepGuard guard(
        [this](const QString& message) { showErrorBox(message); }, QStringLiteral("Form_Load"));

    bool databasePresent = false;
    guard.step(100, [&] {
        databasePresent = m_platform.files->isFile(wordDatabasePath(m_platform.programFolder));
    });
    if (!databasePresent) {
        guard.step(102, [&] {
            showMessage(wordDatabasePath(m_platform.programFolder) + QStringLiteral(" not found."));
        });
        return false;
    }

    const QString skinFile = m_platform.programFolder + QStringLiteral("/x/o.cjs");
    if (m_platform.files->isFile(skinFile))
        guard.step(108, [&] { Appearance::applySkin(*this); });
    const QString cursorFile = m_platform.programFolder + QStringLiteral("/HAND-M.CUR");
    // A pointer file whose modification time cannot be read counts as absent, silently.
    if (m_platform.files->hasModificationTime(cursorFile))
        guard.step(112, [&] { setCustomPointerImage(Appearance::loadCursorFile(cursorFile)); });

    guard.step(134, [&] {
        setWindowTitle(productName());
        setWindowIcon(programIcon());
        m_applicationTitle = ::applicationTitle(productName());
    });
    guard.step(136, [&] { m_resultList->setColumnHeader(QStringLiteral("Generated Words")); });
    guard.step(138, [&] { ListView1->setColumnWidth(0, px(7000)); });

    restoreOptions(guard);
    reportSettingsFailure();
    // The word count comes a moment after the window is up: loading every word takes longer than
    // the rest of start-up, and the window need not wait for it.
    QTimer::singleShot(100, m_statusLine.get(), &StatusLine::load);
    guard.step(206, [&] {
        const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
        if (screen.isValid())
            move(screen.center() - rect().center());
        Text1->setFocus(Qt::OtherFocusReason);
    });
    return true;
}

void Form1::restoreOptions(StepGuard& guard)
{
    using O = OptionsModel;
    namespace rc = RestoreConversions;
    // Each option's value, or its default from the option table when the store has none.
    const auto read = [this](O::Option option) {
        return readSetting(O::keyOf(option), QLatin1String(OptionTable::row(option).defaultValue));
    };
    // The write-back below repeats what the store holds, so it may reach the disk in one go.
    m_platform.settings->beginDeferral();
    auto deferral = qScopeGuard([this] { m_platform.settings->endDeferral(); });
    guard.step(140, [&] { m_options->restoreText(O::HowMany, read(O::HowMany)); });
    int step = 142;
    for (O::Option box :
        { O::UpperCaseFirst, O::MustStart, O::MustEnd, O::LetterRule, O::MaxBound, O::MinBound }) {
        guard.step(step, [&] { m_options->restoreCheck(box, rc::toCheckState(read(box))); });
        step += 2;
    }
    guard.step(
        154, [&] { m_options->restoreChoice(O::ListOutput, rc::toBoolean(read(O::ListOutput))); });
    guard.step(
        156, [&] { m_options->restoreChoice(O::FileOutput, rc::toBoolean(read(O::FileOutput))); });
    const auto restoreIndex = [&](int restoreStep, O::Option option, const QComboBox* list) {
        guard.step(restoreStep,
            [&] { m_options->restoreIndex(option, rc::toListIndex(read(option), list->count())); });
    };
    // The word lists show an entry from the start, and the store cannot take it away.
    const auto restoreEntry = [&](int restoreStep, O::Option option, const QComboBox* list) {
        guard.step(restoreStep, [&] {
            m_options->restoreIndex(option, rc::toEntryIndex(read(option), list->count()));
        });
    };

    step = 158;
    for (const QString& text : SeparatorLayout::texts()) {
        guard.step(step, [&] { m_optionPanel->addListEntry(Combo1, text); });
        step += 2;
    }
    restoreIndex(168, O::Layout, Combo1);
    step = 170;
    for (const QString& text : ShownOptions::positionTexts()) {
        guard.step(step, [&] { m_optionPanel->addListEntry(Combo2, text); });
        step += 2;
    }
    restoreIndex(182, O::LetterPosition, Combo2);
    guard.step(184, [&] { m_optionPanel->addListEntry(Combo3, ShownOptions::vowel); });
    guard.step(186, [&] { m_optionPanel->addListEntry(Combo3, ShownOptions::consonant); });
    for (char16_t letter = u'a'; letter <= u'z'; ++letter)
        guard.step(190, [&] { m_optionPanel->addListEntry(Combo3, QString(QChar(letter))); });
    restoreIndex(194, O::LetterKind, Combo3);

    guard.step(196, [&] { m_options->restoreText(O::StartLetter, read(O::StartLetter)); });
    guard.step(198, [&] { m_options->restoreText(O::EndLetter, read(O::EndLetter)); });
    guard.step(200, [&] { m_options->restoreText(O::MaxLength, read(O::MaxLength)); });
    guard.step(202, [&] { m_options->restoreText(O::MinLength, read(O::MinLength)); });
    guard.step(204, [&] {
        const QString desktop = m_platform.files->desktopFolder() + QLatin1Char('/');
        m_options->restoreText(O::Folder, readSetting(O::keyOf(O::Folder), desktop));
    });
    // The word options take the free numbers after 114, where the clock seeded the draws before
    // they came from the system's source.
    restoreEntry(116, O::Commonness, Combo4);
    restoreEntry(118, O::Kind, Combo5);
    restoreEntry(120, O::Spellings, Combo6);
    guard.step(122, [&] {
        // Before the list, a tick box kept under another key: cleared, it let every word in.
        const bool cleared = rc::toTwoStateCheck(readSetting(
                                 QStringLiteral("Leave Out Offensive"), QStringLiteral("1")))
            == 0;
        m_options->restoreIndex(O::LeaveOutOffensive,
            rc::toEntryIndex(readSetting(O::keyOf(O::LeaveOutOffensive),
                                 cleared ? QStringLiteral("2") : QStringLiteral("0")),
                Combo10->count()));
    });
    guard.step(124, [&] {
        // Before, key Topic held the entry among 45 topics in the order of their former names,
        // here as their values.
        static constexpr int former[] = { 0, 5, 1, 3, 6, 43, 9, 31, 11, 34, 35, 38, 12, 13, 14, 4,
            30, 15, 37, 17, 39, 18, 7, 41, 45, 40, 19, 20, 16, 21, 22, 23, 8, 24, 25, 2, 26, 42, 27,
            28, 33, 32, 10, 29, 36, 44 };
        const int entry = rc::toEntryIndex(
            readSetting(QStringLiteral("Topic"), QStringLiteral("0")), int(std::size(former)));
        const QString fallback = QString::number(OptionTable::entryOf(O::Topic, former[entry]));
        m_options->restoreIndex(
            O::Topic, rc::toEntryIndex(readSetting(O::keyOf(O::Topic), fallback), Combo7->count()));
    });
    restoreEntry(126, O::Syllables, Combo8);
    // By its code; a language no longer installed gives way to English, else the first there is.
    // Where English alone is installed there is nothing to choose, and nothing is stored.
    if (!Combo9->isHidden())
        guard.step(128, [&] {
            int entry = Combo9->findData(read(O::Language));
            if (entry < 0)
                entry = std::max(0, Combo9->findData(QStringLiteral("en")));
            m_options->restoreIndex(O::Language, entry);
        });
    deferral.dismiss();
    m_platform.settings->endDeferral();
}

void Form1::PushButton1_Click()
{
    m_generation->PushButton1_Click();
}

void Form1::PushButton2_Click()
{
    m_textExport->PushButton2_Click();
}

void Form1::PushButton3_Click()
{
    m_clipboardCopy->PushButton3_Click();
}

void Form1::PushButton4_Click()
{
    m_listCommands->PushButton4_Click();
}

void Form1::PushButton5_Click()
{
    m_spreadsheetExport->PushButton5_Click();
}

void Form1::PushButton9_Click()
{
    m_folderChooser->PushButton9_Click();
}

void Form1::ListView1_KeyDown(int keyCode, Qt::KeyboardModifiers shift)
{
    m_listCommands->ListView1_KeyDown(keyCode, shift);
}

void Form1::runEnded(int delivered, bool stopped, bool failed, const QString& file)
{
    m_statusLine->runEnded(delivered, stopped, failed, file);
}

bool Form1::SaveResultsAsExcelFileIsExcelInstalled()
{
    return m_spreadsheetExport->SaveResultsAsExcelFileIsExcelInstalled();
}

void Form1::showMessage(const QString& text)
{
    m_platform.dialogs->message(this, text, m_applicationTitle);
}

void Form1::showErrorBox(const QString& message)
{
    m_platform.dialogs->errorBox(this, message);
}

QString Form1::prompt(const QString& text, const QString& title)
{
    return m_platform.dialogs->prompt(this, text, title);
}

void Form1::yield()
{
    m_platform.pump->yield();
    if (m_closed)
        throw WindowClosed {};
}

void Form1::waitForEvents()
{
    m_platform.pump->waitForEvents();
    if (m_closed)
        throw WindowClosed {};
}

QString Form1::readSetting(const QString& key, const QString& defaultValue) const
{
    return m_platform.settings->read(
        SettingsKeys::application, SettingsKeys::section, key, defaultValue);
}

void Form1::writeSetting(const QString& key, const QString& value)
{
    m_platform.settings->write(SettingsKeys::application, SettingsKeys::section, key, value);
    reportSettingsFailure();
}

void Form1::reportSettingsFailure()
{
    // Once: every later change would fail the same way, and the program works on without a store.
    if (m_settingsFailureReported)
        return;
    const QString failure = m_platform.settings->failure();
    if (failure.isEmpty())
        return;
    m_settingsFailureReported = true;
    showMessage(QStringLiteral("The options cannot be saved in %1. The program goes on, but the "
                               "changes you make will be forgotten when it ends.")
                    .arg(failure));
}

void Form1::setMousePointer(int pointer)
{
    m_mousePointer = pointer;
    if (pointer == PointerHourglass)
        setCursor(Qt::WaitCursor);
    else if (pointer == PointerCustom && m_customCursor)
        setCursor(*m_customCursor);
    else
        unsetCursor();
}

void Form1::setProgress(int percent)
{
    ProgressBar1->setValue(percent);
}

void Form1::resetProgress()
{
    ProgressBar1->setValue(0);
    ProgressBar1->setFormat(QStringLiteral("Progress Bar"));
}

QString Form1::startButtonCaption() const
{
    return PushButton1->text();
}

void Form1::setStartButtonCaption(const QString& caption)
{
    PushButton1->setText(caption);
}

void Form1::setClearEnabled(bool enabled)
{
    PushButton4->setEnabled(enabled);
}

int Form1::selectedRow() const
{
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void Form1::showStatus(const QString& text)
{
    StatusText->setText(text);
    // Announced without taking the focus from where the user works.
    QAccessibleEvent shown(StatusText, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void Form1::showCommandResult(const QString& text)
{
    m_statusLine->commandDone(text);
}

void Form1::setCustomPointerImage(std::optional<QCursor> cursor)
{
    m_customCursor = std::move(cursor);
    setMousePointer(m_mousePointer);
}

void Form1::closeEvent(QCloseEvent* event)
{
    m_closed = true;
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            ListView1_KeyDown(46, key->modifiers());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
