#include "platform/dialogs.h"
#include "platform/reversedscrollbar.h"
#include "platform/timeformat.h"
#include "support/sim.h"

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

namespace {

TEST(TimeFormat, LongFormatWithoutItsZone)
{
    const QTime t(21, 5, 7);
    EXPECT_EQ(longTimeText(t, QLocale(QLocale::English, QLocale::UnitedStates)), "9:05:07 PM");
    EXPECT_EQ(longTimeText(t, QLocale::c()), "21:05:07");
    EXPECT_EQ(longTimeText(t, QLocale(QLocale::German, QLocale::Germany)), "21:05:07");
    EXPECT_EQ(longTimeText(t, QLocale(QLocale::English, QLocale::UnitedKingdom)), "21:05:07");
    // Zone fields in front or at the end both go.
    EXPECT_EQ(longTimeText(t, QLocale(QLocale::Chinese, QLocale::China)), "21:05:07");
    EXPECT_FALSE(longTimeFormat(QLocale(QLocale::Korean, QLocale::SouthKorea)).contains('t'));
}

TEST(FileFilter, WindowsStyleBecomesQtStyle)
{
    EXPECT_EQ(toQtFileFilter("Wave File (*.wav)|*.wav"), "Wave File (*.wav)");
    EXPECT_EQ(toQtFileFilter("Sounds|*.wav;*.wave|All|*.*"), "Sounds (*.wav *.wave);;All (*.*)");
}

TEST(ScrollBar, LargestValueAtTheTop)
{
    ReversedScrollBar bar(1, 12);
    EXPECT_EQ(bar.value(), 1);
    int changes = 0;
    QObject::connect(&bar, &ReversedScrollBar::logicalValueChanged, [&](int) { ++changes; });
    bar.setValue(1);
    EXPECT_EQ(changes, 0) << "no notice for an unchanged value";
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar.value(), 2);
    EXPECT_EQ(changes, 1);
    bar.setValue(40);
    EXPECT_EQ(bar.value(), 12);
    EXPECT_EQ(bar.QScrollBar::value(), 0) << "12 sits at the top";
}

class Ticks : public ::testing::Test {
protected:
    ManualClock clock;
    Simulation sim{clock};
};

TEST_F(Ticks, EnablingAnEnabledTimerKeepsItsPhase)
{
    auto timer = sim.create(TickSchedule::interval(500));
    int ticks = 0;
    timer->onTick = [&] { ++ticks; };
    timer->setEnabled(true);
    sim.advance(400);
    timer->setEnabled(true);
    sim.advance(100);
    EXPECT_EQ(ticks, 1);
    timer->setEnabled(false);
    timer->setEnabled(true); // a fresh interval
    sim.advance(499);
    EXPECT_EQ(ticks, 1);
    sim.advance(1);
    EXPECT_EQ(ticks, 2);
}

TEST_F(Ticks, AlignedTimerTicksAtTheBoundaryAndSurvivesEarlyWakes)
{
    clock.setUtcMs(10'250);
    auto timer =
        sim.create(TickSchedule::aligned([](const ClockReading& now) { return (now.utcMs / 1000 + 1) * 1000 + 5; }));
    QList<qint64> at;
    timer->onTick = [&] { at << clock.utcMs(); };
    timer->setEnabled(true);
    sim.advance(3000);
    EXPECT_EQ(at, QList<qint64>({11'005, 12'005, 13'005}));
    // The clock set forward: the pending wake is now late; it ticks, and
    // the tick after it is back on the boundary.
    clock.jump(500);
    sim.advance(1600);
    EXPECT_EQ(at.mid(3), QList<qint64>({14'505, 15'005}));
    // Set back by an hour: the display follows within a second.
    at.clear();
    clock.jump(-3'600'000);
    sim.advance(1000);
    ASSERT_FALSE(at.isEmpty());
}

TEST_F(Ticks, HandlerMayStopOrRestartItsTimer)
{
    auto timer = sim.create(TickSchedule::interval(100));
    int ticks = 0;
    timer->onTick = [&] {
        ++ticks;
        timer->setEnabled(false);
        if (ticks < 3)
            timer->setEnabled(true);
    };
    timer->setEnabled(true);
    sim.advance(1000);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer->isEnabled());
    EXPECT_EQ(sim.armedTimers(), 0);
}

} // namespace
