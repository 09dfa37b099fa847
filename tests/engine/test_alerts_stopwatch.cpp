#include "engine/alerts.h"
#include "engine/soundcatalog.h"
#include "engine/stopwatch.h"

#include <QList>

#include <gtest/gtest.h>

using namespace quandrel;

namespace {

TEST(ExpiryAlert, FirstTickRaisesSoundAndFocusThenFlashes)
{
    AlertState s;
    ExpiryAlertStep first = expiryAlertTick(s, 1, true, true);
    EXPECT_TRUE(first.restoreFocus);
    EXPECT_TRUE(first.raiseSound);
    EXPECT_EQ(first.colour, TitleColour::Blue);
    ExpiryAlertStep second = expiryAlertTick(s, 1, true, true);
    EXPECT_FALSE(second.restoreFocus);
    EXPECT_FALSE(second.raiseSound) << "one request in the window's life";
    EXPECT_EQ(second.colour, TitleColour::Red);
}

TEST(ExpiryAlert, FocusRulesDifferForSlotZero)
{
    AlertState a, b;
    EXPECT_TRUE(expiryAlertTick(a, 0, false, true).restoreFocus);
    EXPECT_FALSE(expiryAlertTick(b, 3, false, true).restoreFocus);
}

TEST(ExpiryAlert, NoSoundNoRequest)
{
    AlertState s;
    EXPECT_FALSE(expiryAlertTick(s, 0, false, false).raiseSound);
}

TEST(ExpiryAlert, WrapsAndStartsOver)
{
    AlertState s;
    s.ExpiryTicks = AlertTickWrap - 1;
    ExpiryAlertStep step = expiryAlertTick(s, 2, false, true);
    EXPECT_EQ(s.ExpiryTicks, 0);
    EXPECT_EQ(step.colour, TitleColour::Blue); // 2147483645 is odd
    EXPECT_TRUE(expiryAlertTick(s, 2, false, true).raiseSound) << "counts as a first tick again";
}

TEST(RestartAlert, EightTicksCountOneCycle)
{
    AlertState s;
    QList<TitleColour> colours;
    int requests = 0;
    for (int tick = 1; tick <= 8; ++tick) {
        const RestartAlertStep step = restartAlertTick(s, true, true);
        EXPECT_EQ(step.cyclesText, "Cycles: 1");
        requests += step.raiseSound;
        EXPECT_EQ(step.restoreFocus, tick == 1);
        EXPECT_EQ(step.shut, tick == 8);
        EXPECT_EQ(step.restoreFocusAfterShut, tick == 8);
        colours << step.colour;
    }
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(colours.count(TitleColour::Blue), 4);
    EXPECT_EQ(colours.count(TitleColour::Red), 3);
    EXPECT_EQ(colours.last(), TitleColour::Unchanged) << "the shut paints white";
    EXPECT_EQ(s.RestartTicks, 0);
    // The next restart counts cycle 2.
    EXPECT_EQ(restartAlertTick(s, false, true).cyclesText, "Cycles: 2");
}

TEST(RestartAlert, WithoutPopOnTopTheFocusStays)
{
    AlertState s;
    for (int tick = 1; tick <= 8; ++tick) {
        const RestartAlertStep step = restartAlertTick(s, false, false);
        EXPECT_FALSE(step.restoreFocus);
        EXPECT_FALSE(step.restoreFocusAfterShut);
        EXPECT_FALSE(step.raiseSound);
    }
}

TEST(Stopwatch, WrapsAfterTheLastSecondOfTheDay)
{
    StopwatchState sw;
    sw.start(0);
    EXPECT_EQ(sw.tick(86'399'000).value(), "23:59:59");
    EXPECT_FALSE(sw.tick(86'400'000).has_value());
}

TEST(Stopwatch, FollowsTheWallClockBack)
{
    StopwatchState sw;
    sw.start(10'000);
    EXPECT_EQ(sw.tick(5'000).value(), "-00:00:05");
}

TEST(SoundCatalog, ListAndFiles)
{
    const QStringList items = soundListItems();
    ASSERT_EQ(items.size(), SoundListCount);
    EXPECT_EQ(items.first(), "None");
    EXPECT_EQ(items.at(3), "Ding");
    EXPECT_EQ(items.at(FirstDishSound), "Biscuits");
    EXPECT_EQ(items.at(LastDishSound), "Veges");
    EXPECT_EQ(items.last(), "Play File...");
    EXPECT_EQ(extractionOrder().size(), 25);
    for (const QString& name : extractionOrder())
        EXPECT_NE(soundByResource(name), nullptr) << name.toStdString();
    EXPECT_EQ(soundFilePath("/data/sounds", builtinSounds()[1]), "/data/sounds/tmpBlee2.$$$");
}

TEST(FileSelectedName, FirstWavAndNearestSeparator)
{
    EXPECT_EQ(fileSelectedName(QStringLiteral("C:\\My.wav files\\Bell.wav")), "My");
    EXPECT_EQ(fileSelectedName(QStringLiteral("D:\\Sounds\\Gong.WAV")), "Gong");
    EXPECT_EQ(fileSelectedName(QStringLiteral("/home/u/Sounds/Bell.wav")), "Bell");
    EXPECT_EQ(fileSelectedName(QStringLiteral("C:\\Sounds\\Alarm.Wav")), "Alarm");
    EXPECT_EQ(fileSelectedName(QString()), "None");
    EXPECT_EQ(fileSelectedName(QStringLiteral("/music/song.flac")), "song.flac");
    EXPECT_EQ(fileSelectedName(QStringLiteral("bare.wav")), "bare");
}

} // namespace
