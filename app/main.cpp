#include "app/RealServices.h"
#include "ui/frmConsole.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tapetor"));
    QApplication::setApplicationVersion(QStringLiteral("3.1.0.3"));
    QApplication::setDesktopFileName(QStringLiteral("tapetor"));
    // The window refuses every close and lives on in the tray.
    QApplication::setQuitOnLastWindowClosed(false);

    RealServices services;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    frmConsole window(services.services(), arguments.join(QLatin1Char(' ')).trimmed());
    window.Form_Load();
    if (window.hasEnded())
        return 0;
    return QApplication::exec();
}
