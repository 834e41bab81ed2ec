#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>
#include <map>
#include <memory>
#include <set>

// Values in the per-user INI file of the application name, one group per section.
class QtSettingsStore : public SettingsStore
{
public:
    QString read(const QString& application, const QString& section, const QString& key,
        const QString& defaultValue) const override;
    void write(const QString& application, const QString& section, const QString& key,
        const QString& value) override;
    void beginDeferral() override;
    void endDeferral() override;
    QString failure() const override { return m_failure; }

private:
    // The application's store, or null when its file is not a regular file: its values are then
    // kept in memory alone.
    QSettings* settingsOf(const QString& application) const;
    // Writes the store's changes to its file and notes the first that fails.
    void sync(QSettings& settings);

    // One store per application, kept open so that reads need not parse the file again.
    mutable std::map<QString, std::unique_ptr<QSettings>> m_settings;
    mutable std::set<QString> m_unusable;
    mutable std::map<QString, QString> m_memory;
    int m_deferrals = 0;
    mutable QString m_failure;
};
