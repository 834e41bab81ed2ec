#pragma once

#include "platform/SettingsStore.h"

// Values in the per-user INI file of the application name, one group per section.
class QtSettingsStore : public SettingsStore
{
public:
    QString read(const QString& application, const QString& section, const QString& key,
        const QString& defaultValue) const override;
    void write(const QString& application, const QString& section, const QString& key,
        const QString& value) override;
};
