#pragma once

#include "platform/Clipboard.h"

// The application's clipboard, plain text only.
class QtClipboard : public Clipboard
{
public:
    void clear() override;
    void putText(const QString& text) override;
};
