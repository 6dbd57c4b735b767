#pragma once

#include <QString>
#include <functional>

class QIcon;
class QMenu;

enum class TrayActivation { Trigger, DoubleClick, Context, Other };

class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual void add(const QIcon& icon, const QString& tip, QMenu* contextMenu) = 0;
    virtual void remove() = 0;
    virtual bool isVisible() const = 0;
    // Whether a tray exists right now to hold the icon.
    virtual bool trayAvailable() const = 0;
    std::function<void(TrayActivation)> onActivated;
};
