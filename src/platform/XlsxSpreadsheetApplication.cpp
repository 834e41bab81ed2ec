#include "platform/XlsxSpreadsheetApplication.h"

#include "engine/PlatformError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <algorithm>
#include <memory>
#include <xlsxwriter.h>

namespace {

constexpr int minColumnWidth = 3;
constexpr int maxColumnWidth = 255;
const QString fileNamePrefix = QStringLiteral("Tessavine-");

PlatformError writeError(const QString& path, lxw_error error)
{
    return PlatformError(QStringLiteral("Cannot write the workbook %1: %2")
                             .arg(path, QString::fromUtf8(lxw_strerror(error))));
}

}

XlsxSpreadsheetApplication::XlsxSpreadsheetApplication(
    QStringList launchCommand, QString exportFolder)
    : m_launchCommand(std::move(launchCommand))
    , m_exportFolder(std::move(exportFolder))
{ }

void XlsxSpreadsheetApplication::addWorkbook()
{
    m_workbooks.emplace_back();
}

XlsxSpreadsheetApplication::Workbook& XlsxSpreadsheetApplication::activeWorkbook()
{
    if (m_workbooks.empty())
        throw PlatformError(QStringLiteral("No workbook is open."));
    return m_workbooks.back();
}

void XlsxSpreadsheetApplication::setCellText(int row, int column, const QString& text)
{
    Workbook& workbook = activeWorkbook();
    if (row < 1 || row > maxRows || column < 1 || column > maxColumns) {
        throw PlatformError(QStringLiteral("The cell at row %1, column %2 lies outside the sheet.")
                                .arg(row)
                                .arg(column));
    }
    qsizetype length = std::min(text.size(), qsizetype(maxTextLength));
    if (length < text.size() && text.at(length - 1).isHighSurrogate())
        --length; // never split a character in two
    workbook.cells[{ row, column }] = text.left(length);
    workbook.shown = false;
}

void XlsxSpreadsheetApplication::autoFitColumns()
{
    Workbook& workbook = activeWorkbook();
    workbook.columnWidths.clear();
    for (const auto& [cell, text] : workbook.cells) {
        if (text.isEmpty())
            continue;
        // A width is measured in characters, not in UTF-16 units.
        const auto length = static_cast<int>(text.toUcs4().size());
        int& width = workbook.columnWidths[cell.second];
        width = std::max(width, std::clamp(length + 1, minColumnWidth, maxColumnWidth));
    }
    workbook.shown = false;
}

void XlsxSpreadsheetApplication::setVisible(bool visible)
{
    // Showing a workbook means opening its file; there is nothing to hide afterwards.
    if (!visible)
        return;
    for (Workbook& workbook : m_workbooks) {
        if (workbook.shown)
            continue;
        const QString path = writeWorkbook(workbook);
        removeOldWorkbooks(path);
        launch(path);
        workbook.shown = true;
    }
}

QString XlsxSpreadsheetApplication::writeWorkbook(const Workbook& workbook) const
{
    if (!QDir().mkpath(m_exportFolder))
        throw PlatformError(QStringLiteral("Cannot create the folder %1.").arg(m_exportFolder));
    // Creating the file takes its name, even against another running copy of the program.
    QTemporaryFile file(m_exportFolder + QLatin1Char('/') + fileNamePrefix
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))
        + QStringLiteral("-XXXXXX.xlsx"));
    file.setAutoRemove(false);
    if (!file.open()) {
        throw PlatformError(QStringLiteral("Cannot create a workbook in %1: %2")
                                .arg(m_exportFolder, file.errorString()));
    }
    QString path = file.fileName();
    file.close();

    try {
        std::unique_ptr<lxw_workbook, void (*)(lxw_workbook*)> book(
            workbook_new(QFile::encodeName(path).constData()), lxw_workbook_free);
        lxw_worksheet* sheet = book ? workbook_add_worksheet(book.get(), "Sheet1") : nullptr;
        if (!sheet)
            throw writeError(path, LXW_ERROR_MEMORY_MALLOC_FAILED);
        const auto check = [&path](lxw_error error) {
            if (error != LXW_NO_ERROR)
                throw writeError(path, error);
        };
        for (const auto& [column, width] : workbook.columnWidths) {
            const auto index = static_cast<lxw_col_t>(column - 1);
            check(worksheet_set_column(sheet, index, index, width, nullptr));
        }
        for (const auto& [cell, text] : workbook.cells) {
            // Always a string: a text such as "=x" or "42" must reach the sheet as it is.
            check(worksheet_write_string(sheet, static_cast<lxw_row_t>(cell.first - 1),
                static_cast<lxw_col_t>(cell.second - 1), text.toUtf8().constData(), nullptr));
        }
        check(workbook_close(book.release())); // writes the file and frees the workbook
    } catch (const PlatformError&) {
        QFile::remove(path);
        throw;
    }
    return path;
}

void XlsxSpreadsheetApplication::removeOldWorkbooks(const QString& keptPath) const
{
    // Each export leaves a file behind for the spreadsheet application to open; after a day it
    // has long been read.
    const QDateTime limit = QDateTime::currentDateTime().addDays(-1);
    const QString keptName = QFileInfo(keptPath).fileName();
    const QFileInfoList files
        = QDir(m_exportFolder)
              .entryInfoList({ fileNamePrefix + QStringLiteral("*.xlsx") }, QDir::Files);
    for (const QFileInfo& file : files) {
        if (file.lastModified() < limit && file.fileName() != keptName)
            QFile::remove(file.filePath());
    }
}

void XlsxSpreadsheetApplication::launch(const QString& path) const
{
    QProcess process;
    process.setProgram(m_launchCommand.value(0));
    process.setArguments(m_launchCommand.mid(1) << path);
    if (!process.startDetached()) {
        QFile::remove(path); // nobody will ever open it
        throw PlatformError(QStringLiteral("Cannot start the spreadsheet application \"%1\": %2")
                                .arg(process.program(), process.errorString()));
    }
}
