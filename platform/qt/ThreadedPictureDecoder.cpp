#include "platform/qt/ThreadedPictureDecoder.h"

#include "engine/EntryPicture.h"

#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

ThreadedPictureDecoder::ThreadedPictureDecoder(Decode decode)
    : m_decode(decode ? std::move(decode) : Decode(loadEntryPicture))
{
    // One decode at a time for the window: a second one would only slow the first down
    // on a machine of two cores, and only the latest picture is wanted anyway. Prepared
    // pictures are known to be wanted: the logon run's two decode side by side while the
    // window is built, which ends the run sooner than decoding them one after the other.
    m_pool.setMaxThreadCount(1);
    m_preparePool.setMaxThreadCount(2);
    connect(&m_watcher, &QFutureWatcher<QImage>::finished, this, &ThreadedPictureDecoder::settle);
}

ThreadedPictureDecoder::~ThreadedPictureDecoder()
{
    cancel();
    m_watcher.disconnect(this);
    m_pool.waitForDone();
    m_preparePool.waitForDone();
}

void ThreadedPictureDecoder::prepare(const QByteArray& entryBytes, const QString& fallbackPath)
{
    for (const Prepared& prepared : m_prepared) {
        if (prepared.entryBytes == entryBytes && prepared.fallbackPath == fallbackPath)
            return;
    }
    std::stop_source stop;
    QFuture<QImage> decode
        = QtConcurrent::run(&m_preparePool, m_decode, entryBytes, fallbackPath, QImage(), stop.get_token());
    m_prepared.push_back(Prepared{entryBytes, fallbackPath, std::move(stop), std::move(decode)});
}

void ThreadedPictureDecoder::request(quint64 number, const QByteArray& entryBytes, const QString& fallbackPath,
                                     QImage reuse)
{
    m_wanted = number;
    m_waiting = Job{number, entryBytes, fallbackPath, std::move(reuse)};
    if (m_isRunning || m_startQueued)
        return;
    m_startQueued = true;
    // By name: the analyzer cannot follow the functor form's slot object to its release.
    QMetaObject::invokeMethod(this, "startWaiting", Qt::QueuedConnection);
}

void ThreadedPictureDecoder::startWaiting()
{
    m_startQueued = false;
    if (m_isRunning || !m_waiting)
        return;
    Job job = std::move(*m_waiting);
    m_waiting.reset();
    m_isRunning = true;
    m_runningNumber = job.number;
    const auto prepared = std::find_if(m_prepared.begin(), m_prepared.end(), [&job](const Prepared& candidate) {
        return candidate.entryBytes == job.entryBytes && candidate.fallbackPath == job.fallbackPath;
    });
    if (prepared != m_prepared.end()) {
        m_running = std::move(prepared->decode);
        m_runningStop = std::move(prepared->stop);
        m_prepared.erase(prepared);
    } else {
        m_runningStop = std::stop_source();
        // The arguments are moved into the decode, so the lent buffer is its only owner.
        m_running = QtConcurrent::run(&m_pool, m_decode, std::move(job.entryBytes), std::move(job.fallbackPath),
                                      std::move(job.reuse), m_runningStop.get_token());
    }
    m_watcher.setFuture(m_running);
}

void ThreadedPictureDecoder::settle()
{
    if (!m_isRunning || !m_running.isFinished())
        return;
    m_isRunning = false;
    QImage picture = m_running.takeResult();
    m_running = QFuture<QImage>();
    const quint64 number = m_runningNumber;
    if (number != m_wanted) {
        // Stale: its buffer serves the next decode, which is likely of the same size.
        if (m_waiting && m_waiting->reuse.isNull())
            m_waiting->reuse = std::move(picture);
        startWaiting();
        return;
    }
    startWaiting();
    m_wanted = 0;
    if (m_receiver)
        m_receiver(number, std::move(picture));
}

void ThreadedPictureDecoder::finish()
{
    while (pending()) {
        if (!m_isRunning)
            startWaiting();
        if (!m_isRunning)
            return;
        m_running.waitForFinished();
        settle();
    }
}

void ThreadedPictureDecoder::dropPrepared()
{
    for (Prepared& prepared : m_prepared)
        prepared.stop.request_stop();
    m_prepared.clear();
}

void ThreadedPictureDecoder::cancel()
{
    m_wanted = 0;
    m_waiting.reset();
    dropPrepared();
    if (m_isRunning)
        m_runningStop.request_stop();
}
