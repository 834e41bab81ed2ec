#include "platform/QtSettingsStore.h"

namespace {

QString fullKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QSettings& QtSettingsStore::settingsOf(const QString& application) const
{
    auto& settings = m_settings[application];
    if (!settings)
        settings = std::make_unique<QSettings>(
            QSettings::NativeFormat, QSettings::UserScope, application);
    return *settings;
}

QString QtSettingsStore::read(const QString& application, const QString& section,
    const QString& key, const QString& defaultValue) const
{
    QSettings& settings = settingsOf(application);
    // Picks up a file changed by someone else; cheap when nothing changed. Not while writes are
    // deferred, since it would write them.
    if (m_deferrals == 0)
        settings.sync();
    const QVariant value = settings.value(fullKey(section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited file may hold a list (a value with commas); keep its text as written.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void QtSettingsStore::write(
    const QString& application, const QString& section, const QString& key, const QString& value)
{
    QSettings& settings = settingsOf(application);
    settings.setValue(fullKey(section, key), value);
    if (m_deferrals == 0)
        settings.sync();
}

void QtSettingsStore::beginDeferral()
{
    if (m_deferrals++ == 0) {
        for (auto& [application, settings] : m_settings)
            settings->sync();
    }
}

void QtSettingsStore::endDeferral()
{
    if (m_deferrals == 0 || --m_deferrals > 0)
        return;
    for (auto& [application, settings] : m_settings)
        settings->sync();
}
