#pragma once

#include <QImage>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class BackgroundWork;
class BitmapWriter;
class QObject;
class WallpaperSetter;

// A change is one job beside the window's thread: the desktop gets the picture and the
// wallpaper bitmap is written, in the order the desktop needs. Jobs run in the order
// they were asked for; one that has not started when a newer one is asked for is
// dropped, since only the newest would be seen. Desktop tools may take seconds, and
// the window goes on meanwhile.
class ChangePipeline {
public:
    ChangePipeline(WallpaperSetter& setter, BitmapWriter& bitmaps, BackgroundWork& work);

    // `done` runs on the window's thread once the desktop has the picture, its bitmap
    // is whole and the job has let the picture go, or once a newer change dropped it.
    void change(QObject* context, QImage picture, int style, QString bitmapPath, std::function<void()> done = {});
    // The same for a picture not decoded yet: the job decodes the file an entry's bytes
    // name, or the fallback file when that cannot be decoded.
    void changeToEntry(QObject* context, QByteArray entryBytes, QString fallbackPath, int style, QString bitmapPath,
                       std::function<void()> done);
    // Waits until every change asked for has been handed to the desktop and its bitmap
    // is whole; whether the last bitmap was written.
    bool finish();

private:
    // On the worker: the desktop and the bitmap get the picture.
    void handOver(const QImage& picture, int style, const QString& bitmapPath);

    WallpaperSetter& m_setter;
    BitmapWriter& m_bitmaps;
    BackgroundWork& m_work;
    quint64 m_asked = 0;
    // The newest change asked for, read by the jobs.
    std::shared_ptr<std::atomic<quint64>> m_newest = std::make_shared<std::atomic<quint64>>(0);
};
