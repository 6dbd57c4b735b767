#include "platform/SettingsStore.h"
#include "platform/windows/QtAnsiText.h"
#include "platform/windows/RegistrySettings.h"
#include "platform/windows/WindowsServices.h"

namespace {

class WindowsSettingsStore final : public SettingsStore {
public:
    // The registry keeps each value on its own: a save writes them one by one.
    using SettingsStore::write;

    QString read(const QString& app, const QString& section, const QString& key,
                 const QString& defaultValue) const override
    {
        const auto ansiApp = win::toAnsi(app);
        const auto ansiSection = win::toAnsi(section);
        const auto ansiKey = win::toAnsi(key);
        if (!ansiApp || !ansiSection || !ansiKey)
            return defaultValue;
        const auto value = win::settings::read(*ansiApp, *ansiSection, *ansiKey);
        return value ? win::fromAnsi(*value) : defaultValue;
    }

    bool write(const QString& app, const QString& section, const QString& key, const QString& value) override
    {
        const auto ansiApp = win::toAnsi(app);
        const auto ansiSection = win::toAnsi(section);
        const auto ansiKey = win::toAnsi(key);
        const auto ansiValue = win::toAnsi(value);
        if (!ansiApp || !ansiSection || !ansiKey || !ansiValue)
            return false;
        return win::settings::write(*ansiApp, *ansiSection, *ansiKey, *ansiValue);
    }

    bool deleteApp(const QString& app) override
    {
        const auto ansiApp = win::toAnsi(app);
        return ansiApp && win::settings::deleteApp(*ansiApp);
    }

    QString location(const QString& app) const override
    {
        return QStringLiteral("HKEY_CURRENT_USER\\Software\\") + app;
    }
};

} // namespace

std::unique_ptr<SettingsStore> makeWindowsSettingsStore()
{
    return std::make_unique<WindowsSettingsStore>();
}
