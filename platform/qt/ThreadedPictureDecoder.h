#pragma once

#include "platform/PictureDecoder.h"

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>

#include <optional>
#include <stop_token>
#include <vector>

// Decodes on a worker thread of its own, one picture at a time, and answers on the
// thread that asked. A decode starts once the asking thread returns to its event loop
// (or waits in finish()), so a run of requests made at one go, as start-up makes them,
// decodes only the last; requests made while a decode runs wait, and only the latest
// of them is decoded next. Prepared pictures are decoded at once on workers of their own.
// cancel() stops the decodes it forgets, so that they let their memory go at once.
class ThreadedPictureDecoder final : public QObject, public PictureDecoder {
    Q_OBJECT
public:
    using Decode = std::function<QImage(const QByteArray& entryBytes, const QString& fallbackPath, QImage reuse,
                                        const std::stop_token& stop)>;

    explicit ThreadedPictureDecoder(Decode decode = {});
    ~ThreadedPictureDecoder() override;

    void setReceiver(Receiver receiver) override { m_receiver = std::move(receiver); }
    void request(quint64 number, const QByteArray& entryBytes, const QString& fallbackPath, QImage reuse) override;
    void prepare(const QByteArray& entryBytes, const QString& fallbackPath) override;
    // Whether the latest request is still to be answered.
    bool pending() const { return m_wanted != 0; }
    void dropPrepared() override;
    void finish() override;
    void cancel() override;

private:
    struct Job {
        quint64 number = 0;
        QByteArray entryBytes;
        QString fallbackPath;
        QImage reuse;
    };
    struct Prepared {
        QByteArray entryBytes;
        QString fallbackPath;
        std::stop_source stop;
        QFuture<QImage> decode;
    };
    Q_INVOKABLE void startWaiting();
    // Takes the answer of the decode that has ended, starts the next one and delivers.
    void settle();

    Decode m_decode;
    Receiver m_receiver;
    // Destroyed last: their destructors wait for a decode still running.
    QThreadPool m_preparePool;
    QThreadPool m_pool;
    QFuture<QImage> m_running;
    std::stop_source m_runningStop;
    QFutureWatcher<QImage> m_watcher;
    quint64 m_runningNumber = 0;
    bool m_isRunning = false;
    bool m_startQueued = false;
    std::optional<Job> m_waiting;
    std::vector<Prepared> m_prepared;
    // The number of the request whose answer is still wanted; 0 for none.
    quint64 m_wanted = 0;
};
