#pragma once

#include <QString>
#include <functional>

class QIcon;
class QMenu;

enum class TrayActivation { Trigger, DoubleClick, Context, Other };

// Where the icon lives. An icon docked in an XEmbed tray reports both clicks of a
// double-click; a host that talks to the icon over D-Bus (StatusNotifierItem) sends
// one Activate for a left click and never a double-click.
enum class TrayKind { Embedded, StatusNotifier };

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void add(const QIcon& icon, const QString& tip, QMenu* contextMenu) = 0;
    virtual void remove() = 0;
    virtual bool isVisible() const = 0;
    // Whether a tray exists right now to hold the icon.
    virtual bool trayAvailable() const = 0;
    // Settled when the icon is added, as the toolkit settles it, and kept for the run.
    virtual TrayKind kind() const = 0;
    std::function<void(TrayActivation)> onActivated;
};
