#pragma once

class SettingsStore;
class LogonEntry;
class WallpaperSetter;
class MessageBoxes;
class FileDialogs;
class Clock;
class ProcessControl;
class ShellOpener;
class TrayIcon;
class ProgramLocation;
class SingleInstance;
class PictureDecoder;
class BitmapWriter;
class ShownPictureStore;
class BackgroundWork;

// Everything the window takes from the desktop. Owned by whoever builds it
// (main for the real set, a test for fakes); the window only borrows.
struct PlatformServices {
    SettingsStore* settings = nullptr;
    LogonEntry* logon = nullptr;
    WallpaperSetter* wallpaper = nullptr;
    MessageBoxes* messages = nullptr;
    FileDialogs* dialogs = nullptr;
    Clock* clock = nullptr;
    ProcessControl* process = nullptr;
    ShellOpener* shell = nullptr;
    TrayIcon* tray = nullptr;
    ProgramLocation* location = nullptr;
    SingleInstance* instance = nullptr;
    PictureDecoder* decoder = nullptr;
    BitmapWriter* bitmaps = nullptr;
    ShownPictureStore* shown = nullptr;
    BackgroundWork* work = nullptr;
    // Apart from `work`, so that a change never waits behind a collection being saved.
    BackgroundWork* changes = nullptr;
};
