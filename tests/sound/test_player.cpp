#include "support/harness.h"

#include "engine/soundcatalog.h"
#include "sound/soundform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

namespace {

QString openOf(const QString& path)
{
    return QStringLiteral("open ") + path + QStringLiteral(" type waveaudio alias voice1");
}

QString builtin(const AppHarness& h, int listPosition)
{
    return soundFilePath(h.services.soundFolder, builtinSounds()[size_t(listPosition - 1)]);
}

void pickSound(AppHarness& h, int listPosition)
{
    h.m().Combo1->setCurrentIndex(listPosition);
    h.m().Combo1_Click();
}

// Plays every queued sound to its end; returns the files opened, in order.
QStringList playThrough(AppHarness& h)
{
    QStringList opened;
    for (int guard = 0; guard < 100; ++guard) {
        h.sim.advance(60);
        if (!h.audio.playing)
            break;
        opened << h.audio.openPath;
        h.audio.finishPlay();
    }
    return opened;
}

// A count-down of zero seconds with the given sound, left to expire.
AlarmForm* expireWithSound(AppHarness& h, int listPosition)
{
    pickSound(h, listPosition);
    h.chooseCountDown(0, 0, 0);
    AlarmForm* f = h.launch();
    h.sim.advance(1010); // the expiring tick
    h.sim.advance(500);  // the first flash raises the request
    return f;
}

TEST(AlertPlayer, AlertPlaysThreeTimesWithTheExactCommands)
{
    AppHarness h;
    expireWithSound(h, 1);
    h.audio.take();
    h.sim.advance(60);
    const QString bleep = builtin(h, 1);
    const QStringList onePlay{openOf(bleep), "set voice1 time format ms", "status voice1 length", "play voice1",
                              "status voice1 mode"};
    EXPECT_EQ(h.audio.take(), onePlay);
    h.audio.finishPlay();
    EXPECT_EQ(h.audio.take(), QStringList({"status voice1 mode", "close voice1"}) + onePlay);
    h.audio.finishPlay();
    h.audio.take();
    h.audio.finishPlay();
    EXPECT_EQ(h.audio.take(), QStringList({"status voice1 mode", "close voice1"}));
    EXPECT_EQ(h.m().soundForm->WavMode, "stopped");
    h.sim.advance(10'000);
    EXPECT_TRUE(h.audio.take().isEmpty()) << "one request in the window's life";
}

TEST(AlertPlayer, DishSoundsAnnounceThemselves)
{
    AppHarness h;
    expireWithSound(h, 7); // Biscuits
    const QString ding = builtin(h, 3);
    const QString biscuits = builtin(h, 7);
    const QString ready = soundFilePath(h.services.soundFolder, readySound());
    EXPECT_EQ(playThrough(h), QStringList({ding, biscuits, ready, biscuits, ready, biscuits, ready}));
}

TEST(AlertPlayer, OtherPositionsPlayTheSoundThreeTimes)
{
    for (int position : {6, 24}) {
        AppHarness h;
        expireWithSound(h, position);
        const QStringList opened = playThrough(h);
        if (position == 24) {
            EXPECT_EQ(opened.size(), 7) << "Veges is the last dish sound";
        } else {
            EXPECT_EQ(opened, QStringList(3, builtin(h, 6)));
        }
    }
}

TEST(AlertPlayer, LongFilesAreCutAtThreeSeconds)
{
    AppHarness h;
    h.dialogs.nextPickedFile = QStringLiteral("/home/u/Music/Long Song.wav");
    h.audio.lengthsMs[h.dialogs.nextPickedFile] = 5000;
    expireWithSound(h, SoundListPlayFile);
    h.sim.advance(60);
    EXPECT_TRUE(h.audio.log.contains("play voice1 from 0 to 3000"));
    EXPECT_FALSE(h.audio.log.contains("play voice1"));
    EXPECT_EQ(h.audio.playLimitMs, 3000);
}

TEST(AlertPlayer, RequestsAreTakenInScanOrderOneAtATime)
{
    AppHarness h;
    pickSound(h, 2);
    h.chooseStopwatch();
    for (int n = 0; n < 6; ++n)
        h.launch();
    h.form(5)->Text2->setText(QStringLiteral("/s/five.wav"));
    h.form(3)->Text2->setText(QStringLiteral("/s/three.wav"));
    h.form(0)->Text2->setText(QStringLiteral("/s/zero.wav"));
    h.table.raiseCycleSound(0);
    h.table.raiseAlertSound(5);
    h.table.raiseAlertSound(3);
    const QStringList opened = playThrough(h);
    EXPECT_EQ(opened, QStringList({"/s/three.wav", "/s/three.wav", "/s/three.wav", "/s/five.wav", "/s/five.wav",
                                   "/s/five.wav", "/s/zero.wav"}));
}

TEST(AlertPlayer, ARequestRaisedMeanwhileIsTakenSoonAfterTheEnd)
{
    AppHarness h;
    pickSound(h, 2);
    h.chooseStopwatch();
    h.launch();
    h.launch();
    h.table.raiseAlertSound(0);
    h.sim.advance(60);
    ASSERT_TRUE(h.audio.playing);
    h.table.raiseCycleSound(1);
    for (int i = 0; i < 3; ++i) {
        h.audio.finishPlay();
        h.sim.advance(1); // the device is free only between the plays of one request
    }
    EXPECT_FALSE(h.audio.playing);
    h.sim.advance(50);
    EXPECT_TRUE(h.audio.playing) << "taken within 50 ms of the sequence's end";
}

TEST(AlertPlayer, NoPollingWhileNothingWaits)
{
    AppHarness h;
    EXPECT_FALSE(h.m().soundForm->PollTimer->isEnabled());
    expireWithSound(h, 1);
    EXPECT_TRUE(h.audio.playing || h.m().soundForm->PollTimer->isEnabled());
    playThrough(h);
    EXPECT_FALSE(h.m().soundForm->PollTimer->isEnabled());
    EXPECT_FALSE(h.m().soundForm->playWait.waiting());
}

TEST(AlertPlayer, NoneRaisesNoRequest)
{
    AppHarness h;
    expireWithSound(h, 0);
    h.sim.advance(5000);
    EXPECT_FALSE(h.audio.log.join('\n').contains("open"));
}

TEST(AlertPlayer, ClosedWindowsRequestIsDropped)
{
    AppHarness h;
    pickSound(h, 2);
    h.chooseStopwatch();
    h.launch();
    h.table.raiseAlertSound(0);
    h.closeWindow(0);
    h.sim.advance(100);
    EXPECT_FALSE(h.table.AlertSoundRequest[0]);
    EXPECT_FALSE(h.audio.log.join('\n').contains("open"));
}

TEST(AlertPlayer, NoDeviceSaysSoForEveryPlayAndTakesNothingMeanwhile)
{
    AppHarness h;
    h.audio.devices = 0;
    h.dialogs.holdMessages = true;
    pickSound(h, 1);
    h.chooseStopwatch();
    h.launch();
    h.launch();
    h.table.raiseAlertSound(0);
    h.table.raiseCycleSound(1);
    h.sim.advance(60);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].title, "Sound Card Check");
    EXPECT_EQ(h.dialogs.messages[0].text, "Your system cannot play WAV files");
    EXPECT_EQ(h.dialogs.messages[0].icon, MessageIcon::Information);
    h.sim.advance(5000);
    EXPECT_EQ(h.dialogs.messages.size(), 1) << "nothing more while the box is open";
    EXPECT_TRUE(h.table.CycleSoundRequest[1]);
    for (int i = 0; i < 3; ++i)
        h.dialogs.closeHeldMessage();
    EXPECT_EQ(h.dialogs.messages.size(), 3) << "an alert plays three times";
    h.sim.advance(60);
    EXPECT_EQ(h.dialogs.messages.size(), 4) << "then the cycle request";
    EXPECT_TRUE(h.audio.log.filter("open").isEmpty());
}

