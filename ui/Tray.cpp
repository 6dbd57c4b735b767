// The tray icon and the ways back to the window.
#include "ui/frmConsole.h"

#include "platform/TrayIcon.h"

void frmConsole::AddTrayIcon(const QString& tip)
{
    m_services.tray->add(windowIcon(), tip, mnu_tray);
}

void frmConsole::RemoveTrayIcon()
{
    m_services.tray->remove();
}

void frmConsole::trayIcon_Activated(int reason)
{
    // A double-click reaches us as a single click first; only the double-click restores.
    // The right button opens the tray menu by itself.
    if (static_cast<TrayActivation>(reason) == TrayActivation::DoubleClick)
        restoreWindow();
}

void frmConsole::mnuShowApp_Click()
{
    restoreWindow();
}

bool frmConsole::instance_HandOver()
{
    if (m_ended)
        return false;
    m_shownOnRequest = true;
    restoreWindow();
    return true;
}
