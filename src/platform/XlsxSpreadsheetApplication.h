#pragma once

#include "platform/Spreadsheet.h"

#include <QString>
#include <QStringList>
#include <map>
#include <utility>
#include <vector>

// Keeps workbooks in memory; making the application visible writes each workbook not yet shown
// as an .xlsx file into the export folder and opens it with the launch command, the file's path
// added as the last argument. Nothing touches the disk before that.
class XlsxSpreadsheetApplication : public SpreadsheetApplication
{
public:
    // Excel's limits; libxlsxwriter refuses anything beyond them.
    static constexpr int maxRows = 1048576;
    static constexpr int maxColumns = 16384;
    static constexpr int maxTextLength = 32767;

    XlsxSpreadsheetApplication(QStringList launchCommand, QString exportFolder);

    void addWorkbook() override;
    void setCellText(int row, int column, const QString& text) override;
    void autoFitColumns() override;
    void setVisible(bool visible) override;

private:
    struct Workbook
    {
        std::map<std::pair<int, int>, QString> cells; // by (row, column), 1-based
        std::map<int, int> columnWidths; // by column, in characters
        bool shown = false; // opened, and not changed since
    };

    Workbook& activeWorkbook();
    QString writeWorkbook(const Workbook& workbook) const;
    void removeOldWorkbooks(const QString& keptPath) const;
    void launch(const QString& path) const;

    QStringList m_launchCommand;
    QString m_exportFolder;
    std::vector<Workbook> m_workbooks;
};
