#include "platform/linux/DisplayProbe.h"

#include <QList>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

bool xServerAnswers(const QByteArray& display)
{
    if (display.isEmpty())
        return false;
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

} // namespace

bool unixSocketAnswers(const QByteArray& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return answers;
}

namespace {

bool waylandAnswers(const DisplayEnvironment& environment)
{
    // A compositor that started the program hands it a connected socket.
    if (!environment.waylandSocket.isEmpty())
        return true;
    // As the Wayland client library finds it: the name, or wayland-0, in the runtime folder.
    const QByteArray name
        = environment.waylandDisplay.isEmpty() ? QByteArrayLiteral("wayland-0") : environment.waylandDisplay;
    if (name.startsWith('/'))
        return unixSocketAnswers(name);
    return !environment.runtimeDir.isEmpty() && unixSocketAnswers(environment.runtimeDir + '/' + name);
}

} // namespace

DisplayEnvironment DisplayEnvironment::current()
{
    return {qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"), qgetenv("WAYLAND_SOCKET"),
            qgetenv("XDG_RUNTIME_DIR")};
}

bool displayAnswers(const DisplayEnvironment& environment)
{
    // Unset, Qt chooses between X and Wayland itself; set, it may list several to try.
    bool x = environment.platform.isEmpty();
    bool wayland = environment.platform.isEmpty();
    for (const QByteArray& entry : environment.platform.split(';')) {
        const QByteArray name = entry.split(':').front().trimmed();
        if (name == "xcb")
            x = true;
        else if (name.startsWith("wayland"))
            wayland = true;
        else if (!name.isEmpty())
            return true;
    }
    return (wayland && waylandAnswers(environment)) || (x && xServerAnswers(environment.x11Display));
}