TEST(AlertPlayer, UnplayableFileEndsAtOnceAndTheTimerStillAlerts)
{
    AppHarness h;
    h.dialogs.nextPickedFile = QStringLiteral("/broken.wav");
    h.audio.unplayable.insert(h.dialogs.nextPickedFile);
    AlarmForm* f = expireWithSound(h, SoundListPlayFile);
    h.sim.advance(100);
    EXPECT_EQ(h.audio.log.filter("open /broken.wav").size(), 3);
    EXPECT_FALSE(h.audio.playing);
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
    EXPECT_TRUE(f->Timer2->isEnabled());
}

TEST(TestPlay, PlaysTheChoiceAndComesBackByItself)
{
    AppHarness h;
    pickSound(h, 4); // Siren
    EXPECT_EQ(h.m().Text11->text(), builtin(h, 4));
    EXPECT_TRUE(h.m().FilePlayLabel->text().isEmpty());
    h.audio.take();
    h.m().Command3->click();
    EXPECT_EQ(h.m().Command3->text(), "Stop Play");
    EXPECT_EQ(h.audio.take(), QStringList({openOf(builtin(h, 4)), "play voice1", "status voice1 mode"}));
    h.audio.finishPlay();
    EXPECT_EQ(h.m().Command3->text(), "Test Play");
    EXPECT_EQ(h.audio.take(), QStringList({"status voice1 mode", "close voice1"}));
}

