#include "app/ClipboardCopy.h"

#include "app/CommandWindow.h"
#include "app/ListSource.h"
#include "app/ResultListModel.h"
#include "app/StatusLine.h"
#include "app/StepGuard.h"

#include <vector>

namespace {

template <typename F> bool retrySilently(F&& operation)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        try {
            operation();
            return true;
        } catch (const std::exception&) { }
    }
    return false;
}

} // namespace

ClipboardCopy::ClipboardCopy(CommandWindow& form)
    : m_form(form)
{ }

void ClipboardCopy::PushButton3_Click()
{
    StepGuard guard([this](const QString& message) { m_form.showErrorBox(message); },
        QStringLiteral("PushButton3_Click"));
    // Nothing to copy: the clipboard keeps what the user put there.
    if (!hasTickedRow(*m_form.resultList())) {
        m_form.showMessage(noRowTicked());
        return;
    }
    guard.step(106, [&] { m_form.setClearEnabled(false); });
    int copied = -1;
    guard.step(108, [&] { copied = CopyListToClipboard(*m_form.resultList()); });
    guard.step(110, [&] { m_form.setClearEnabled(true); });
    if (guard.failures() == 0) {
        guard.step(112, [&] {
            m_form.showMessage(
                QStringLiteral("Results have been copied to the clipboard.\r\rClick a text "
                               "area where you normally type and press Ctrl+V to paste the "
                               "clipboard."));
        });
    }
    if (guard.failures() == 0 && copied >= 0)
        m_form.showCommandResult(StatusLine::copiedText(copied));
}

int ClipboardCopy::CopyListToClipboard(const ListSource& list)
{
    // Counts are read afresh at each yield: a handler run inside it may change the list.
    if (list.rowCount() == 0)
        return 0;

    std::vector<qsizetype> widths;
    for (int c = 1; c <= list.columnCount(); ++c) {
        qsizetype longest = 0;
        for (int r = 1; r <= list.rowCount(); ++r) {
            m_form.yield();
            longest = std::max(longest, list.cellText(r, c).size());
        }
        widths.push_back(longest);
    }

    QString result;
    int copied = 0;
    for (int r = 1; r <= list.rowCount(); ++r) {
        m_form.yield();
        if (!list.isChecked(r))
            continue;
        ++copied;
        for (int c = 1; c <= list.columnCount(); ++c) {
            m_form.yield();
            const QString cell = list.cellText(r, c);
            result += cell;
            const qsizetype width = c <= qsizetype(widths.size()) ? widths[size_t(c - 1)] : 0;
            if (width >= cell.size())
                result += QString(width - cell.size(), QLatin1Char(' '));
            result += QLatin1Char('\t');
        }
        if (list.columnCount() > 0)
            result.chop(1);
        qsizetype end = result.size();
        while (end > 0 && result[end - 1] == QLatin1Char(' '))
            --end;
        result.truncate(end);
        result += QStringLiteral("\r\n");
    }

    Clipboard& clipboard = *m_form.platform().clipboard;
    ClearClipboard(clipboard);
    return PutClipboardText(clipboard, result, 0) ? copied : -1;
}

void ClipboardCopy::ClearClipboard(Clipboard& clipboard)
{
    retrySilently([&] { clipboard.clear(); });
}

bool ClipboardCopy::PutClipboardText(Clipboard& clipboard, const QString& text, int)
{
    return retrySilently([&] { clipboard.putText(text); });
}
