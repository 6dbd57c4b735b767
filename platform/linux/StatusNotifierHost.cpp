#include "platform/linux/StatusNotifierHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QVariant>

bool statusNotifierHostRegistered()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface* daemon = bus.interface();
    if (!bus.isConnected() || daemon == nullptr || !daemon->isServiceRegistered(watcher).value())
        return false;
    const QDBusInterface host(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return host.isValid() && host.property("IsStatusNotifierHostRegistered").toBool();
}
