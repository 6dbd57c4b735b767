#pragma once

#include "platform/linux/wallpaper/ToolRunner.h"

// QProcess with a bounded wait: a desktop tool that hangs (a dead D-Bus session, a
// settings daemon that never answers) must not freeze the window.
class ProcessToolRunner final : public ToolRunner {
public:
    explicit ProcessToolRunner(int timeoutMs = 5000)
        : m_timeoutMs(timeoutMs)
    {
    }
    bool run(const QString& program, const QStringList& arguments, QByteArray* output) override;

private:
    int m_timeoutMs;
};
