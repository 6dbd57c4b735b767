#pragma once

#include "platform/TrayIcon.h"

#include <memory>

class QSystemTrayIcon;

class QtTrayIcon final : public TrayIcon {
public:
    QtTrayIcon();
    ~QtTrayIcon() override;
    void add(const QIcon& icon, const QString& tip, QMenu* contextMenu) override;
    void remove() override;
    bool isVisible() const override;
    bool trayAvailable() const override;

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
