#include "engine/ticks.h"
#include "engine/timearith.h"

#include <QTimeZone>

#include <gtest/gtest.h>

using namespace quandrel;

namespace {

constexpr qint64 T0 = 1'780'000'000'000; // an arbitrary UTC instant, on a second

TEST(DurationTick, CountDownShowsEverySecondAndExpiresAtZero)
{
    SlotTable t;
    t.DurationStart[0] = T0;
    t.DurationSecs[0] = 10;
    QStringList faces;
    Expiry last = Expiry::None;
    for (int k = 1; k <= 10; ++k) {
        const DurationTick tick = durationTick(t, 0, true, T0 + k * 1000 + 5);
        faces << tick.face;
        last = tick.expiry;
        if (k < 10) {
            EXPECT_EQ(tick.expiry, Expiry::None) << k;
        }
    }
    EXPECT_EQ(faces.first(), "00:00:09");
    EXPECT_EQ(faces.at(8), "00:00:01");
    EXPECT_EQ(faces.last(), "00:00:00");
    EXPECT_EQ(last, Expiry::Final);
}

TEST(DurationTick, LateTicksStillExpire)
{
    SlotTable t;
    t.DurationStart[0] = T0;
    t.DurationSecs[0] = 10;
    DurationTick down = durationTick(t, 0, true, T0 + 11'000);
    EXPECT_EQ(down.face, "-00:00:01");
    EXPECT_EQ(down.expiry, Expiry::Final);
    DurationTick up = durationTick(t, 0, false, T0 + 11'000);
    EXPECT_EQ(up.face, "00:00:11");
    EXPECT_EQ(up.expiry, Expiry::Final);
}

TEST(DurationTick, ZeroDurationExpiresOnTheFirstTick)
{
    SlotTable t;
    t.DurationStart[5] = T0;
    EXPECT_EQ(durationTick(t, 5, true, T0 + 5).expiry, Expiry::Final);
}

TEST(DurationTick, RestartBeginsTheNextCycleAtTheDeadline)
{
    SlotTable t;
    t.DurationStart[1] = T0;
    t.DurationSecs[1] = 60;
    t.AutoRestart[1] = 1;
    // Each expiry tick arrives 5..900 ms late; cycles must not drift.
    for (int cycle = 1; cycle <= 100; ++cycle) {
        const qint64 deadline = T0 + cycle * 60'000LL;
        const DurationTick tick = durationTick(t, 1, true, deadline + (cycle * 37) % 900 + 5);
        ASSERT_EQ(tick.expiry, Expiry::Restart);
        EXPECT_EQ(tick.face, "00:00:00");
        EXPECT_EQ(t.DurationStart[1], deadline);
    }
    // The tick after a restart shows nearly the whole duration again.
    EXPECT_EQ(durationTick(t, 1, true, T0 + 100 * 60'000LL + 1005).face, "00:00:59");
}

TEST(DurationTick, ClockJumpPastWholeCyclesRestartsNowWithoutABurst)
{
    SlotTable t;
    t.DurationStart[2] = T0;
    t.DurationSecs[2] = 10;
    t.AutoRestart[2] = 1;
    const qint64 now = T0 + 3600'000; // an hour later (suspend, clock set forward)
    EXPECT_EQ(durationTick(t, 2, false, now).expiry, Expiry::Restart);
    EXPECT_EQ(t.DurationStart[2], now);
    EXPECT_EQ(durationTick(t, 2, false, now + 1005).expiry, Expiry::None);
}

TEST(DurationTick, ZeroLengthRestartAdvancesOneCyclePerTick)
{
    SlotTable t;
    t.DurationStart[0] = T0;
    t.AutoRestart[0] = 1;
    const qint64 now = T0 + 5;
    EXPECT_EQ(durationTick(t, 0, true, now).expiry, Expiry::Restart);
    EXPECT_EQ(t.DurationStart[0], now);
    // The next tick is a whole second away, never at 0 ms.
    EXPECT_EQ(nextSecondAfterStart(t.DurationStart[0], now), now + 1000 + TickSlackMs);
}

TEST(DurationTick, ClockSetBackShowsMoreThanTheDuration)
{
    SlotTable t;
    t.DurationStart[0] = T0;
    t.DurationSecs[0] = 10;
    EXPECT_EQ(durationTick(t, 0, true, T0 - 5000).face, "00:00:15");
    EXPECT_EQ(durationTick(t, 0, false, T0 - 5000).face, "-00:00:05");
}

TEST(AlarmTick, ProgressAndExpiry)
{
    SlotTable t;
    t.AlarmStart[3] = T0;
    t.AlarmWait[3] = 3600;
    AlarmTick tick = alarmTick(t, 3, T0 + 1005);
    EXPECT_EQ(tick.progress, "1 elapsed of 3600 sec");
    EXPECT_FALSE(tick.expired);
    tick = alarmTick(t, 3, T0 + 3600'005);
    EXPECT_TRUE(tick.expired);
    tick = alarmTick(t, 3, T0 + 3601'005);
    EXPECT_EQ(tick.progress, "3601 elapsed of 3600 sec");
    EXPECT_EQ(t.AlarmElapsed[3], 3601);
}

TEST(AlarmTick, ZeroWaitExpiresAtOnce)
{
    SlotTable t;
    t.AlarmStart[0] = T0 + 400;
    EXPECT_TRUE(alarmTick(t, 0, T0 + 400).expired);
}

TEST(DurationTick, FallBackDoesNotStretchACountDown)
{
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    SlotTable t;
    // Two hours from 01:30 on the night the clocks go back.
    const QDateTime launch(QDate(2026, 10, 25), QTime(1, 30, 0), berlin);
    t.DurationStart[0] = launch.toMSecsSinceEpoch();
    t.DurationSecs[0] = 7200;
    const DurationTick tick = durationTick(t, 0, true, launch.toMSecsSinceEpoch() + 7200'005);
    EXPECT_EQ(tick.expiry, Expiry::Final);
    // The local clock shows only 02:30 (the hour from 02:00 to 03:00 ran twice).
    EXPECT_EQ(launch.addSecs(7200).time(), QTime(2, 30, 0));
}

TEST(Schedule, TicksLandJustAfterTheSecondChanges)
{
    EXPECT_EQ(nextSecondAfterStart(T0 + 250, T0 + 250), T0 + 1250 + TickSlackMs);
    EXPECT_EQ(nextSecondAfterStart(T0 + 250, T0 + 1255), T0 + 2250 + TickSlackMs);
    EXPECT_EQ(nextSecondAfterStart(T0, T0 - 1500), T0 - 1000 + TickSlackMs) << "clock set back";
    // Local seconds: the boundary of the wall clock, whatever the offset.
    const ClockReading reading{T0 + 400, 3600};
    EXPECT_EQ(nextLocalSecond(reading), T0 + 1000 + TickSlackMs);
}

} // namespace
