#pragma once

#include "platform/PlatformServices.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProcessControl.h"
#include "platform/qt/QtShellOpener.h"
#include "platform/qt/QtTrayIcon.h"
#include "platform/qt/SystemClock.h"
#include "platform/qt/ThreadedBackgroundWork.h"
#include "platform/qt/ThreadedBitmapWriter.h"
#include "platform/qt/ThreadedPictureDecoder.h"

// The services Qt provides alike on every desktop.
struct CommonServices {
    QtMessageBoxes messages;
    QtFileDialogs dialogs;
    SystemClock clock;
    QtProcessControl process;
    QtShellOpener shell;
    QtTrayIcon tray;
    ThreadedPictureDecoder decoder;
    ThreadedBitmapWriter bitmaps;
    ThreadedBackgroundWork work;
    ThreadedBackgroundWork changes;

    void finishWork()
    {
        work.finish();
        changes.finish();
    }

    void fill(PlatformServices& services)
    {
        services.messages = &messages;
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.process = &process;
        services.shell = &shell;
        services.tray = &tray;
        services.decoder = &decoder;
        services.bitmaps = &bitmaps;
        services.work = &work;
        services.changes = &changes;
    }
};
