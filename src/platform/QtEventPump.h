#pragma once

#include "platform/EventPump.h"

// Yields with QCoreApplication::processEvents().
class QtEventPump : public EventPump
{
public:
    void yield() override;
    void waitForEvents() override;
};
