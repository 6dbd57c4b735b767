#pragma once

#include <memory>

class SettingsStore;
class LogonEntry;
class WallpaperSetter;

// The registry-backed services of the Windows build.
std::unique_ptr<SettingsStore> makeWindowsSettingsStore();
std::unique_ptr<LogonEntry> makeWindowsLogonEntry();
std::unique_ptr<WallpaperSetter> makeWindowsWallpaperSetter();
