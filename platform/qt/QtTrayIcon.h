#pragma once

#include "platform/TrayIcon.h"

#include <functional>
#include <memory>
#include <utility>

class QSystemTrayIcon;

class QtTrayIcon final : public TrayIcon {
public:
    QtTrayIcon();
    ~QtTrayIcon() override;
    void add(const QIcon& icon, const QString& tip, QMenu* contextMenu) override;
    void remove() override;
    bool isVisible() const override;
    bool trayAvailable() const override;
    TrayKind kind() const override { return m_kind; }

    // Asked once, right before the icon is made: whether Qt will hand it to a
    // StatusNotifierItem host. Without a probe the icon counts as docked.
    void setStatusNotifierProbe(std::function<bool()> probe) { m_statusNotifierProbe = std::move(probe); }

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::function<bool()> m_statusNotifierProbe;
    TrayKind m_kind = TrayKind::Embedded;
};
