#pragma once

#include <functional>

// One copy of the program per user: a later plain start hands over to the copy that
// runs, which brings its window back, and then ends.
class SingleInstance {
public:
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
    virtual Claim claim() = 0;
    // Runs on the user-interface thread when a later start hands over; false when
    // this copy is ending and leaves that start to run by itself.
    std::function<bool()> onHandOver;
};
