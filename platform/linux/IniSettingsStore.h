#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>
#include <map>
#include <memory>

// One INI file per application: $XDG_CONFIG_HOME/<app>/<app>.ini, a group per section.
class IniSettingsStore final : public SettingsStore {
public:
    // configHome empty means the user's XDG config folder.
    explicit IniSettingsStore(QString configHome = {});
    ~IniSettingsStore() override;

    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultValue) const override;
    bool write(const QString& app, const QString& section, const QString& key, const QString& value) override;
    bool write(const QString& app, const QList<Entry>& entries) override;
    bool deleteApp(const QString& app) override;
    QString location(const QString& app) const override;

    QString filePath(const QString& app) const;

private:
    // The object reads go through, kept for the window's thread.
    QSettings& settingsFor(const QString& app) const;

    QString m_configHome;
    mutable std::map<QString, std::unique_ptr<QSettings>> m_open;
};
