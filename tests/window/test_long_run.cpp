// Twenty thousand changes must leave nothing behind that grows, on disk or in the list.
#include "LongRun.h"

#include <QDir>

TEST_F(LongRun, TwentyThousandChangesLeaveTheListAndTheFoldersAsTheyWere)
{
    std::vector<int> seenWidths;
    makeChanges(seenWidths);
    ASSERT_FALSE(HasFatalFailure());

    EXPECT_EQ(listCount(), 10);
    EXPECT_EQ(entries(), pictures);
    EXPECT_LE(markedRows().size(), 2);
    for (int i = 0; i < 10; ++i)
        EXPECT_GT(seenWidths[size_t(i)], 1000) << "picture " << i << " came round too seldom";
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(QDir(location.dir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("tapetor.bmp")})
        << "nothing piles up beside the bitmap";
    EXPECT_FALSE(QDir(location.dataDir).exists() && !QDir(location.dataDir).isEmpty());
}
