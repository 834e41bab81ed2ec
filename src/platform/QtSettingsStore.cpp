#include "platform/QtSettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

QString fullKey(const QString& section, const QString& key)
{
    return section + QLatin1Char('/') + key;
}

// The file a store of the application keeps its values in, found without opening it (a store
// reads its file as it is made): asked of a store for a name in a folder that does not exist.
QString settingsFileOf(const QString& application)
{
    const QString probe
        = QStringLiteral(".tessavine-%1/probe").arg(QCoreApplication::applicationPid());
    const QString probeFile
        = QSettings(QSettings::NativeFormat, QSettings::UserScope, probe).fileName();
    return probeFile.left(probeFile.lastIndexOf(probe)) + application
        + probeFile.mid(probeFile.lastIndexOf(probe) + probe.size());
}

} // namespace

QSettings* QtSettingsStore::settingsOf(const QString& application) const
{
    if (m_unusable.count(application))
        return nullptr;
    auto& settings = m_settings[application];
    if (settings)
        return settings.get();
    // A named pipe, a device or a link to one (a link to /dev/null stops many programs saving)
    // would block the read or be replaced by the write: it is left alone and said once.
    const QString file = settingsFileOf(application);
    struct stat status = {};
    if (::stat(QFile::encodeName(file).constData(), &status) == 0 && !S_ISREG(status.st_mode)) {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("%1 (%2)").arg(QDir::toNativeSeparators(file),
                S_ISDIR(status.st_mode) ? QStringLiteral("it is a folder")
                                        : QStringLiteral("it is not a regular file"));
        m_settings.erase(application);
        m_unusable.insert(application);
        return nullptr;
    }
    settings
        = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, application);
    return settings.get();
}

QString QtSettingsStore::read(const QString& application, const QString& section,
    const QString& key, const QString& defaultValue) const
{
    const auto kept = m_memory.find(fullKey(application + u'/' + section, key));
    if (kept != m_memory.end())
        return kept->second;
    QSettings* store = settingsOf(application);
    if (!store)
        return defaultValue;
    QSettings& settings = *store;
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
    QSettings* settings = settingsOf(application);
    if (!settings) {
        m_memory[fullKey(application + u'/' + section, key)] = value;
        return;
    }
    settings->setValue(fullKey(section, key), value);
    if (m_deferrals == 0)
        sync(*settings);
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
    // A damaged file is read past and written whole again, with the status saying only that it
    // was damaged: the write failed only if it still reads damaged.
    if (settings.status() == QSettings::FormatError) {
        QSettings again(settings.fileName(), QSettings::NativeFormat);
        again.sync();
        if (again.status() == QSettings::NoError) {
            // A fresh store, so that the old status does not hide what later writes meet.
            const QString application = settings.organizationName();
            m_settings[application] = std::make_unique<QSettings>(
                QSettings::NativeFormat, QSettings::UserScope, application);
            return;
        }
    }
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
