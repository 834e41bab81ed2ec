#include "engine/WordList.h"

#include "engine/PlatformError.h"

const QString& WordList::word(int r) const
{
    if (r < 1 || r > count())
        throw PlatformError(
            QStringLiteral("Either BOF or EOF is True, or the current record has been deleted."));
    return m_words[static_cast<size_t>(r - 1)];
}
