#pragma once

// Lets every pending window event run before a long command goes on.
class EventPump
{
public:
    virtual ~EventPump() = default;
    // Handles all pending events, then returns.
    virtual void yield() = 0;
    // Waits for the next event and handles it with all others pending: a command with nothing to
    // do until the user acts waits here instead of spinning.
    virtual void waitForEvents() = 0;
};
