#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Hands a bitmap file to Windows as the desktop wallpaper, with the display style kept
// in the user's "Control Panel\Desktop" values. Texts are in the ANSI code page.
namespace win {

// Creates or opens root\subkey and sets name to value as REG_SZ. No step's result is
// examined: a failing write leaves the old value, and the wallpaper is set anyway.
void WriteRegistryString(HKEY root, const std::string& subkey, const std::string& name, const std::string& value);

using RegistryStringWriter
    = std::function<void(HKEY root, const std::string& subkey, const std::string& name, const std::string& value)>;

// style: 0 center, 1 stretch, 2 tile; any other code sets the picture and leaves the
// style values as they are. Returns false without doing anything when path does not
// end in "bmp" (any letter case); otherwise whether Windows accepted the wallpaper.
// writeValue lets a test watch the registry writes and their order.
bool SetWallpaper(const std::string& path, int style, const RegistryStringWriter& writeValue = WriteRegistryString);

} // namespace win
