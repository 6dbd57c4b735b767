#pragma once

// Where the collection goes after a change.
struct AdvancePlan {
    int select = -1; // entry to make current, -1 for none
    bool pickRandom = false; // then make a random entry current as well
};

// After a change: the last entry wraps to 0 (never random on that path); otherwise the
// next entry, followed by a random pick in random order.
AdvancePlan planAdvance(int currentIndex, int count, bool randomOrder);

// A whole number from lower to upper, both included. The generator is reseeded from
// the time of day (seconds since midnight, as a single-precision number) on every call.
int randomInRange(int upper, int lower, double secondsSinceMidnight);
