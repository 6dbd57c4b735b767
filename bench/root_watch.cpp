// root_watch: prints "ready" once it watches the root window of $DISPLAY, then, at the
// first change of its wallpaper property (_XROOTPMAP_ID, which every root setter
// timed here publishes once the picture is on the root), the wall-clock time in
// microseconds since the epoch, and ends. run.sh takes the time from a command's start
// until the desktop has its picture from it.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <ctime>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return 1;
    const Window root = DefaultRootWindow(display);
    const Atom wallpaper = XInternAtom(display, "_XROOTPMAP_ID", False);
    XSelectInput(display, root, PropertyChangeMask);
    XSync(display, False);
    std::puts("ready");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == PropertyNotify && event.xproperty.atom == wallpaper) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
            break;
        }
    }
    XCloseDisplay(display);
    return 0;
}