TEST(TestPlay, StopPlayStopsAndCloses)
{
    AppHarness h;
    pickSound(h, 5);
    h.m().Command3->click();
    h.audio.take();
    h.m().Command3->click();
    EXPECT_EQ(h.audio.take(), QStringList({"stop voice1", "close voice1"}));
    EXPECT_EQ(h.m().Command3->text(), "Test Play");
}

TEST(TestPlay, NoneDoesNothingAndNoDeviceSaysSo)
{
    AppHarness h;
    h.m().Command3->click();
    EXPECT_TRUE(h.audio.log.isEmpty());
    EXPECT_EQ(h.m().Command3->text(), "Test Play");
    pickSound(h, 1);
    h.audio.devices = 0;
    h.m().Command3->click();
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].title, "Sound Card Check");
    EXPECT_EQ(h.m().Command3->text(), "Test Play");
}

TEST(TestPlay, AnAlertWins)
{
    AppHarness h;
    pickSound(h, 2);
    h.chooseStopwatch();
    h.launch();
    pickSound(h, 5);
    h.m().Command3->click();
    ASSERT_EQ(h.m().Command3->text(), "Stop Play");
    h.table.raiseAlertSound(0);
    h.audio.take();
    h.sim.advance(60);
    const QStringList log = h.audio.take();
    ASSERT_GE(log.size(), 3);
    EXPECT_EQ(log.mid(0, 3), QStringList({"stop voice1", "close voice1", openOf(builtin(h, 2))}));
    EXPECT_EQ(h.m().Command3->text(), "Test Play");
    // While the alert sounds, a test play waits its turn.
    h.m().Command3->click();
    EXPECT_EQ(h.m().Command3->text(), "Test Play");
}

TEST(SoundChoice, PlayFileAsksEveryTimeAndShowsTheName)
{
    AppHarness h;
    h.dialogs.nextPickedFile = QStringLiteral("D:\\Sounds\\Gong.WAV");
    h.m().Combo1->setCurrentIndex(SoundListPlayFile);
    h.m().Combo1_Click();
    EXPECT_EQ(h.dialogs.lastFileTitle, "Select a Wave File to Open");
    EXPECT_EQ(h.dialogs.lastFileFilter, "Wave File (*.wav)|*.wav");
    EXPECT_EQ(h.m().Text11->text(), "D:\\Sounds\\Gong.WAV");
    EXPECT_EQ(h.m().FilePlayLabel->text(), "Gong");
    h.dialogs.nextPickedFile.clear(); // picked again, then cancelled
    emit h.m().Combo1->activated(SoundListPlayFile);
    EXPECT_EQ(h.dialogs.fileDialogs, 2);
    EXPECT_EQ(h.m().Text11->text(), "");
    EXPECT_EQ(h.m().FilePlayLabel->text(), "None");
    h.chooseStopwatch();
    AlarmForm* f = h.launch();
    EXPECT_EQ(f->WavLabel->text(), "N/A");
    h.chooseCountDown(0, 0, 5);
    f = h.launch();
    EXPECT_EQ(f->WavLabel->text(), "None");
    EXPECT_EQ(f->Text2->text(), "");
    EXPECT_EQ(f->Text3->text(), "25");
}

TEST(Exit, ClosingTheMainWindowStopsTheSoundThenClosesEverything)
{
    AppHarness h;
    expireWithSound(h, 1);
    h.chooseStopwatch();
    h.launch();
    h.m().Command4->click(); // hide them; they still close
    h.sim.advance(60);
    ASSERT_TRUE(h.audio.playing);
    h.audio.take();
    h.m().close();
    const QStringList log = h.audio.take();
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log.mid(0, 2), QStringList({"stop voice1", "close voice1"}));
    EXPECT_EQ(h.table.RunningCount, 0);
    EXPECT_EQ(h.table.SlotInUse[0] + h.table.SlotInUse[1], 0);
}

} // namespace
