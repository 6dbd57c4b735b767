#pragma once

#include <functional>

// One copy of the program per user: a later plain start hands over to the copy that
// runs, which brings its window back, and then ends. A start for a command (the next
// picture, the one before) hands the command over in the same way.
class SingleInstance {
public:
    // What a later start asks the running copy for.
    enum class Command { Show, Next, Previous };
    enum class Claim {
        // No other copy runs: this one holds the place and takes later starts over.
        First,
        // The running copy took this start over; this one ends.
        HandedOver,
        // A copy holds the place but did not answer; this one ends without running.
        NoAnswer,
        // The place cannot be kept here (no folder of the user's own): runs on its own.
        Unavailable,
    };

    virtual ~SingleInstance() = default;
    // Called once, before the window is built; may wait a few seconds for a copy that
    // is still starting or ending.
    virtual Claim claim(Command command = Command::Show) = 0;
    // This copy is ending: later starts are no longer answered, and wait for the place
    // to come free when the process ends.
    virtual void leave() = 0;
    // Runs on the user-interface thread when a later start has handed over. The start
    // was answered already, so that it never waits for a busy window; false when this
    // copy is ending after all.
    std::function<bool(Command)> onHandOver;
};
