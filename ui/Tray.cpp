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
    // A host on the session bus has no double-click: its left click, the one Activate
    // it sends, is the way back there. The right button opens the tray menu by itself.
    const auto activation = static_cast<TrayActivation>(reason);
    if (activation == TrayActivation::DoubleClick
        || (activation == TrayActivation::Trigger && m_services.tray->kind() == TrayKind::StatusNotifier))
        restoreWindow();
}

void frmConsole::mnuShowApp_Click()
{
    restoreWindow();
}

bool frmConsole::instance_HandOver(SingleInstance::Command command)
{
    if (m_ended)
        return false;
    switch (command) {
    case SingleInstance::Command::Show:
        m_shownOnRequest = true;
        restoreWindow();
        break;
    case SingleInstance::Command::Next:
        goForwardOrChange();
        break;
    case SingleInstance::Command::Previous:
        goBackInHistory();
        break;
    }
    return true;
}
