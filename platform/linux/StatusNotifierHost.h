#pragma once

// Whether a StatusNotifierItem host serves the session bus now: the watcher is on the
// bus and says a host has registered with it. These are the two questions Qt asks
// when it creates a tray icon; with both answered yes it exports the icon over D-Bus.
bool statusNotifierHostRegistered();
