#pragma once

#include <QString>

// The system clipboard. Both calls are single attempts and throw PlatformError on failure.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    // Empties the clipboard.
    virtual void clear() = 0;
    // Puts plain text on the clipboard.
    virtual void putText(const QString& text) = 0;
};
