#pragma once

#include "platform/fakes/FakeServices.h"
#include "platform/fakes/RecordingWallpaperSetter.h"
#include "platform/qt/FileShownPictureStore.h"

#include <QTemporaryDir>

// Every service faked, the program's and data folders inside a folder of its own: the
// window as the window tests and the benchmarks drive it.
struct FakeServiceSet {
    FakeServiceSet()
    {
        location.dir = temp.filePath(QStringLiteral("program"));
        location.dataDir = temp.filePath(QStringLiteral("data"));
    }

    PlatformServices services()
    {
        PlatformServices all;
        all.settings = &settings;
        all.logon = &logon;
        all.wallpaper = &wallpaper;
        all.messages = &messages;
        all.dialogs = &dialogs;
        all.clock = &clock;
        all.process = &process;
        all.shell = &shell;
        all.tray = &tray;
        all.location = &location;
        all.instance = &instance;
        all.decoder = &decoder;
        all.bitmaps = &bitmaps;
        all.work = &work;
        all.changes = &changes;
        all.shown = &shownStore;
        return all;
    }

    QTemporaryDir temp;
    FakeSettingsStore settings;
    FakeLogonEntry logon;
    RecordingWallpaperSetter wallpaper;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    FakeClock clock;
    FakeProcessControl process;
    RecordingShell shell;
    FakeTrayIcon tray;
    FakeProgramLocation location;
    FakeSingleInstance instance;
    FakePictureDecoder decoder;
    InlineBitmapWriter bitmaps;
    InlineBackgroundWork work;
    InlineBackgroundWork changes;
    FileShownPictureStore shownStore{temp.filePath(QStringLiteral("state"))};
};
