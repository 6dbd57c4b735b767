// The links to the maker's pages, the mail message and the donation page.
#include "ui/frmConsole.h"

#include "about/AppVersion.h"
#include "about/LinkTargets.h"
#include "platform/ShellOpener.h"

void frmConsole::ShellOpen(const QString& target)
{
    // Nobody looks at the outcome: an address with no program to open it does nothing.
    m_services.shell->open(target);
}

void frmConsole::Label12_Click()
{
    // The footer shows the home page's address but leads to the product's own page.
    ShellOpen(LinkTargets::productPage());
}

void frmConsole::mnuurl1_Click()
{
    Label12_Click();
}

void frmConsole::mnuurl2_Click()
{
    ShellOpen(LinkTargets::homePage());
}

void frmConsole::Label21_Click()
{
    ShellOpen(LinkTargets::privacyPage());
}

void frmConsole::Label17_Click()
{
    ShellOpen(LinkTargets::donationPage());
}

void frmConsole::Label22_Click()
{
    ShellOpen(LinkTargets::mailLink(applicationVersion()));
}
