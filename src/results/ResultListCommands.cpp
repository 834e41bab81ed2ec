#include "results/ResultListCommands.h"

#include "window/StepGuard.h"
#include "results/ResultListModel.h"
#include "results/ResultListView.h"
#include "window/Form1.h"

#include <QItemSelectionModel>

ResultListCommands::ResultListCommands(Form1& form)
    : m_form(form)
{ }

void ResultListCommands::PushButton4_Click()
{
    StepGuard guard([this](const QString& message) { m_form.showErrorBox(message); },
        QStringLiteral("PushButton4_Click"));
    guard.step(100, [&] {
        if (m_form.mousePointer() != Form1::PointerHourglass)
            m_form.resultList()->clear();
    });
}

void ResultListCommands::ListView1_KeyDown(int keyCode, Qt::KeyboardModifiers)
{
    constexpr int deleteKey = 46;
    if (keyCode != deleteKey || m_form.mousePointer() == Form1::PointerHourglass)
        return;
    ResultListModel* list = m_form.resultList();
    if (list->rowCount() == 0)
        return;
    const QModelIndexList selected = m_form.ListView1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    list->remove(selected.first().row() + 1);
}
