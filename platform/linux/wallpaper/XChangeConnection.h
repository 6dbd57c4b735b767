#pragma once

// Xlib's own header defines macros (Bool, Status) that Qt's headers refuse to follow.
struct _XDisplay;

// A connection to the X server named by DISPLAY for one wallpaper change. Nothing the
// server does to it ends the program, as Xlib's default handlers would: a refused
// request fails the change, and so does losing the connection. Other setters of the
// root picture kill clients by the pixmap ids they find on the root window, and an id
// left stale may name a resource of this connection. Only one is open at a time, on
// one thread; the handlers it installs for its lifetime pass other connections'
// errors on.
class XChangeConnection {
public:
    XChangeConnection();
    ~XChangeConnection();
    XChangeConnection(const XChangeConnection&) = delete;
    XChangeConnection& operator=(const XChangeConnection&) = delete;

    // Null when there is no X server to talk to.
    _XDisplay* display() const { return m_display; }
    // Waits for the server's answers: true when it refused a request since the last
    // forgetRefusals(), or the connection is lost (for good: Xlib then drops every
    // request, and the answers it returns mean nothing).
    bool failed();
    void forgetRefusals() { m_refused = false; }
    // Whether the resource id belongs to this connection's own client.
    bool owns(unsigned long id) const;
    // Whether two resource ids belong to the same client.
    bool sameClient(unsigned long a, unsigned long b) const;

private:
    friend struct XChangeHandlers;

    _XDisplay* m_display = nullptr;
    unsigned long m_clientBase = 0;
    unsigned long m_clientMask = 0;
    bool m_refused = false;
    bool m_lost = false;
};

// Other clients wait while it lives, so that what is read from the server still holds
// when what depends on it is written.
class XServerGrab {
public:
    explicit XServerGrab(_XDisplay* display);
    ~XServerGrab();
    XServerGrab(const XServerGrab&) = delete;
    XServerGrab& operator=(const XServerGrab&) = delete;

private:
    _XDisplay* m_display;
};
