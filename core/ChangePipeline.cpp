#include "core/ChangePipeline.h"

#include "engine/EntryPicture.h"
#include "platform/BackgroundWork.h"
#include "platform/BitmapWriter.h"
#include "platform/WallpaperSetter.h"

ChangePipeline::ChangePipeline(WallpaperSetter& setter, BitmapWriter& bitmaps, BackgroundWork& work)
    : m_setter(setter)
    , m_bitmaps(bitmaps)
    , m_work(work)
{
}

void ChangePipeline::change(QObject* context, QImage picture, int style, QString bitmapPath, std::function<void()> done)
{
    const quint64 number = ++m_asked;
    m_newest->store(number);
    m_work.run(
        context,
        [this, newest = m_newest, number, picture = std::move(picture), style, path = std::move(bitmapPath)]() mutable {
            // The job's copy goes with the job's end, not whenever the worker lets the
            // job itself go: the window may hand that memory to the next decode.
            const QImage held = std::exchange(picture, QImage());
            if (newest->load() != number)
                return;
            handOver(held, style, path);
        },
        done ? std::move(done) : [] {});
}

void ChangePipeline::changeToEntry(QObject* context, QByteArray entryBytes, QString fallbackPath, int style,
                                   QString bitmapPath, std::function<void()> done)
{
    const quint64 number = ++m_asked;
    m_newest->store(number);
    m_work.run(
        context,
        [this, newest = m_newest, number, entry = std::move(entryBytes), fallback = std::move(fallbackPath), style,
         path = std::move(bitmapPath)] {
            if (newest->load() == number)
                handOver(loadEntryPicture(entry, fallback, QImage()), style, path);
        },
        done ? std::move(done) : [] {});
}

void ChangePipeline::handOver(const QImage& picture, int style, const QString& bitmapPath)
{
    // The previous change's bitmap is complete before this one goes on.
    m_bitmaps.finish();
    if (m_setter.readsBitmapFile()) {
        // A failed write leaves the previous bitmap, which the desktop is given again.
        bool written = false;
        if (!picture.isNull()) {
            m_bitmaps.write(picture, bitmapPath);
            written = m_bitmaps.finish();
        }
        m_setter.setWallpaper(bitmapPath, style, written ? &picture : nullptr);
        return;
    }
    // The desktop has the picture first; the bitmap follows.
    m_setter.setWallpaper(bitmapPath, style, picture.isNull() ? nullptr : &picture);
    if (!picture.isNull()) {
        m_bitmaps.write(picture, bitmapPath);
        m_bitmaps.finish();
    }
}

bool ChangePipeline::finish()
{
    m_work.finish();
    return m_bitmaps.finish();
}
