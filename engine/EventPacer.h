#pragma once

#include <QElapsedTimer>
#include <functional>

// Lets the window handle its events every few milliseconds during a long step. After
// every single entry, as the old program did, it would cost more than the step itself.
class EventPacer {
public:
    explicit EventPacer(std::function<void()> processEvents)
        : m_processEvents(std::move(processEvents))
    {
        m_timer.start();
    }
    void tick()
    {
        if (m_processEvents && m_timer.elapsed() >= 15) {
            m_processEvents();
            m_timer.restart();
        }
    }

private:
    std::function<void()> m_processEvents;
    QElapsedTimer m_timer;
};
