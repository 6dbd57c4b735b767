#include "platform/qt/QtTrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

QtTrayIcon::QtTrayIcon() = default;
QtTrayIcon::~QtTrayIcon() = default;

void QtTrayIcon::add(const QIcon& icon, const QString& tip, QMenu* contextMenu)
{
    if (m_icon)
        return;
    // Qt settles the kind of tray when it creates the icon and never looks again.
    m_kind = m_statusNotifierProbe && m_statusNotifierProbe() ? TrayKind::StatusNotifier : TrayKind::Embedded;
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tip);
    // Qt opens the context menu itself, on the press of the right button; a tray
    // that shows up only after start-up picks the icon up by itself as well.
    m_icon->setContextMenu(contextMenu);
    QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
        if (!onActivated)
            return;
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            onActivated(TrayActivation::Trigger);
            break;
        case QSystemTrayIcon::DoubleClick:
            onActivated(TrayActivation::DoubleClick);
            break;
        case QSystemTrayIcon::Context:
            onActivated(TrayActivation::Context);
            break;
        default:
            onActivated(TrayActivation::Other);
            break;
        }
    });
    m_icon->show();
}

void QtTrayIcon::remove()
{
    if (m_icon)
        m_icon->hide();
    m_icon.reset();
}

bool QtTrayIcon::isVisible() const
{
    return m_icon && m_icon->isVisible();
}

bool QtTrayIcon::trayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}
