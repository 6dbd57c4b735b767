#include "platform/linux/IniSettingsStore.h"
#include "platform/linux/RemoveFile.h"
#include "platform/linux/SaveLeftovers.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace {

std::optional<QString> storedText(const QVariant& value)
{
    if (!value.isValid())
        return std::nullopt;
    // An unquoted text with commas in a hand-edited file comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

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
    return storedText(settings.value(section + QLatin1Char('/') + key)).value_or(defaultValue);
}

bool IniSettingsStore::write(const QString& app, const QString& section, const QString& key, const QString& value)
{
    return write(app, QList<Entry>{{section, key, value}});
}

bool IniSettingsStore::write(const QString& app, const QList<Entry>& entries)
{
    const QString path = filePath(app);
    QDir().mkpath(QFileInfo(path).absolutePath());
    clearLeftoversOfKilledSaves(path);
    // A save runs beside the window's thread, which may read meanwhile: it writes through
    // an object of its own, made and dropped on its thread. Qt keeps one cache per file,
    // behind a lock, for all the objects of that file.
    {
        QSettings settings(path, QSettings::IniFormat);
        for (const Entry& entry : entries)
            settings.setValue(entry.section + QLatin1Char('/') + entry.key, entry.value);
        // QSettings writes through a temporary file, so a failure leaves the old file
        // whole. Each write forces the file to disk, which is why a save writes all its
        // keys at once.
        settings.sync();
        if (settings.status() == QSettings::NoError)
            return true;
    }
    // The status keeps the first error for good, a broken line read from a hand-edited
    // file included, so it cannot tell whether this write failed. A fresh object starts
    // without it: the one above wrote again, as it went, whatever was still unwritten
    // (QSettings keeps that per file, not per object), and this one reads the file as it
    // now is, and its status tells.
    return QSettings(path, QSettings::IniFormat).status() == QSettings::NoError;
}

bool IniSettingsStore::deleteApp(const QString& app)
{
    m_open.erase(app);
    const QString path = filePath(app);
    const bool removed = removeFile(path);
    QDir().rmdir(QFileInfo(path).absolutePath());
    return removed;
}

QString IniSettingsStore::location(const QString& app) const
{
    return filePath(app);
}
