#include "app/TextExport.h"

#include "app/CommandWindow.h"
#include "app/OptionsModel.h"
#include "app/ResultListModel.h"
#include "app/StatusLine.h"
#include "app/StepGuard.h"
#include "engine/SeparatorLayout.h"

#include <QFileInfo>

TextExport::TextExport(CommandWindow& form)
    : m_form(form)
{ }

void TextExport::PushButton2_Click()
{
    StepGuard guard([this](const QString& message) { m_form.showErrorBox(message); },
        QStringLiteral("PushButton2_Click"));
    const Platform& platform = m_form.platform();
    using namespace SeparatorLayout;

    QString separatorX;
    if (guard.test(106, [&] {
            return m_form.options().text(OptionsModel::Layout) == texts()[TypedSeparator];
        })) {
        for (;;) {
            guard.step(108, [&] {
                separatorX = m_form.prompt(QStringLiteral("Enter x: "), QStringLiteral("Input X"));
            });
            if (!guard.jumpTest(110, [&] { return separatorX.isEmpty(); }))
                break;
        }
    }

    QString saveFilePath;
    guard.step(112, [&] {
        const FileSystem& files = *platform.files;
        const QString start = files.isFolder(m_lastFolder) ? m_lastFolder : files.homeFolder();
        saveFilePath = platform.dialogs->saveFileName(m_form.dialogOwner(), QStringLiteral("Save"),
            { QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*.*)") }, start);
    });
    if (guard.jumpTest(124, [&] { return saveFilePath.isEmpty(); }))
        return;
    m_lastFolder = QFileInfo(saveFilePath).absolutePath();

    guard.step(126, [&] { m_form.setMousePointer(CommandWindow::PointerHourglass); });
    guard.step(128, [&] { m_form.setClearEnabled(false); });

    // The step numbers of each layout: test, loop start, last-row test, word with joiner, last
    // word.
    struct LayoutSteps
    {
        int test, loop, isLast, withJoiner, lastWord;
    };
    static constexpr LayoutSteps steps[]
        = { { 130, 132, 136, 138, 140 }, { 144, 146, 148, 150, 152 }, { 156, 158, 160, 162, 164 },
              { 168, 170, 172, 174, 176 }, { 180, 182, 184, 186, 188 } };

    const QString shown = m_form.options().text(OptionsModel::Layout);
    bool writeFailed = false;
    int written = 0;
    for (int layout = MultipleLines; layout <= TypedSeparator; ++layout) {
        const LayoutSteps& s = steps[layout];
        if (!guard.test(s.test, [&] { return shown == texts()[layout]; }))
            continue;
        const QString joiner = SeparatorLayout::joiner(static_cast<Position>(layout), separatorX);
        const ResultListModel* list = m_form.resultList();
        int rows = 0;
        guard.step(s.loop, [&] { rows = list->rowCount(); });
        for (int i = 1; i <= rows && !writeFailed; ++i) {
            const bool last = !guard.test(s.isLast, [&] { return i < rows; });
            // One failed write is reported once; the rest would fail the same way.
            writeFailed = !guard.step(last ? s.lastWord : s.withJoiner, [&] {
                platform.writer->WriteTextPiece(
                    piece(list->cellText(i, 1), last, joiner), saveFilePath, i);
            });
            written += writeFailed ? 0 : 1;
        }
        break;
    }

    guard.step(192, [&] { m_form.setMousePointer(CommandWindow::PointerDefault); });
    guard.step(194, [&] { m_form.setClearEnabled(true); });
    if (guard.failures() == 0)
        guard.step(196, [&] { m_form.showMessage(QStringLiteral("Done.")); });
    // An empty list leaves the file as it was: nothing was saved to it.
    if (guard.failures() == 0 && written > 0)
        m_form.showCommandResult(StatusLine::savedText(written, saveFilePath));
}
