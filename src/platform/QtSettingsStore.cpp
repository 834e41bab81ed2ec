#include "platform/QtSettingsStore.h"

#include <QDir>
#include <QFileInfo>

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
        sync(settings);
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
        sync(*settings);
}

void QtSettingsStore::sync(QSettings& settings)
{
    settings.sync();
    // The reason is looked for only once a write has failed: a write that went through costs no
    // further look at the disk.
    if (!m_failure.isEmpty() || settings.status() == QSettings::NoError)
        return;
    const QFileInfo file(settings.fileName());
    const QFileInfo folder(file.absolutePath());
    QString reason;
    if (file.exists() && (!file.isFile() || !file.isWritable()))
        reason = file.isFile() ? QStringLiteral("the file is read-only")
                               : QStringLiteral("it is a folder");
    else if (folder.exists() && (!folder.isDir() || !folder.isWritable()))
        reason = folder.isDir() ? QStringLiteral("its folder is read-only")
                                : QStringLiteral("its folder is a file");
    else
        reason = QStringLiteral("writing it failed; the disk may be full");
    m_failure = QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(file.filePath()), reason);
}
