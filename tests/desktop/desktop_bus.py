"""Session-bus stand-ins for the desktop tests (GLib's python bindings).

  desktop_bus.py session-manager   owns org.gnome.SessionManager and answers
                                   IsSessionRunning with true (csd-background waits
                                   for it), until killed
  desktop_bus.py screenshot FILE   GNOME Shell's screenshot of the whole screen; the
                                   shell answers only callers that own an allowed name
"""
import sys

import gi
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib

SESSION_XML = """<node><interface name="org.gnome.SessionManager">
<method name="IsSessionRunning"><arg type="b" direction="out"/></method>
</interface></node>"""


def session_manager():
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    interface = Gio.DBusNodeInfo.new_for_xml(SESSION_XML).interfaces[0]

    def answer(connection, sender, path, iface, method, params, invocation):
        invocation.return_value(GLib.Variant("(b)", (True,)))

    bus.register_object("/org/gnome/SessionManager", interface, answer)
    Gio.bus_own_name_on_connection(bus, "org.gnome.SessionManager", 0, None, None)
    GLib.MainLoop().run()


def screenshot(path):
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                          "RequestName", GLib.Variant("(su)", ("org.gnome.Screenshot", 4)),
                          None, 0, -1, None)
    if reply.unpack()[0] not in (1, 4):
        sys.exit("org.gnome.Screenshot is taken")
    success, _ = bus.call_sync("org.gnome.Shell.Screenshot", "/org/gnome/Shell/Screenshot",
                               "org.gnome.Shell.Screenshot", "Screenshot",
                               GLib.Variant("(bbs)", (False, False, path)),
                               None, 0, 30000, None).unpack()
    sys.exit(0 if success else 1)


if sys.argv[1] == "session-manager":
    session_manager()
else:
    screenshot(sys.argv[2])
