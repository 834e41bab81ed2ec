#include "app/SpreadsheetExport.h"

#include "app/CommandWindow.h"
#include "app/ResultListModel.h"
#include "app/StatusLine.h"
#include "app/StepGuard.h"

SpreadsheetExport::SpreadsheetExport(CommandWindow& form)
    : m_form(form)
{ }

bool SpreadsheetExport::SaveResultsAsExcelFileIsExcelInstalled()
{
    bool installed = true;
    bool failed = false;
    try {
        failed = m_form.platform().spreadsheet->start() == nullptr;
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed) {
        try {
            m_form.showMessage(
                QStringLiteral("Excel is not installed on this computer. You need to have "
                               "it installed to use this software without error."));
        } catch (const std::exception&) { }
        installed = false;
    }
    return installed;
}

void SpreadsheetExport::PushButton5_Click()
{
    exportList(*m_form.resultList());
}

void SpreadsheetExport::exportList(const ListSource& list)
{
    StepGuard guard([this](const QString& message) { m_form.showErrorBox(message); },
        QStringLiteral("PushButton5_Click"));

    bool installed = true;
    guard.step(100, [&] { installed = SaveResultsAsExcelFileIsExcelInstalled(); });
    if (!installed) {
        guard.step(174, [&] {
            m_form.showMessage(
                QStringLiteral("Excel is not installed on this computer. You need to have it "
                               "installed to use this feature."));
        });
        return;
    }
    if (guard.jumpTest(108, [&] { return !hasTickedRow(list); })) {
        m_form.showMessage(noRowTicked());
        return;
    }

    guard.step(110, [&] { m_form.setMousePointer(CommandWindow::PointerHourglass); });
    guard.step(112, [&] { m_form.setClearEnabled(false); });

    std::unique_ptr<SpreadsheetApplication> application;
    guard.step(114, [&] {
        application = m_form.platform().spreadsheet->start();
        if (!application)
            throw PlatformError(QStringLiteral("ActiveX component can't create object"));
    });
    bool workbookAdded = false;
    if (application)
        workbookAdded = guard.step(116, [&] { application->addWorkbook(); });
    // Without an application or a workbook every later call would fail the same way.
    const bool ready = application && workbookAdded;

    bool cellFailed = !ready;
    int i = 1;
    guard.step(118, [&] { i = 1; });
    for (int c = 1; c <= list.columnCount() && !cellFailed; ++c) {
        guard.step(122, [&] { m_form.yield(); });
        cellFailed = !guard.step(124, [&] { application->setCellText(1, i, list.headerText(c)); });
        ++i;
    }

    int exported = 0;
    int j = 2;
    guard.step(136, [&] { j = 2; });
    for (int r = 1; r <= list.rowCount() && !cellFailed; ++r) {
        guard.step(140, [&] { m_form.yield(); });
        if (guard.test(142, [&] { return list.isChecked(r); })) {
            i = 1;
            for (int c = 1; c <= list.columnCount() && !cellFailed; ++c) {
                guard.step(148, [&] { m_form.yield(); });
                if (c == 1) {
                    cellFailed = !guard.step(
                        152, [&] { application->setCellText(j, i, list.cellText(r, c)); });
                } else {
                    cellFailed = !guard.step(156, [&] {
                        application->setCellText(
                            j, i, list.cellText(r, c).remove(QLatin1Char('=')));
                    });
                }
                ++i;
            }
            exported += cellFailed ? 0 : 1;
        }
        ++j;
    }

    if (ready && !cellFailed) {
        guard.step(166, [&] { application->autoFitColumns(); });
        guard.step(168, [&] { application->setVisible(true); });
    }
    guard.step(170, [&] { m_form.setClearEnabled(true); });
    guard.step(172, [&] { m_form.setMousePointer(CommandWindow::PointerDefault); });
    if (guard.failures() == 0)
        m_form.showCommandResult(StatusLine::exportedText(exported));
}
