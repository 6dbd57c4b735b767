#pragma once

class QImage;

// Makes the picture the background of the root window of the X display named by
// DISPLAY, the way feh and hsetroot do, so that desktops without a wallpaper service
// of their own and programs that read _XROOTPMAP_ID (transparent terminals) see it.
// style must be 0..2. False when there is no display or the server refused.
bool setRootWindowWallpaper(const QImage& picture, int style);
