#pragma once

#include "platform/ShellOpener.h"

#include <QStringList>
#include <functional>

class QtShellOpener final : public ShellOpener {
public:
    // Starts a program on its own; false when it could not be started.
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

    QtShellOpener();
    explicit QtShellOpener(Launcher launcher);
    bool open(const QString& target) override;

private:
    Launcher m_launch;
};
