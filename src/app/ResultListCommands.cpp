#include "app/ResultListCommands.h"

#include "app/CommandWindow.h"
#include "app/ResultListModel.h"
#include "app/StatusLine.h"
#include "app/StepGuard.h"

ResultListCommands::ResultListCommands(CommandWindow& form)
    : m_form(form)
{ }

void ResultListCommands::PushButton4_Click()
{
    StepGuard guard([this](const QString& message) { m_form.showErrorBox(message); },
        QStringLiteral("PushButton4_Click"));
    bool cleared = false;
    guard.step(100, [&] {
        if (m_form.mousePointer() != CommandWindow::PointerHourglass) {
            m_form.resultList()->clear();
            cleared = true;
        }
    });
    if (cleared)
        m_form.showCommandResult(StatusLine::clearedText());
}

void ResultListCommands::ListView1_KeyDown(int keyCode, Qt::KeyboardModifiers)
{
    constexpr int deleteKey = 46;
    if (keyCode != deleteKey || m_form.mousePointer() == CommandWindow::PointerHourglass)
        return;
    ResultListModel* list = m_form.resultList();
    if (list->rowCount() == 0)
        return;
    const int selected = m_form.selectedRow();
    if (selected == 0)
        return;
    list->remove(selected);
    m_form.showCommandResult(StatusLine::deletedText(list->rowCount()));
}
