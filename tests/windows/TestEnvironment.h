#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

// These programs write the current user's registry and set the desktop wallpaper.
// That is harmless in a throw-away Wine prefix and unwelcome on a real desktop, so they
// run only under Wine unless TAPETOR_ALLOW_DESKTOP_CHANGES is set.
constexpr int skipExitCode = 77;

inline bool runningUnderWine()
{
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

inline bool mayChangeThisDesktop(const char* programName)
{
    if (runningUnderWine() || std::getenv("TAPETOR_ALLOW_DESKTOP_CHANGES"))
        return true;
    std::printf("%s: skipped, not running under Wine\n", programName);
    return false;
}

// Reads a string value straight from the registry, bypassing the code under test.
inline std::optional<std::string> registryString(HKEY root, const std::string& subkey, const std::string& name)
{
    DWORD size = 0;
    if (RegGetValueA(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string value(size, '\0');
    if (RegGetValueA(root, subkey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(size > 0 ? size - 1 : 0);
    return value;
}

struct RawRegistryValue {
    DWORD type = 0;
    DWORD size = 0;
    std::string bytes;
};

// A value exactly as stored, so its type and a counted terminating NUL can be checked.
inline std::optional<RawRegistryValue> registryRawValue(HKEY root, const std::string& subkey, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RawRegistryValue value;
    LSTATUS status = RegQueryValueExA(key, name.c_str(), nullptr, &value.type, nullptr, &value.size);
    if (status == ERROR_SUCCESS) {
        value.bytes.resize(value.size);
        status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value.bytes.data()),
                                  &value.size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

inline bool registryKeyExists(HKEY root, const std::string& subkey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
