#include "platform/qt/ThreadedBackgroundWork.h"

ThreadedBackgroundWork::ThreadedBackgroundWork()
{
    // One at a time: a save must not overtake the reading it follows.
    m_pool.setMaxThreadCount(1);
    // Jobs come seldom: the thread goes as soon as it is idle rather than waiting half a
    // minute for the next one.
    m_pool.setExpiryTimeout(0);
    connect(this, &ThreadedBackgroundWork::ran, this, &ThreadedBackgroundWork::deliver, Qt::QueuedConnection);
}

ThreadedBackgroundWork::~ThreadedBackgroundWork()
{
    m_pool.waitForDone();
}

void ThreadedBackgroundWork::run(QObject* context, std::function<void()> work, std::function<void()> done)
{
    const quint64 job = ++m_jobs;
    m_waiting.emplace(job, Waiting{context, std::move(done)});
    m_pool.start([this, job, work = std::move(work)] {
        work();
        Q_EMIT ran(job);
    });
}

void ThreadedBackgroundWork::deliver(quint64 job)
{
    const auto waiting = m_waiting.find(job);
    // finish() has delivered it already.
    if (waiting == m_waiting.end())
        return;
    const Waiting taken = std::move(waiting->second);
    m_waiting.erase(waiting);
    if (taken.context)
        taken.done();
}

void ThreadedBackgroundWork::finish()
{
    // An end may give the next job: each is delivered only once every job has run.
    while (!m_waiting.empty()) {
        m_pool.waitForDone();
        deliver(m_waiting.begin()->first);
    }
}
