// Starting the update client, or sending the user to its download.
#include "ui/frmConsole.h"

#include "about/ClientVersion.h"
#include "about/LinkTargets.h"
#include "platform/MessageBoxes.h"
#include "platform/ProcessControl.h"
#include "platform/SettingsStore.h"
#include "ui/Texts.h"

void frmConsole::Label19_Click()
{
    if (m_ended)
        return;
    if (m_services.messages->show(this,
                                  QStringLiteral("Chcete-li zjistit nové verze, musíte aplikaci ukončit. "
                                                 "Chcete aplikaci ukončit nyní?"),
                                  QStringLiteral("Dotaz"), MsgStyle::YesNo)
        != MsgAnswer::Yes)
        return;

    const QString path = m_services.settings->read(ClientRegistration::App, ClientRegistration::Options,
                                                   ClientRegistration::Path, QString());
    // Tells the client which application to bring back once it has finished.
    m_services.settings->write(ClientRegistration::App, ClientRegistration::Script, ClientRegistration::ReturnCode,
                               Texts::Title);
    // The registered folder already ends with its separator. A client that does not
    // start is not reported: the user was promised the end of the application either way.
    m_services.process->startDetached(path + ClientRegistration::Executable);

    // The user has just agreed to end the application, so an unsaved collection brings
    // no second question; otherwise it leaves the way the exit command does.
    close();
    endProcess();
}

void frmConsole::Label20_Click()
{
    m_services.messages->show(this,
                              QStringLiteral("Po stažení a nainstalování klienta aplikaci tapetor restartujte.\r"
                                             "Poté můžete provést inovaci."),
                              QStringLiteral("inovace aplikace"), MsgStyle::OkInformation);
    ShellOpen(LinkTargets::clientDownload());
}
