#pragma once

#include "platform/Spreadsheet.h"

// Starts the application that opens exported workbooks: the command named by the environment
// variable TESSAVINE_SPREADSHEET, else LibreOffice Calc, else the desktop's default application
// for .xlsx files. Workbooks go into the user's cache folder.
class XlsxSpreadsheetLauncher : public SpreadsheetLauncher
{
public:
    std::unique_ptr<SpreadsheetApplication> start() override;
};
