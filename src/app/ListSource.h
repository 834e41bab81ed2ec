#pragma once

#include <QString>

// Read access to a list of rows with columns, as the copy and export commands see it.
// Rows and columns count from 1.
class ListSource
{
public:
    virtual ~ListSource() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    virtual QString headerText(int column) const = 0;
    // Column 1 is the row's text, later columns its sub-items.
    virtual QString cellText(int row, int column) const = 0;
    virtual bool isChecked(int row) const = 0;
};

// True when at least one row is ticked: the copy and the spreadsheet export carry only those.
inline bool hasTickedRow(const ListSource& list)
{
    for (int row = 1; row <= list.rowCount(); ++row) {
        if (list.isChecked(row))
            return true;
    }
    return false;
}

// What the copy and the spreadsheet export say when they have nothing to carry.
inline QString noRowTicked()
{
    return QStringLiteral("No row is ticked.");
}
