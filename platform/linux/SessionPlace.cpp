#include "platform/linux/SessionPlace.h"

QString sessionPlaceName(const DisplayEnvironment& environment)
{
    // ":0" and ":0.0" are one X server; the screen number does not make a session.
    QByteArray display = environment.x11Display;
    const qsizetype colon = display.lastIndexOf(':');
    const qsizetype dot = display.lastIndexOf('.');
    if (colon >= 0 && dot > colon)
        display.truncate(dot);
    if (display.isEmpty())
        display = environment.waylandDisplay;
    if (display.isEmpty())
        return QStringLiteral("tapetor");
    // Percent-encoded, so that a path or a host name gives one plain file name.
    return QLatin1String("tapetor-") + QString::fromLatin1(display.toPercentEncoding());
}
