#pragma once

#include "platform/BitmapWriter.h"

#include <QFuture>
#include <QThreadPool>

#include <functional>

// Writes on a worker thread of its own. A write asked for while the previous one runs
// first waits for it, so at most one picture is held for writing.
class ThreadedBitmapWriter final : public BitmapWriter {
public:
    using Write = std::function<bool(const QImage& picture, const QString& path)>;

    explicit ThreadedBitmapWriter(Write write = {});
    ~ThreadedBitmapWriter() override;

    void write(QImage picture, const QString& path) override;
    bool finish() override;

private:
    Write m_write;
    QThreadPool m_pool;
    QFuture<bool> m_running;
    bool m_lastWritten = false;
};
