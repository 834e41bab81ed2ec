#pragma once

#include <QString>
#include <memory>

// One running spreadsheet application, driven the way an automation client drives it.
class SpreadsheetApplication
{
public:
    virtual ~SpreadsheetApplication() = default;
    // Adds a new workbook, which becomes the active one with one empty sheet.
    virtual void addWorkbook() = 0;
    // Sets the value of a cell (1-based row and column) of the active sheet, as text.
    virtual void setCellText(int row, int column, const QString& text) = 0;
    // Fits the width of every column of the active sheet to its contents.
    virtual void autoFitColumns() = 0;
    // Shows the application with its workbook to the user.
    virtual void setVisible(bool visible) = 0;
};

// Starts spreadsheet applications.
class SpreadsheetLauncher
{
public:
    virtual ~SpreadsheetLauncher() = default;
    // A new application object, or nullptr when none is installed; may throw PlatformError.
    virtual std::unique_ptr<SpreadsheetApplication> start() = 0;
};
