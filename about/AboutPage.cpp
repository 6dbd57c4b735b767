// The about page: the version line, the state of the update client and the page toggle.
#include "ui/frmConsole.h"

#include "ui_frmConsole.h"

#include "about/AppVersion.h"
#include "about/ClientVersion.h"
#include "platform/SettingsStore.h"
#include "ui/TextColour.h"

namespace {
const QString OpenCaption = QStringLiteral("informace o aplikaci");
const QString CloseCaption = QStringLiteral("zavřít informace o aplikaci");
const QString NotInstalledText = QStringLiteral("klient služby inovací nebyl na vašem počítači nalezen");
const QString OutdatedText = QStringLiteral("klient služby je zastaralý, inovujte ho");
const QString CurrentText = QStringLiteral("klient služby je nainstalován, můžete inovovat");
} // namespace

void frmConsole::Label14_Click()
{
    ui->verze->setText(versionLine(applicationVersion()));

    // The client may have been installed or updated since the last click, so its
    // registration is read afresh every time. What an earlier click offered stays offered.
    const QString path = m_services.settings->read(ClientRegistration::App, ClientRegistration::Options,
                                                   ClientRegistration::Path, QString());
    const QString version = m_services.settings->read(ClientRegistration::App, ClientRegistration::Options,
                                                      ClientRegistration::Version, QString());
    switch (clientState(path, version)) {
    case ClientState::NotInstalled:
        ui->inovaceInfo->setText(NotInstalledText);
        ui->Label20->setVisible(true);
        break;
    case ClientState::Outdated:
        ui->inovaceInfo->setText(OutdatedText);
        ui->Label20->setVisible(true);
        break;
    case ClientState::Current:
        ui->inovaceInfo->setText(CurrentText);
        ui->Label19->setEnabled(true);
        break;
    }

    const QString caption = ui->Label14->text();
    if (caption == OpenCaption) {
        ui->Label14->setText(CloseCaption);
        setTextColour(ui->Label14, Colours::Red);
        showPage(ui->about);
    } else if (caption == CloseCaption) {
        ui->Label14->setText(OpenCaption);
        setTextColour(ui->Label14, Colours::Blue);
        ui->about->setVisible(false);
    }
}
