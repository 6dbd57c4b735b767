// Does what one wallpaper change of the program does, without the window: decode the
// picture, write the bitmap, hand both to this session's desktop.
//
//   apply_wallpaper PICTURE STYLE BITMAP [REPEAT OTHER_PICTURE]
//
// With REPEAT, changes REPEAT times in one process, alternating PICTURE and
// OTHER_PICTURE under the same bitmap name, as a long-running program would.
//
//   apply_wallpaper --claim-root-pixmap ID
//
// Points _XROOTPMAP_ID and ESETROOT_PMAP_ID at pixmap ID, as a setter that exited
// without keeping its pixmap leaves them behind.
//
//   apply_wallpaper --lose-connection
//
// A change's connection that the server refuses a request and that another client
// then kills: prints "refused forgotten lost" as the connection tells them, and ends
// with status 0 only if all three held.

#include "engine/PictureIO.h"
#include "engine/WallpaperBitmap.h"
#include "platform/linux/wallpaper/LinuxWallpaperSetter.h"
#include "platform/linux/wallpaper/XChangeConnection.h"

#include <QCoreApplication>
#include <QImage>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>

namespace {

bool change(WallpaperSetter& setter, const QString& picturePath, int style, const QString& bitmap, QImage& kept)
{
    if (!loadPicture(picturePath, kept)) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(picturePath));
        return false;
    }
    if (!writeWallpaperBitmap(kept, bitmap)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(bitmap));
        return false;
    }
    if (!setter.setWallpaper(bitmap, style, &kept)) {
        std::fprintf(stderr, "the desktop refused the wallpaper\n");
        return false;
    }
    return true;
}

int claimRootPixmap(unsigned long pixmap)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    const Window root = DefaultRootWindow(display);
    const auto* data = reinterpret_cast<const unsigned char*>(&pixmap);
    for (const char* name : {"_XROOTPMAP_ID", "ESETROOT_PMAP_ID"})
        XChangeProperty(display, root, XInternAtom(display, name, False), XA_PIXMAP, 32, PropModeReplace, data, 1);
    XCloseDisplay(display);
    return 0;
}

int loseConnection()
{
    XChangeConnection connection;
    Display* display = connection.display();
    if (!display)
        return 1;
    const Window root = DefaultRootWindow(display);
    XFreePixmap(display, root); // a window: BadPixmap
    // A refusal is forgotten; a lost connection stays failed.
    const bool refused = connection.failed();
    connection.forgetRefusals();
    const bool forgotten = !connection.failed();

    const Pixmap pixmap = XCreatePixmap(display, root, 1, 1, unsigned(DefaultDepth(display, DefaultScreen(display))));
    XSync(display, False);
    if (Display* other = XOpenDisplay(nullptr)) {
        XKillClient(other, pixmap);
        XCloseDisplay(other);
    }
    bool lost = connection.failed();
    connection.forgetRefusals();
    lost = lost && connection.failed();
    std::printf("%s %s %s\n", refused ? "refused" : "-", forgotten ? "forgotten" : "-", lost ? "lost" : "-");
    return refused && forgotten && lost ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--claim-root-pixmap"))
        return claimRootPixmap(args[2].toULong(nullptr, 0));
    if (args.size() == 2 && args[1] == QLatin1String("--lose-connection"))
        return loseConnection();
    if (args.size() != 4 && args.size() != 6) {
        std::fprintf(stderr, "usage: apply_wallpaper PICTURE STYLE BITMAP [REPEAT OTHER_PICTURE]\n");
        return 2;
    }
    const int style = args[2].toInt();
    const int repeat = args.size() == 6 ? args[4].toInt() : 1;
    const auto setter = makeLinuxWallpaperSetter();
    QImage kept;
    for (int i = 0; i < repeat; ++i) {
        const QString& picture = i % 2 == 0 ? args[1] : args[5];
        if (!change(*setter, picture, style, args[3], kept))
            return 1;
    }
    return 0;
}
