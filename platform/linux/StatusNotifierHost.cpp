#include "platform/linux/StatusNotifierHost.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>

bool statusNotifierHostRegistered()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QDBusConnectionInterface* daemon = bus.interface();
    // Asked first, so that no call starts a watcher that is only installed.
    if (!bus.isConnected() || daemon == nullptr || !daemon->isServiceRegistered(watcher).value())
        return false;
    // A plain property call: a QDBusInterface would introspect the watcher and keep
    // what it learnt for the life of the connection.
    QDBusMessage get
        = QDBusMessage::createMethodCall(watcher, QStringLiteral("/StatusNotifierWatcher"),
                                         QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusReply<QDBusVariant> reply = bus.call(get);
    return reply.isValid() && reply.value().variant().toBool();
}
