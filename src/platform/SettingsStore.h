#pragma once

#include <QString>

// Per-user string values addressed by application, section and key.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    // The stored string, or the default when the key was never written.
    virtual QString read(const QString& application, const QString& section, const QString& key,
        const QString& defaultValue) const = 0;
    // Creates or replaces the value; on disk when the call returns. A failure is not thrown: the
    // value stays in memory, and failure() tells of it.
    virtual void write(const QString& application, const QString& section, const QString& key,
        const QString& value)
        = 0;
    // Writes made until endDeferral() may reach the disk together, at that call; for the
    // write-back at start-up, which only repeats what the store holds or its defaults.
    virtual void beginDeferral() { }
    virtual void endDeferral() { }
    // The first write that did not reach the disk, naming the file and the reason; empty while
    // every write has.
    virtual QString failure() const { return {}; }
};
