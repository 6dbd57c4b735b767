# The Debian package, built with "cpack -G DEB" from what cmake/Install.cmake installs.
# scripts/package.sh configures the build for it (prefix /usr, release build).
set(CPACK_PACKAGE_NAME tapetor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR tapetor)
set(CPACK_PACKAGE_CONTACT "tapetor <${TAPETOR_MAIL}>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${TAPETOR_SITE_HOST}/")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "desktop wallpaper changer
tapetor changes the desktop wallpaper by itself, along collections of pictures
that it lets you build: once after you log on, or every few minutes while it
waits in the notification area. Pictures are shown centred, stretched to the
screen or tiled, in the collection's order or at random.

It sets the wallpaper through the running desktop's own mechanism (GNOME,
Cinnamon, MATE, Xfce, KDE Plasma, LXDE, LXQt, sway), with swaybg on other
wlroots compositors, and on the root window of a bare X server otherwise. Its
window is in Czech.")

# The libraries come from the binary. Qt loads its platform and picture format
# plugins only at run time, so no library dependency names their packages. A Wayland
# session without Xwayland (sway's default) needs the wayland platform plugin.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland, qt6-image-formats-plugins")
# Web links and the mail address are handed to xdg-open; Qt's own buttons and file
# dialogs speak Czech with its translations.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
# Wayland compositors without a wallpaper of their own (wayfire, labwc, river) get it
# from a swaybg.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "swaybg")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
