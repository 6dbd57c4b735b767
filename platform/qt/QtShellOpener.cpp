#include "platform/qt/QtShellOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

QtShellOpener::QtShellOpener()
    : QtShellOpener([](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    })
{
}

QtShellOpener::QtShellOpener(Launcher launcher)
    : m_launch(std::move(launcher))
{
}

bool QtShellOpener::open(const QString& target)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // QDesktopServices takes a QUrl, and QUrl rewrites what it holds: "%2e" and "%2d"
    // come out as "." and "-", the blanks of the mail subject as "%20". xdg-open takes
    // the text as one argument and hands it on untouched, so the address arrives as written.
    if (m_launch(QStringLiteral("xdg-open"), {target}))
        return true;
#endif
    // Without xdg-open (or elsewhere) the system's own opener gets the address after all.
    return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}
