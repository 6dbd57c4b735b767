#pragma once

#include <functional>

class QObject;

// Work that would hold the window up for a while (reading, sorting or writing a long
// collection, handing a change to a slow desktop) runs beside the window's thread, one
// job after another in the order given; the window hears of each job's end on its own
// thread. Tests run the jobs at once.
class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;

    // Runs `work` beside the window's thread, then `done` on the window's thread, unless
    // `context` is gone by then. `done` may run before this returns.
    virtual void run(QObject* context, std::function<void()> work, std::function<void()> done) = 0;
    // Waits for every job given so far and runs their `done`s before returning: for the
    // start, which has nothing to show before its collection is there.
    virtual void finish() = 0;
};

// Runs each job and its end before returning: for work that is quick where it runs, and
// for tests.
class InlineBackgroundWork final : public BackgroundWork {
public:
    void run(QObject* /*context*/, std::function<void()> work, std::function<void()> done) override
    {
        work();
        done();
    }
    void finish() override { }
};
