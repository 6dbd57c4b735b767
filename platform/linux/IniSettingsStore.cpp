#include "platform/linux/IniSettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

IniSettingsStore::IniSettingsStore(QString configHome)
    : m_configHome(configHome.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                        : std::move(configHome))
{
}

IniSettingsStore::~IniSettingsStore() = default;

QString IniSettingsStore::filePath(const QString& app) const
{
    return m_configHome + QLatin1Char('/') + app + QLatin1Char('/') + app + QLatin1String(".ini");
}

QSettings& IniSettingsStore::settingsFor(const QString& app) const
{
    auto found = m_open.find(app);
    if (found == m_open.end())
        found = m_open.emplace(app, std::make_unique<QSettings>(filePath(app), QSettings::IniFormat)).first;
    return *found->second;
}

QString IniSettingsStore::read(const QString& app, const QString& section, const QString& key,
                               const QString& defaultValue) const
{
    QSettings& settings = settingsFor(app);
    // Another program (the update client) may have rewritten its file meanwhile.
    settings.sync();
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    if (!value.isValid())
        return defaultValue;
    // An unquoted text with commas in a hand-edited file comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

bool IniSettingsStore::write(const QString& app, const QString& section, const QString& key, const QString& value)
{
    QSettings& settings = settingsFor(app);
    QDir().mkpath(QFileInfo(filePath(app)).absolutePath());
    settings.setValue(section + QLatin1Char('/') + key, value);
    // QSettings writes through a temporary file, so a failure leaves the old file whole.
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    // The error stays with the QSettings object for good, so every later write would
    // report a failure even once the disk has room again; a fresh object reads the
    // file as it is on disk and reports each write by itself.
    m_open.erase(app);
    return false;
}

bool IniSettingsStore::deleteApp(const QString& app)
{
    m_open.erase(app);
    const QString path = filePath(app);
    bool removed = !QFileInfo::exists(path) || QFile::remove(path);
    QDir().rmdir(QFileInfo(path).absolutePath());
    return removed;
}
