#pragma once

#include "platform/BackgroundWork.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <map>

// Runs the jobs on a worker thread of its own. Ending waits for a job still running, so
// a collection being saved is whole on disk before the process ends.
class ThreadedBackgroundWork final : public QObject, public BackgroundWork {
    Q_OBJECT
public:
    ThreadedBackgroundWork();
    ~ThreadedBackgroundWork() override;

    void run(QObject* context, std::function<void()> work, std::function<void()> done) override;
    void finish() override;

Q_SIGNALS:
    // From the worker: the job has run.
    void ran(quint64 job);

private:
    void deliver(quint64 job);

    struct Waiting {
        QPointer<QObject> context;
        std::function<void()> done;
    };
    // Ordered by job, so that finish() delivers in the order the jobs ran.
    std::map<quint64, Waiting> m_waiting;
    quint64 m_jobs = 0;
    // Destroyed first: its destructor waits for the job still running.
    QThreadPool m_pool;
};
