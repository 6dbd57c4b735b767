#include "platform/qt/ThreadedBitmapWriter.h"

#include "engine/WallpaperBitmap.h"

#include <QtConcurrent/QtConcurrentRun>

ThreadedBitmapWriter::ThreadedBitmapWriter(Write write)
    : m_write(write ? std::move(write) : Write(writeWallpaperBitmap))
{
    m_pool.setMaxThreadCount(1);
}

ThreadedBitmapWriter::~ThreadedBitmapWriter()
{
    // The file is complete before the program ends.
    finish();
}

void ThreadedBitmapWriter::write(QImage picture, const QString& path)
{
    finish();
    m_running = QtConcurrent::run(&m_pool, m_write, std::move(picture), path);
}

bool ThreadedBitmapWriter::finish()
{
    if (m_running.isValid()) {
        m_lastWritten = m_running.result();
        m_running = QFuture<bool>();
    }
    return m_lastWritten;
}
