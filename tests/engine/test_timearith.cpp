#include "engine/timearith.h"

#include <gtest/gtest.h>

using namespace quandrel;

namespace {

struct LaunchCase {
    const char* text;
    int32_t secs;
    int32_t hour, minute, second;
    const char* amPm;
};

class CountTimeShapes : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(CountTimeShapes, ReadsFieldsAndSecondsOfDay)
{
    const LaunchCase c = GetParam();
    SlotTable t;
    t.LaunchTimeText[2] = QString::fromUtf8(c.text);
    EXPECT_TRUE(countTime(t, 2));
    EXPECT_EQ(t.LaunchSecs[2], c.secs);
    EXPECT_EQ(t.LaunchHour[2], c.hour);
    EXPECT_EQ(t.LaunchMinute[2], c.minute);
    EXPECT_EQ(t.LaunchSecond[2], c.second);
    EXPECT_EQ(t.LaunchAmPm[2], QString::fromUtf8(c.amPm));
}

INSTANTIATE_TEST_SUITE_P(LaunchTexts, CountTimeShapes,
                         ::testing::Values(LaunchCase{"9:05:07 AM", 32707, 9, 5, 7, "AM"},
                                           LaunchCase{"12:00:00 AM", 0, 12, 0, 0, "AM"},
                                           LaunchCase{"12:30:15 PM", 45015, 12, 30, 15, "PM"},
                                           LaunchCase{"9:05:07 PM", 75907, 9, 5, 7, "PM"},
                                           LaunchCase{"11:59:59 PM", 86399, 11, 59, 59, "PM"},
                                           LaunchCase{"21:05:07", 75907, 21, 5, 7, ""},
                                           LaunchCase{"7:00:00", 25200, 7, 0, 0, ""},
                                           // Separators are not looked at.
                                           LaunchCase{"21.05.07", 75907, 21, 5, 7, ""}));

TEST(CountTime, OtherLengthsChangeNothing)
{
    SlotTable t;
    t.LaunchSecs[0] = 1234;
    t.LaunchHour[0] = 3;
    for (const char* text : {"9:05:0", "9:05:07 P", "11:05:07 PM.", "", "21時05分07秒"}) {
        t.LaunchTimeText[0] = QString::fromUtf8(text);
        EXPECT_FALSE(countTime(t, 0)) << text;
        EXPECT_EQ(t.LaunchSecs[0], 1234) << text;
        EXPECT_EQ(t.LaunchHour[0], 3) << text;
    }
}

TEST(CountTime, UnknownDesignatorStoresFieldsButKeepsSeconds)
{
    SlotTable t;
    t.LaunchSecs[1] = 777;
    t.LaunchTimeText[1] = QStringLiteral("9:05:07 pm");
    EXPECT_FALSE(countTime(t, 1));
    EXPECT_EQ(t.LaunchSecs[1], 777);
    EXPECT_EQ(t.LaunchHour[1], 9);
    EXPECT_EQ(t.LaunchMinute[1], 5);
    EXPECT_EQ(t.LaunchSecond[1], 7);
    EXPECT_EQ(t.LaunchAmPm[1], QStringLiteral("pm"));
}

TEST(CountTime, FieldsThatAreNotNumbersAreReportedUnreadable)
{
    SlotTable t;
    // The right length, but letters where the digits should be.
    t.LaunchTimeText[0] = QStringLiteral("ab:cd:ef");
    EXPECT_FALSE(countTime(t, 0));
    // Arabic-Indic digits are no ASCII number either.
    t.LaunchTimeText[0] = QString::fromUtf8("٩:٠٥:٠٧ م");
    EXPECT_FALSE(countTime(t, 0));
}

TEST(AlarmTime, TwelveHourMapping)
{
    SlotTable t;
    alarmtime(t, 0, 12, 0, 0, QStringLiteral("AM"));
    EXPECT_EQ(t.AlarmSecs[0], 0);
    alarmtime(t, 0, 12, 0, 0, QStringLiteral("PM"));
    EXPECT_EQ(t.AlarmSecs[0], 43200);
    EXPECT_EQ(t.HalfDay, 43200);
    alarmtime(t, 0, 11, 59, 59, QStringLiteral("PM"));
    EXPECT_EQ(t.AlarmSecs[0], 86399);
    alarmtime(t, 0, 1, 0, 0, QStringLiteral("AM"));
    EXPECT_EQ(t.AlarmSecs[0], 3600);
    alarmtime(t, 0, 5, 0, 0, QStringLiteral("XM"));
    EXPECT_EQ(t.AlarmSecs[0], 3600) << "an unknown designator leaves the alarm as it was";
}

TEST(AlarmDuration, WrapsToTheNextDay)
{
    SlotTable t;
    alarmduration(t, 5000, 5000, 3);
    EXPECT_EQ(t.AlarmWait[3], 0);
    alarmduration(t, 4999, 5000, 3);
    EXPECT_EQ(t.AlarmWait[3], 86399);
    alarmduration(t, 7200, 3600, 3);
    EXPECT_EQ(t.AlarmWait[3], 3600);
}

TEST(ClockFace, PositiveValues)
{
    EXPECT_EQ(clockFace(0), "00:00:00");
    EXPECT_EQ(clockFace(59), "00:00:59");
    EXPECT_EQ(clockFace(3599), "00:59:59");
    EXPECT_EQ(clockFace(3600), "01:00:00");
    EXPECT_EQ(clockFace(86399), "23:59:59");
    EXPECT_EQ(clockFace(360000), "100:00:00");
}

TEST(ClockFace, NegativeValuesCarryOneSign)
{
    EXPECT_EQ(clockFace(-1), "-00:00:01");
    EXPECT_EQ(clockFace(-61), "-00:01:01");
    EXPECT_EQ(clockFace(-3600), "-01:00:00");
    EXPECT_EQ(clockFace(-90061), "-25:01:01");
}

TEST(ClockFace, SetlabelWritesTheSlotFields)
{
    SlotTable t;
    setlabel(t, 4, 10, 11); // a count-down one second past its end
    EXPECT_EQ(t.ShowHours[4], "-00");
    EXPECT_EQ(t.ShowMinutes[4], "00");
    EXPECT_EQ(t.ShowSeconds[4], "01");
    setlabelforward(t, 4, 3725);
    EXPECT_EQ(t.ShowHours[4] + ":" + t.ShowMinutes[4] + ":" + t.ShowSeconds[4], "01:02:05");
    // The extremes of 32 bits neither overflow nor crash.
    setlabel(t, 4, INT32_MIN, INT32_MAX);
    EXPECT_TRUE(t.ShowHours[4].startsWith('-'));
}

TEST(Elapsed, FloorsTowardMinusInfinity)
{
    EXPECT_EQ(elapsedSecs(1000, 1999), 0);
    EXPECT_EQ(elapsedSecs(1000, 2000), 1);
    EXPECT_EQ(elapsedSecs(1000, 999), -1) << "a clock set back just before the start";
    EXPECT_EQ(elapsedSecs(0, -1000), -1);
    EXPECT_EQ(elapsedSecs(0, 100LL * 86400 * 1000 * 1000), INT32_MAX) << "clamped, not wrapped";
}

TEST(Elapsed, WallSecondsCountBoundariesCrossed)
{
    EXPECT_EQ(wallSecondsCrossed(999, 1000), 1);
    EXPECT_EQ(wallSecondsCrossed(1000, 1999), 0);
    EXPECT_EQ(wallSecondsCrossed(-1, 0), 1);
}

TEST(LeadingNumber, ReadsLikeAFieldValue)
{
    bool ok = false;
    EXPECT_EQ(leadingNumber(u" 42abc", &ok), 42);
    EXPECT_TRUE(ok);
    EXPECT_EQ(leadingNumber(u"-7", &ok), -7);
    EXPECT_EQ(leadingNumber(u"abc", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(leadingNumber(u"99999999999999999999"), INT32_MAX);
}

} // namespace
