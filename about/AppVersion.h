#pragma once

#include <QString>

// The application's own version: major, minor and revision, as the build states them.
struct AppVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

AppVersion applicationVersion();

// "verze aplikace: 3.1 sestavení 3" for version 3.1 revision 3.
QString versionLine(const AppVersion& version);
