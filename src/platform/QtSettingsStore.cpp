#include "platform/QtSettingsStore.h"

#include <QSettings>

namespace {

QString fullKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

QString QtSettingsStore::read(const QString& application, const QString& section,
    const QString& key, const QString& defaultValue) const
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application);
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
    if (m_deferrals > 0) {
        auto& settings = m_deferred[application];
        if (!settings)
            settings = std::make_unique<QSettings>(
                QSettings::NativeFormat, QSettings::UserScope, application);
        settings->setValue(fullKey(section, key), value);
        return;
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application);
    settings.setValue(fullKey(section, key), value);
    settings.sync();
}

void QtSettingsStore::beginDeferral()
{
    ++m_deferrals;
}

void QtSettingsStore::endDeferral()
{
    if (m_deferrals == 0 || --m_deferrals > 0)
        return;
    for (auto& [application, settings] : m_deferred)
        settings->sync();
    m_deferred.clear();
}
