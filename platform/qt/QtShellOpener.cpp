#include "platform/qt/QtShellOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool QtShellOpener::open(const QString& target)
{
    // The addresses are stored already encoded; TolerantMode keeps them as they are.
    return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}
