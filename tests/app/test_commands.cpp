// SPDX-License-Identifier: GPL-3.0-or-later
// The command line and the remote interface it talks to.
#include "support/harness.h"

#include "app/commandline.h"
#include "app/remotecontrol.h"

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

TEST(CommandLine, ReadsWhatItCanAndNamesWhatItCannot)
{
    const auto parse = [](QStringList args) { return parseCommandLine(QStringList{"quandrel"} + args); };
    const Command tea = parse({"--count-down", "25:00", "--title", "Tea", "--sound", "Bleep", "--list"}).command;
    EXPECT_EQ(tea.launch,
              QVariantMap({{"kind", "count-down"}, {"duration", 1500}, {"title", "Tea"}, {"sound", "Bleep"}}));
    EXPECT_TRUE(tea.list && !tea.hideAll);
    const std::vector<std::pair<QStringList, QVariant>> good{{{"--count-up", "1h30m", "--auto-restart"}, 5400},
                                                             {{"--count-down", "90s"}, 90},
                                                             {{"--count-down", "1:02:03"}, 3723},
                                                             {{"--count-down", "23:59:59"}, 86399},
                                                             {{"--alarm", "07:30"}, QVariant()},
                                                             {{"--stopwatch", "--pop-on-top"}, QVariant()}};
    for (const auto& [args, secs] : good) {
        const ParsedCommandLine p = parse(args);
        EXPECT_TRUE(p.error.isEmpty()) << args.join(' ').toStdString() << ": " << p.error.toStdString();
        EXPECT_EQ(p.command.launch.value("duration"), secs) << args.join(' ').toStdString();
    }
    EXPECT_EQ(parse({"--alarm", "19:05:30"}).command.launch.value("alarm"), 19 * 3600 + 5 * 60 + 30);
    const std::vector<std::pair<QStringList, const char*>> bad{
        {{"--count-down", "banana"}, "banana"},
        {{"--count-down", "24:00:00"}, "24:00:00"},
        {{"--count-up", "5m5h"}, "5m5h"},
        {{"--alarm", "25:00"}, "25:00"},
        {{"--title", "Tea"}, "--title"},
        {{"--stopwatch", "--count-down", "5m"}, "--stopwatch"},
        {{"--alarm", "07:00", "--auto-restart"}, "--auto-restart"},
        {{"--bogus"}, "bogus"},
        {{"stray"}, "stray"}};
    for (const auto& [args, named] : bad)
        EXPECT_TRUE(parse(args).error.contains(named)) << args.join(' ').toStdString();
    EXPECT_TRUE(parse({"--help"}).output.contains("--count-down <duration>"));
}

TEST(RemoteControl, StartsListsAndCommandsTimersAsTheMainWindowDoes)
{
    AppHarness h;
    RemoteControl remote(*h.main, h.services);
    const RemoteCall call = remote.localCall();
    const auto launch = [&](QVariantMap choices) { return call("Launch", {choices}); };
    EXPECT_EQ(launch({{"kind", "count-down"}, {"duration", 2}, {"title", "Tea"}, {"sound", "biscuits"}}).value, 1);
    EXPECT_EQ(h.text("WavLabel", 0), "Biscuits");
    EXPECT_EQ(h.text("Text8") + h.text("Combo1"), "None") << "the main window's choices stay";
    EXPECT_EQ(launch({{"kind", "alarm"}, {"alarm", 23 * 3600}}).value, 2);
    EXPECT_EQ(h.text("Label2", 1), "11:00:00 PM");
    h.sound.unplayable << "/no/such.wav";
    EXPECT_TRUE(launch({{"kind", "stopwatch"}, {"sound", "/no/such.wav"}}).badArgument);
    EXPECT_TRUE(launch({{"kind", "egg timer"}}).badArgument);
    h.sim.advance(1010);
    EXPECT_EQ(call("List", {}).value.toStringList(),
              QStringList({"1\tTea\tcount-down\t00:00:01", "2\tTimer 2\talarm\t1 elapsed of 46800 sec"}));
    remote.Pause(1);
    EXPECT_TRUE(call("List", {}).value.toStringList().first().endsWith("(paused)"));
    remote.Pause(1);
    EXPECT_EQ(remote.lastError(), "Timer 1 cannot be paused now.");
    remote.Resume(1);
    remote.AddTime(2, 60);
    EXPECT_TRUE(call("List", {}).value.toStringList().last().endsWith("of 46860 sec"));
    remote.Restart(2);
    EXPECT_EQ(remote.lastError(), "Timer 2 cannot be restarted.");
    remote.Close(5);
    EXPECT_EQ(remote.lastError(), "There is no timer 5.");
    EXPECT_EQ(runCommand(Command{{}, true, false, false, false}, call), 0);
    EXPECT_EQ(h.text("Command4"), "Show All");
    for (int n = 0; n < 4; ++n)
        launch({{"kind", "stopwatch"}});
    Command seventh;
    seventh.launch = {{"kind", "count-up"}, {"duration", 60}};
    EXPECT_EQ(runCommand(seventh, call), 1) << "all timers are in use";
    seventh.launch = {{"kind", "count-up"}, {"duration", -5}};
    EXPECT_EQ(runCommand(seventh, call), 2);
    remote.CloseAll();
    EXPECT_TRUE(call("List", {}).value.toStringList().isEmpty());
}
