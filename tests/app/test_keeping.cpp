// SPDX-License-Identifier: GPL-3.0-or-later
// Timers kept between runs: the file they are kept in, what comes back, and
// what a damaged file or a write cut short leaves.
#include "support/harness.h"

#include "app/commandline.h"
#include "app/remotecontrol.h"
#include "engine/timerfile.h"
#include "platform/statefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMenu>
#include <QPushButton>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace quandrel;
using namespace quandrel::test;

namespace {

// A run of the program that keeps its timers in `folder`.
void keepIn(AppHarness& h, const QString& folder)
{
    h.services.stateFile = folder + "/state/timers.json";
    h.services.autostartEntry = folder + "/autostart/io.github.quandrel.Quandrel.desktop";
    h.main->bringBackTimers();
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

} // namespace

TEST(TimerFile, WhatIsReadWritesBackTheSameAndEverythingElseIsRefusedWhole)
{
    int files = 0;
    for (QDirIterator it(QStringLiteral(QUANDREL_FUZZ_DIR "/corpus/state_load"), QDir::Files); it.hasNext(); ++files) {
        const QString path = it.next();
        const TimerFileContents read = readTimerFile(contents(path));
        const bool refused = it.fileName().startsWith("refused");
        EXPECT_EQ(read.error.isEmpty(), !refused) << qPrintable(path) << ": " << qPrintable(read.error);
        if (refused)
            EXPECT_TRUE(read.timers.isEmpty()) << qPrintable(path);
        else
            EXPECT_EQ(writeTimerFile(readTimerFile(writeTimerFile(read.timers)).timers), writeTimerFile(read.timers))
                << qPrintable(path);
    }
    EXPECT_GT(files, 10);
}

TEST(Keeping, KilledWithTimersRunningTheNextRunBringsThemBackAndSaysWhenOneWentOff)
{
    QTemporaryDir folder;
    {
        AppHarness h;
        keepIn(h, folder.path());
        h.chooseDuration(0, 2, 0);
        h.type("alertTextBox", "Tea");
        h.launch();
        h.chooseDuration(0, 0, 25, Restart::Auto, Direction::Up);
        h.launch();
        h.chooseStopwatch();
        h.launch();
        h.click("stopwatchStartButton", 2);
        h.chooseAlarm(QTime(7, 30));
        h.launch();
        h.sim.advance(60'000);
        h.main->board().pauseOrResume(1);
        h.main->keepTimersAsTheyAre(); // killed: nothing more is written
    }
    AppHarness h;
    h.clock.setLocal(QDateTime(QDate(2026, 3, 2), QTime(10, 5, 0)));
    keepIn(h, folder.path());
    EXPECT_EQ(h.main->board().runningCount(), 4);
    EXPECT_EQ(h.text("readingLabel", 3), "7:30:00 AM") << "the alarm's setting";
    h.sim.advance(1010); // the first ticks
    EXPECT_EQ(h.text("titleBox", 0), "Tea");
    EXPECT_TRUE(h.shows(0, "expiredBanner"));
    const QString at = h.services.locale.toString(QTime(10, 2), QLocale::ShortFormat);
    EXPECT_EQ(h.wholeText("launchLine", 0), "Went off at " + at + ", 3 min ago");
    EXPECT_EQ(h.notifier.shown.value(0).body, "Count-down of 0:02:00 done, went off at " + at + ", 3 min ago");
    EXPECT_EQ(h.notifier.shown.value(SlotCount).body, "4 timers of the last run brought back");
    EXPECT_EQ(h.text("readingLabel", 1), "00:00:10") << "paused where it was";
    EXPECT_EQ(h.text("cyclesLabel", 1), "Cycles: 2");
    EXPECT_TRUE(h.shows(1, "pausedLabel"));
    EXPECT_EQ(h.text("progressLine", 1), "Counting 00h 00m 25s");
    EXPECT_EQ(h.text("autoRestartLabel", 1), "Y");
    EXPECT_EQ(h.text("stopwatchStartButton", 2), "Stop");
    EXPECT_EQ(h.text("readingLabel", 2), "00:05:01") << "the stopwatch ran on meanwhile";
    h.main->board().pauseOrResume(1);
    h.sim.advance(1010);
    EXPECT_EQ(h.text("readingLabel", 1), "00:00:11") << "and goes on from there";
}

TEST(Keeping, TimersClosedByTheUserAreNotKeptNorStartedAtLogin)
{
    QTemporaryDir folder;
    AppHarness h;
    keepIn(h, folder.path());
    h.chooseStopwatch();
    h.launch();
    EXPECT_TRUE(contents(h.services.autostartEntry)
                    .contains("\nExec=\"" + QCoreApplication::applicationFilePath().toUtf8() + "\"\n"));
    h.close(0);
    EXPECT_FALSE(QFile::exists(h.services.stateFile));
    EXPECT_FALSE(QFile::exists(h.services.autostartEntry));
    // An entry the user turned off stays as it is.
    StateFile(h.services.autostartEntry).write("[Desktop Entry]\nHidden=true\n");
    h.launch();
    h.main->close();
    EXPECT_FALSE(QFile::exists(h.services.stateFile)) << "closing the main window ends them";
    EXPECT_EQ(contents(h.services.autostartEntry), "[Desktop Entry]\nHidden=true\n");
}

TEST(Keeping, ADamagedFileIsKeptAsideWithOneMessageAndTheStartGoesOn)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("state/timers.json");
    StateFile(path).write("{\"format\": 1, \"timers\": [{\"slot\": 9}]}");
    AppHarness h;
    keepIn(h, folder.path());
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].text.contains(path)) << qPrintable(h.dialogs.messages[0].text);
    EXPECT_TRUE(h.dialogs.messages[0].text.contains("timer 1: \"slot\" is not a whole number from 1 to 6"));
    const QStringList aside = QDir(folder.filePath("state")).entryList({"timers.json.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].text.contains(aside[0]));
    EXPECT_EQ(h.main->board().runningCount(), 0);
    h.chooseStopwatch();
    h.launch();
    EXPECT_EQ(readTimerFile(contents(path)).timers.size(), 1) << "a new file is kept";
}

// A child writes one state and then another, over and over; killed at any
// moment, it leaves one of them whole.
TEST(StateFile, AWriterKilledAtAnyMomentLeavesTheOldFileOrTheNew)
{
    QTemporaryDir folder;
    const StateFile file(folder.filePath("state/timers.json"));
    const QByteArray states[2] = {QByteArray(256 << 10, 'a'), QByteArray(300 << 10, 'b')};
    ASSERT_TRUE(file.write(states[0]));
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = fork();
        for (unsigned i = 1; child == 0; ++i) {
            file.write(states[i % 2]);
            (void)!write(ready[1], "x", i == 1 ? 1 : 0); // the first write is done
        }
        char byte = 0;
        (void)!read(ready[0], &byte, 1);
        // Spread the kills over a write's length: from at once to about two writes.
        for (std::atomic_int spin = 0; spin < round * 20'000; ++spin) {
        }
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const QByteArray left = *file.read().bytes;
        EXPECT_TRUE(left == states[0] || left == states[1]) << "round " << round << ": " << left.size() << " bytes";
    }
}

