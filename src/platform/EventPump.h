#pragma once

// Lets every pending window event run before a long command goes on.
class EventPump
{
public:
    virtual ~EventPump() = default;
    // Handles all pending events, then returns.
    virtual void yield() = 0;
};
