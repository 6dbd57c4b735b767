#include "platform/linux/wallpaper/X11RootWallpaper.h"

#include "engine/LargeImage.h"
#include "platform/linux/wallpaper/RootComposition.h"
#include "platform/linux/wallpaper/XChangeConnection.h"

#include <QImage>
#include <QSysInfo>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

namespace {

QList<QRect> monitorRects(Display* display, Window root, const QRect& screenRect)
{
    QList<QRect> rects;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor)
        && randrReportsMonitors(major, minor)) {
        int count = 0;
        if (XRRMonitorInfo* monitors = XRRGetMonitors(display, root, True, &count)) {
            for (int i = 0; i < count; ++i)
                rects.append(QRect(monitors[i].x, monitors[i].y, monitors[i].width, monitors[i].height));
            XRRFreeMonitors(monitors);
        }
    }
    if (rects.isEmpty())
        rects.append(screenRect);
    return rects;
}

// The pixel layout of the root's depth that a QImage can be handed over in.
QImage::Format imageFormatFor(Display* display, int screen)
{
    const Visual* visual = DefaultVisual(display, screen);
    const int depth = DefaultDepth(display, screen);
    if (visual->c_class != TrueColor)
        return QImage::Format_Invalid;
    int bitsPerPixel = 0;
    int count = 0;
    if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
        for (int i = 0; i < count; ++i) {
            if (formats[i].depth == depth)
                bitsPerPixel = formats[i].bits_per_pixel;
        }
        XFree(formats);
    }
    if ((depth == 24 || depth == 32) && bitsPerPixel == 32 && visual->red_mask == 0xff0000
        && visual->green_mask == 0xff00 && visual->blue_mask == 0xff)
        return QImage::Format_RGB32;
    if (depth == 16 && bitsPerPixel == 16 && visual->red_mask == 0xf800 && visual->green_mask == 0x7e0
        && visual->blue_mask == 0x1f)
        return QImage::Format_RGB16;
    return QImage::Format_Invalid;
}

// Plain XPutImage: shared memory (MIT-SHM) measured slower here, twice the time for a
// 1920x1080 picture on Xvfb, as the server first faults in the shared pages.
bool putImage(Display* display, int screen, Drawable target, const QImage& image)
{
    XImage* xImage
        = XCreateImage(display, DefaultVisual(display, screen), unsigned(DefaultDepth(display, screen)), ZPixmap, 0,
                       const_cast<char*>(reinterpret_cast<const char*>(image.constBits())), unsigned(image.width()),
                       unsigned(image.height()), image.depth(), int(image.bytesPerLine()));
    if (!xImage)
        return false;
    // QImage holds pixels as native words; Xlib swaps them if the server differs.
    xImage->byte_order = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? LSBFirst : MSBFirst;
    GC gc = XCreateGC(display, target, 0, nullptr);
    XPutImage(display, target, gc, xImage, 0, 0, 0, 0, unsigned(image.width()), unsigned(image.height()));
    XFreeGC(display, gc);
    xImage->data = nullptr; // the pixels belong to the QImage
    XDestroyImage(xImage);
    return true;
}

Pixmap pixmapProperty(Display* display, Window root, Atom property)
{
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    Pixmap pixmap = None;
    if (XGetWindowProperty(display, root, property, 0, 1, False, XA_PIXMAP, &type, &format, &items, &remaining, &data)
            == Success
        && type == XA_PIXMAP && format == 32 && items == 1 && data)
        pixmap = Pixmap(*reinterpret_cast<unsigned long*>(data));
    if (data)
        XFree(data);
    return pixmap;
}

