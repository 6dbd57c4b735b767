#include "platform/windows/RegistrySettings.h"

#include <windows.h>

#include <vector>

namespace win::settings {

namespace {

// Each name must be exactly one key: an empty name or one with a backslash would
// address a different key, and deleteApp("") would remove HKCU\Software itself.
bool isSingleKeyName(const std::string& name)
{
    return !name.empty() && name.find('\\') == std::string::npos;
}

std::optional<std::string> appKeyPath(const std::string& app)
{
    if (!isSingleKeyName(app))
        return std::nullopt;
    return "Software\\" + app;
}

std::optional<std::string> sectionKeyPath(const std::string& app, const std::string& section)
{
    const auto appPath = appKeyPath(app);
    if (!appPath || !isSingleKeyName(section))
        return std::nullopt;
    return *appPath + "\\" + section;
}

} // namespace

std::optional<std::string> read(const std::string& app, const std::string& section, const std::string& key)
{
    const auto path = sectionKeyPath(app, section);
    if (!path)
        return std::nullopt;

    // RegGetValueA guarantees the terminating NUL that RegQueryValueExA may leave out.
    // A longer value reports its size, and it can grow again before the next try.
    std::vector<char> buffer(256);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        const LSTATUS status
            = RegGetValueA(HKEY_CURRENT_USER, path->c_str(), key.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size);
        if (status == ERROR_SUCCESS)
            return std::string(buffer.data());
        if (status != ERROR_MORE_DATA)
            return std::nullopt;
        buffer.resize(static_cast<std::size_t>(size) + 1);
    }
}

bool write(const std::string& app, const std::string& section, const std::string& key, const std::string& value)
{
    const auto path = sectionKeyPath(app, section);
    if (!path)
        return false;

    HKEY sectionKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                        &sectionKey, nullptr)
        != ERROR_SUCCESS)
        return false;

    const LSTATUS status
        = RegSetValueExA(sectionKey, key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
    RegCloseKey(sectionKey);
    return status == ERROR_SUCCESS;
}

bool deleteApp(const std::string& app)
{
    const auto path = appKeyPath(app);
    if (!path)
        return false;

    const LSTATUS status = RegDeleteTreeA(HKEY_CURRENT_USER, path->c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

} // namespace win::settings
