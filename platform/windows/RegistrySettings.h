#pragma once

#include <optional>
#include <string>

// The per-user settings store kept in the registry: each application has the key
// HKEY_CURRENT_USER\Software\<application>, each section a key below it, and each
// setting one REG_SZ value in its section. All texts are in the ANSI code page.
namespace win::settings {

// The stored text; empty when the value is absent or not a string. A stored empty
// text is returned as such, so the caller can tell it from an absent one.
std::optional<std::string> read(const std::string& app, const std::string& section, const std::string& key);

// Creates the application's and the section's keys as needed.
bool write(const std::string& app, const std::string& section, const std::string& key, const std::string& value);

// Removes the application's key with all its sections. An application that has no
// key is already removed, which counts as success.
bool deleteApp(const std::string& app);

} // namespace win::settings