// The previous setter kept its pixmap alive by keeping its client's resources after
// it closed; destroying that client frees the pixmap. Only done when both atoms agree
// (another program may have reused one of them), the pixmap still exists, and it is
// neither ours nor this connection's: a setter that exited without keeping its
// resources leaves a stale id that may now belong to either.
void freePreviousPixmap(XChangeConnection& connection, Window root, Pixmap ours)
{
    Display* display = connection.display();
    const Atom rootAtom = XInternAtom(display, "_XROOTPMAP_ID", True);
    const Atom esetrootAtom = XInternAtom(display, "ESETROOT_PMAP_ID", True);
    if (rootAtom == None || esetrootAtom == None)
        return;
    const Pixmap previous = pixmapProperty(display, root, rootAtom);
    if (previous == None || previous != pixmapProperty(display, root, esetrootAtom))
        return;

    connection.forgetRefusals();
    Window geometryRoot = None;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
    unsigned border = 0;
    unsigned depth = 0;
    const Status found = XGetGeometry(display, previous, &geometryRoot, &x, &y, &width, &height, &border, &depth);
    if (connection.failed() || !found) {
        connection.forgetRefusals();
        return;
    }
    if (!connection.owns(previous) && !connection.sameClient(previous, ours))
        XKillClient(display, previous);
}

void publishPixmap(Display* display, Window root, Pixmap pixmap)
{
    const Atom rootAtom = XInternAtom(display, "_XROOTPMAP_ID", False);
    const Atom esetrootAtom = XInternAtom(display, "ESETROOT_PMAP_ID", False);
    const unsigned long value = pixmap;
    const auto* data = reinterpret_cast<const unsigned char*>(&value);
    XChangeProperty(display, root, rootAtom, XA_PIXMAP, 32, PropModeReplace, data, 1);
    XChangeProperty(display, root, esetrootAtom, XA_PIXMAP, 32, PropModeReplace, data, 1);
}

// The picture as a pixmap of the root's size that outlives this connection: a client
// that has closed and kept its resources. None when the server refused.
Pixmap retainedPicture(const QImage& picture, int style)
{
    XChangeConnection connection;
    Display* display = connection.display();
    if (!display)
        return None;
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const QImage::Format format = imageFormatFor(display, screen);
    if (format == QImage::Format_Invalid)
        return None;

    const int width = DisplayWidth(display, screen);
    const int height = DisplayHeight(display, screen);
    QImage composed = allocateLargeImage(QSize(width, height), QImage::Format_RGB32);
    if (composed.isNull())
        composed = QImage(width, height, QImage::Format_RGB32);
    if (composed.isNull())
        return None;
    composeRootPicture(picture, style, monitorRects(display, root, composed.rect()), composed);
    if (format != QImage::Format_RGB32)
        composed.convertTo(format);

    const Pixmap pixmap
        = XCreatePixmap(display, root, unsigned(width), unsigned(height), unsigned(DefaultDepth(display, screen)));
    if (!putImage(display, screen, pixmap, composed) || connection.failed())
        return None;
    XSetCloseDownMode(display, RetainPermanent);
    return connection.failed() ? None : pixmap;
}

} // namespace

// Two connections: the one that made the pixmap has closed before any other client
// can read its id from the root window. A setter that reads it kills the client to
// free the pixmap; killing a connection still open would end it without freeing
// what it keeps once closed, and the pixmap would stay on the server for good.
bool setRootWindowWallpaper(const QImage& picture, int style)
{
    if (picture.isNull())
        return false;
    const Pixmap pixmap = retainedPicture(picture, style);
    if (pixmap == None)
        return false;
    XChangeConnection connection;
    Display* display = connection.display();
    if (!display)
        return false;
    const Window root = DefaultRootWindow(display);
    {
        // Reading the previous pixmap, freeing it and publishing ours is one step for
        // every other client: a setter in between would free the picture just read,
        // or publish its own only to have it overwritten and never freed.
        const XServerGrab grab(display);
        freePreviousPixmap(connection, root, pixmap);
        publishPixmap(display, root, pixmap);
        XSetWindowBackgroundPixmap(display, root, pixmap);
        XClearWindow(display, root);
    }
    return !connection.failed();
}
