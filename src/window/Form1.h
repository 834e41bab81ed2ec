#pragma once

#include "app/CommandWindow.h"
#include "engine/Language.h"

#include <QCursor>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class OptionsModel;
class ResultListView;
class GenerationRun;
class TextExport;
class ClipboardCopy;
class SpreadsheetExport;
class ResultListCommands;
class OptionPanel;
class FolderChooser;
class PointerFeedback;
class StatusLine;
class StepGuard;

// The program's one window. It owns the controls and the window-level state of a run, and hands
// each event to the handler that deals with it.
class Form1 : public QWidget, public CommandWindow
{
    Q_OBJECT
public:
    explicit Form1(const Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    // Runs the start-up sequence; false when the program must end without showing the window.
    bool Form_Load();

    // Command handlers.
    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton9_Click();
    void ListView1_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void runEnded(int delivered, bool stopped, bool failed, const QString& file) override;
    bool SaveResultsAsExcelFileIsExcelInstalled();

    const Platform& platform() const override { return m_platform; }
    OptionsModel& options() override { return *m_options; }
    ResultListModel* resultList() const override { return m_resultList; }
    QObject* dialogOwner() override { return this; }
    // The caption of plain message boxes.
    const QString& applicationTitle() const { return m_applicationTitle; }
    void showMessage(const QString& text) override;
    void showErrorBox(const QString& message) override;
    QString prompt(const QString& text, const QString& title) override;
    void yield() override;
    void waitForEvents() override;

    // The store, under the program's application and section.
    QString readSetting(const QString& key, const QString& defaultValue) const;
    void writeSetting(const QString& key, const QString& value) override;
    // Tells the user, once, that the options can no longer be saved.
    void reportSettingsFailure();

    int mousePointer() const override { return m_mousePointer; }
    void setMousePointer(int pointer) override;
    void setProgress(int percent) override;
    void resetProgress() override;
    QString startButtonCaption() const override;
    void setStartButtonCaption(const QString& caption) override;
    void setClearEnabled(bool enabled) override;
    int selectedRow() const override;
    void showStatus(const QString& text) override;
    void showCommandResult(const QString& text) override;
    void setCustomPointerImage(std::optional<QCursor> cursor);
    bool hasCustomPointerImage() const { return m_customCursor.has_value(); }

    bool isClosed() const { return m_closed; }

    // Controls.
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QGroupBox* Frame3;
    QGroupBox* Frame4;
    QGroupBox* Frame5;
    QGroupBox* Frame6;
    QGroupBox* Frame7;
    // Which words: commonness level, kind, spelling and the offensive mark.
    QGroupBox* Frame8;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QLineEdit* Text5;
    QLineEdit* Text6;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QCheckBox* Check4;
    QCheckBox* Check5;
    QCheckBox* Check6;
    QComboBox* Combo10;
    QComboBox* Combo1;
    QComboBox* Combo2;
    QComboBox* Combo3;
    QComboBox* Combo4;
    QComboBox* Combo5;
    QComboBox* Combo6;
    QComboBox* Combo7;
    QComboBox* Combo8;
    // The language of the words; shown only where another language than English is installed.
    QComboBox* Combo9;
    QRadioButton* Option7;
    QRadioButton* Option8;
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton3;
    QPushButton* PushButton4;
    QPushButton* PushButton5;
    QPushButton* PushButton9;
    QProgressBar* ProgressBar1;
    ResultListView* ListView1;
    // The status line below the layout: the count of matching words, or what a run delivered.
    QLabel* StatusText;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createOptionFrames();
    void createOutputFrames();
    void createWordFrame();
    void setTabOrder();
    // Greys the lists of facts the chosen language's words lack. Their entries stay as they are,
    // for when a language that has the facts is chosen again.
    void greyListsOfLackedFacts();
    // Start-up: restores every option from the store, each at its step.
    void restoreOptions(StepGuard& guard);
    // Runs a handler from an event; a closed window ends it quietly.
    template <typename F> void dispatch(F&& handler);

    Platform m_platform;
    QString m_applicationTitle;
    int m_mousePointer = PointerDefault;
    std::optional<QCursor> m_customCursor;
    bool m_closed = false;
    bool m_settingsFailureReported = false;
    ResultListModel* m_resultList;
    // What each entry of the language list says of its words.
    std::vector<Language> m_languages;
    OptionsModel* m_options;

    std::unique_ptr<OptionPanel> m_optionPanel;
    std::unique_ptr<FolderChooser> m_folderChooser;
    std::unique_ptr<GenerationRun> m_generation;
    std::unique_ptr<TextExport> m_textExport;
    std::unique_ptr<ClipboardCopy> m_clipboardCopy;
    std::unique_ptr<SpreadsheetExport> m_spreadsheetExport;
    std::unique_ptr<ResultListCommands> m_listCommands;
    std::unique_ptr<PointerFeedback> m_pointerFeedback;
    std::unique_ptr<StatusLine> m_statusLine;
};
