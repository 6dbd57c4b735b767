#include "about/AppVersion.h"

AppVersion applicationVersion()
{
    return {TAPETOR_VERSION_MAJOR, TAPETOR_VERSION_MINOR, TAPETOR_VERSION_REVISION};
}

QString versionLine(const AppVersion& version)
{
    return QStringLiteral("verze aplikace: %1.%2 sestavení %3")
        .arg(version.major)
        .arg(version.minor)
        .arg(version.revision);
}
