#pragma once

#include <QString>

class CommandWindow;
class ListSource;
class Clipboard;

// "Copy Results To Clipboard": the ticked rows as text, one line each.
class ClipboardCopy
{
public:
    explicit ClipboardCopy(CommandWindow& form);

    void PushButton3_Click();

    // Lays the ticked rows out as a table of blank-padded, tab-separated cells and puts it on the
    // clipboard; an empty list leaves the clipboard alone. Yields before every cell and row.
    // Gives the number of rows copied, or -1 when the clipboard never took the text.
    int CopyListToClipboard(const ListSource& list);

    // Each makes its one clipboard operation, retried while it fails, up to 1000 attempts,
    // silently; the put tells whether the text got there.
    static void ClearClipboard(Clipboard& clipboard);
    static bool PutClipboardText(Clipboard& clipboard, const QString& text, int format);

private:
    CommandWindow& m_form;
};
