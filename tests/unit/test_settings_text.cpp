#include "engine/SettingsText.h"

#include <gtest/gtest.h>

TEST(SettingsText, CheckStateAcceptsOnlyZeroAndOne)
{
    EXPECT_EQ(checkStateFromText(QStringLiteral("1")), true);
    EXPECT_EQ(checkStateFromText(QStringLiteral("0")), false);
    EXPECT_EQ(checkStateFromText(QStringLiteral(" 1 ")), true);
    // A fraction counts as the whole number it rounds to, halves to the even one.
    EXPECT_EQ(checkStateFromText(QStringLiteral("0.4")), false);
    EXPECT_EQ(checkStateFromText(QStringLiteral("1.2")), true);
    EXPECT_EQ(checkStateFromText(QStringLiteral("-0.4")), false);
    EXPECT_EQ(checkStateFromText(QStringLiteral("0.5")), false);
    for (const char* text : {"1.5", "1.6", "-0.6"})
        EXPECT_EQ(checkStateFromText(QLatin1String(text)), std::nullopt) << text;
    // Anything else leaves the box as it was.
    for (const char* text : {"", "abc", "2", "-1", "True", "1x"})
        EXPECT_EQ(checkStateFromText(QLatin1String(text)), std::nullopt) << text;
}

TEST(SettingsText, OptionStateReadsWordsInAnyCaseAndNumbers)
{
    EXPECT_EQ(optionStateFromText(QStringLiteral("True")), true);
    EXPECT_EQ(optionStateFromText(QStringLiteral("FALSE")), false);
    EXPECT_EQ(optionStateFromText(QStringLiteral("true")), true);
    EXPECT_EQ(optionStateFromText(QStringLiteral("-1")), true);
    EXPECT_EQ(optionStateFromText(QStringLiteral("0")), false);
    for (const char* text : {"", "yes", "Truee", "x1"})
        EXPECT_EQ(optionStateFromText(QLatin1String(text)), std::nullopt) << text;
}

TEST(SettingsText, IntervalIsTheNumberAtTheStartOfTheText)
{
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("60")), 60.0);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("1.5")), 1.5);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("15 minut")), 15.0);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("  0.5")), 0.5);
    // Blanks inside the number are ignored, as the old reading did.
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("1 5")), 15.0);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("-5")), -5.0);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("2e1x")), 20.0);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("2e")), 2.0);
    // The decimal comma a Czech user types reads as the point; only the first counts.
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("1,5")), 1.5);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("0,05 minut")), 0.05);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("1,5,3")), 1.5);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral("1.5,3")), 1.5);
    EXPECT_DOUBLE_EQ(intervalValue(QStringLiteral(",5e1")), 5.0);
    for (const char* text : {"", "00", "0", "minut", ".", "-", "abc5"})
        EXPECT_DOUBLE_EQ(intervalValue(QLatin1String(text)), 0.0) << text;
}

TEST(SettingsText, StoredTextsAreExact)
{
    EXPECT_EQ(checkStateText(true), QStringLiteral("1"));
    EXPECT_EQ(checkStateText(false), QStringLiteral("0"));
    EXPECT_EQ(optionStateText(true), QStringLiteral("True"));
    EXPECT_EQ(optionStateText(false), QStringLiteral("False"));
}
