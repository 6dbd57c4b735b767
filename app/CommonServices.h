#pragma once

#include "platform/PlatformServices.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProcessControl.h"
#include "platform/qt/QtShellOpener.h"
#include "platform/qt/QtTrayIcon.h"
#include "platform/qt/SystemClock.h"

// The services Qt provides alike on every desktop.
struct CommonServices {
    QtMessageBoxes messages;
    QtFileDialogs dialogs;
    SystemClock clock;
    QtProcessControl process;
    QtShellOpener shell;
    QtTrayIcon tray;

    void fill(PlatformServices& services)
    {
        services.messages = &messages;
        services.dialogs = &dialogs;
        services.clock = &clock;
        services.process = &process;
        services.shell = &shell;
        services.tray = &tray;
    }
};
