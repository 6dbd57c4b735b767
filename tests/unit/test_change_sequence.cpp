#include "core/ShownHistory.h"
#include "engine/ChangeSequence.h"

#include <gtest/gtest.h>
#include <set>

TEST(ChangeSequence, WalksTheListAndWrapsAtTheEnd)
{
    EXPECT_EQ(planAdvance(0, 3, false).select, 1);
    EXPECT_EQ(planAdvance(1, 3, false).select, 2);
    EXPECT_EQ(planAdvance(2, 3, false).select, 0);
    EXPECT_EQ(planAdvance(-1, 3, false).select, 0);
    // One entry stays current; an empty list selects nothing.
    EXPECT_EQ(planAdvance(0, 1, false).select, 0);
    EXPECT_EQ(planAdvance(-1, 0, false).select, -1);
    EXPECT_FALSE(planAdvance(-1, 0, true).pickRandom);
}

TEST(ChangeSequence, RandomPickFollowsOnlyWhenNotWrapping)
{
    const AdvancePlan middle = planAdvance(0, 3, true);
    EXPECT_EQ(middle.select, 1);
    EXPECT_TRUE(middle.pickRandom);
    const AdvancePlan last = planAdvance(2, 3, true);
    EXPECT_EQ(last.select, 0);
    EXPECT_FALSE(last.pickRandom);
    EXPECT_FALSE(planAdvance(0, 1, true).pickRandom);
}

TEST(ChangeSequence, RandomInRangeStaysWithinBoundsAndCoversThem)
{
    std::set<int> seen;
    for (int step = 0; step < 5000; ++step) {
        const double seconds = step * 0.37;
        const int value = randomInRange(4, 0, seconds);
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 4);
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_EQ(randomInRange(7, 7, 1234.5), 7);
    for (int step = 0; step < 200; ++step) {
        const int value = randomInRange(-3, -10, step * 11.0);
        EXPECT_GE(value, -10);
        EXPECT_LE(value, -3);
    }
}

TEST(ChangeSequence, RandomInRangeIsReseededFromTheTimeOfDay)
{
    // The pick depends on the time given and on nothing before it.
    const int first = randomInRange(1000, 0, 3600.25);
    std::set<int> picks;
    for (int second = 0; second < 50; ++second)
        picks.insert(randomInRange(1000, 0, 40000.0 + second));
    EXPECT_EQ(randomInRange(1000, 0, 3600.25), first);
    EXPECT_GT(picks.size(), 40u) << "each time of day seeds its own pick";
    // The time is taken in single precision, which cannot tell 80000.001 from 80000.003
    // (its steps are 1/128 s there), while it can tell them from 80000.01.
    EXPECT_EQ(randomInRange(1000, 0, 80000.001), randomInRange(1000, 0, 80000.003));
    EXPECT_NE(randomInRange(1000, 0, 80000.001), randomInRange(1000, 0, 80000.01));
}

TEST(ShownHistory, BackAndForwardSkipWhatIsGoneAndOnlyTheLastHundredAreKept)
{
    const auto picture = [](const QByteArray& entry) { return ShownHistory::Picture{QString(), entry, 0}; };
    ShownHistory history;
    for (const char* entry : {"a", "b", "b", "c", "d"})
        history.record(picture(entry));
    EXPECT_EQ(history.state().pictures.size(), 4) << "given twice in a row, kept once";
    const ShownHistory::Exists exists = [](const ShownHistory::Picture& shown) { return shown.entry != "b"; };
    std::vector<QByteArray> walked;
    for (const bool back : {true, true, true, false, false, false}) {
        const auto shown = back ? history.back(exists) : history.forward(exists);
        walked.push_back(shown ? shown->entry : QByteArray("-"));
    }
    EXPECT_EQ(walked, (std::vector<QByteArray>{"c", "a", "-", "c", "d", "-"}));
    history.back(exists);
    history.record(picture("e"));
    EXPECT_EQ(history.state().current, 4) << "a new picture is the newest, whatever was walked";

    for (int i = 0; i < 150; ++i)
        history.record(picture(QByteArray::number(i)));
    EXPECT_EQ(history.state().pictures.size(), ShownHistory::Kept);
    EXPECT_EQ(history.state().pictures.first().entry, "50");
    EXPECT_EQ(ShownHistory({{picture("x"), picture("y")}, 7}).state().current, 1) << "a stored place out of range";
}
