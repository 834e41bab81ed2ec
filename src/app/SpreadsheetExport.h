#pragma once

class CommandWindow;
class ListSource;

// "Save Results As Excel File": the ticked rows into a new sheet of the spreadsheet application.
class SpreadsheetExport
{
public:
    explicit SpreadsheetExport(CommandWindow& form);

    void PushButton5_Click();
    // The command on any list: the button runs it on the result list, which has one column.
    void exportList(const ListSource& list);
    // Whether a spreadsheet application can be started; tells the user when it cannot.
    bool SaveResultsAsExcelFileIsExcelInstalled();

private:
    CommandWindow& m_form;
};
