#include "platform/linux/wallpaper/XChangeConnection.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

// Xlib's handlers are plain functions, shared by every connection of the process;
// they find the one open change connection here.
struct XChangeHandlers {
    static inline XChangeConnection* open = nullptr;
    static inline XErrorHandler previousError = nullptr;
    static inline XIOErrorHandler previousIOError = nullptr;

    static int onError(Display* display, XErrorEvent* event)
    {
        if (display == open->m_display) {
            open->m_refused = true;
            return 0;
        }
        return previousError ? previousError(display, event) : 0;
    }

    static int onIOError(Display* display)
    {
        if (display == open->m_display)
            return 0;
        return previousIOError(display);
    }

    // Xlib calls this instead of exit() once the I/O error handler has returned.
    static void onConnectionLost(Display*, void* connection)
    {
        static_cast<XChangeConnection*>(connection)->m_lost = true;
    }
};

XChangeConnection::XChangeConnection()
{
    XChangeHandlers::open = this;
    XChangeHandlers::previousError = XSetErrorHandler(XChangeHandlers::onError);
    XChangeHandlers::previousIOError = XSetIOErrorHandler(XChangeHandlers::onIOError);
    m_display = XOpenDisplay(nullptr);
    if (!m_display)
        return;
    XSetIOErrorExitHandler(m_display, XChangeHandlers::onConnectionLost, this);
    if (const xcb_setup_t* setup = xcb_get_setup(XGetXCBConnection(m_display))) {
        m_clientBase = setup->resource_id_base;
        m_clientMask = setup->resource_id_mask;
    }
}

XChangeConnection::~XChangeConnection()
{
    // Closing waits for the server once more, so the connection may be lost (or a
    // request refused) even now: the handlers stay until it is closed. Closing a lost
    // connection only frees what Xlib holds for it.
    if (m_display)
        XCloseDisplay(m_display);
    XSetIOErrorHandler(XChangeHandlers::previousIOError);
    XSetErrorHandler(XChangeHandlers::previousError);
    XChangeHandlers::open = nullptr;
}

bool XChangeConnection::failed()
{
    if (!m_lost)
        XSync(m_display, False);
    return m_refused || m_lost;
}

bool XChangeConnection::owns(unsigned long id) const
{
    return m_clientMask != 0 && (id & ~m_clientMask) == m_clientBase;
}

bool XChangeConnection::sameClient(unsigned long a, unsigned long b) const
{
    return m_clientMask != 0 && (a & ~m_clientMask) == (b & ~m_clientMask);
}

XServerGrab::XServerGrab(Display* display)
    : m_display(display)
{
    XGrabServer(m_display);
}

XServerGrab::~XServerGrab()
{
    // Sent at once: the other clients wait until the server reads it.
    XUngrabServer(m_display);
    XFlush(m_display);
}
