#include "app/CommandLine.h"
#include "app/FirstPicture.h"
#include "app/RealServices.h"
#include "app/SingleStart.h"
#include "platform/ConsoleOutput.h"
#include "ui/ReadableTextStyle.h"
#include "ui/frmConsole.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

int main(int argc, char* argv[])
{
    // Answered before anything of the desktop is touched: a terminal has no display.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<CommandLineAnswer> answer = answerCommandLine(given, QStringLiteral(TAPETOR_VERSION))) {
        writeToConsole(answer->standardOutput, answer->standardError);
        return answer->status;
    }
    if (RealServices::noDisplay(argc, argv))
        return 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tapetor"));
    QApplication::setApplicationVersion(QStringLiteral(TAPETOR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("tapetor"));
    // The window refuses every close and lives on in the tray.
    QApplication::setQuitOnLastWindowClosed(false);
    // The window's fixed colours stay readable under a dark theme.
    useReadableTextStyle();

    // Every text of the window is Czech; Qt's own buttons and dialogs follow suit.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    RealServices services;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const QString argumentText = arguments.join(QLatin1Char(' ')).trimmed();
    if (const std::optional<int> status
        = handOverToRunningCopy(*services.services().instance, *services.services().messages, argumentText))
        return *status;
    prepareFirstPicture(services.services(), argumentText);
    frmConsole window(services.services(), argumentText);
    window.Form_Load();
    if (window.hasEnded())
        return window.exitStatus();
    if (const std::optional<int> status
        = stayAfterLogon(*services.services().instance, *services.services().messages, argumentText)) {
        window.leaveToRunningCopy();
        return *status;
    }
    return QApplication::exec();
}