TEST(Keeping, TheTimersLaunchedLastAreOfferedAgainInOneClickAlsoInTheNextRun)
{
    QTemporaryDir folder;
    {
        AppHarness h;
        keepIn(h, folder.path());
        EXPECT_FALSE(h.find("recentButton")->isEnabled()) << "nothing launched yet";
        h.chooseDuration(0, 4, 0);
        h.type("alertTextBox", "Tea");
        h.launch();
        h.chooseStopwatch();
        h.launch();
    }
    AppHarness h;
    keepIn(h, folder.path());
    QStringList entries;
    for (const QAction* action : h.find<QPushButton>("recentButton")->menu()->actions())
        entries << action->text();
    EXPECT_EQ(entries, QStringList({"&1  Tea — stopwatch", "&2  Tea — count-down 0:04:00"}));
    h.find<QPushButton>("recentButton")->menu()->actions()[1]->trigger();
    EXPECT_EQ(h.timer(0).times().durationSecs, 240);
    RemoteControl remote(*h.main, h.services);
    EXPECT_EQ(remote.Recent().value(0), "1\tTea — count-down 0:04:00") << "launched again: the newest";
    EXPECT_EQ(remote.Again(2), 2);
    EXPECT_EQ(h.timer(1).kind(), TimerKind::Stopwatch);
    remote.Again(9);
    EXPECT_EQ(remote.lastError(), "There is no recent timer 9: there are 2.");
    EXPECT_EQ(parseCommandLine({"quandrel", "--again", "2"}).command.again, 2);
    EXPECT_FALSE(parseCommandLine({"quandrel", "--again", "9"}).error.isEmpty()) << "at most 8 are kept";
}
