#include "platform/audiocommands.h"

#include "support/fake_audio_backend.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

namespace quandrel {
namespace {

using test::FakeAudioBackend;

class MciCommandsTest : public ::testing::Test {
protected:
    // Sends a command that must succeed and returns its answer.
    QString ok(const QString& command)
    {
        int error = -1;
        const QString answer = mci.mciSendString(command, &error);
        EXPECT_EQ(error, 0) << qPrintable(command);
        return answer;
    }

    // Sends a command that must fail: non-zero code and no answer.
    void fails(const QString& command)
    {
        int error = 0;
        const QString answer = mci.mciSendString(command, &error);
        EXPECT_NE(error, 0) << qPrintable(command);
        EXPECT_EQ(answer, QString()) << qPrintable(command);
    }

    void openVoice() { ok(QStringLiteral("open /sounds/bell.wav type waveaudio alias voice1")); }

    FakeAudioBackend backend;
    MciCommandLayer mci{backend};
};

TEST_F(MciCommandsTest, OpenTakesThePathBeforeTheLastTypeClause)
{
    struct Case {
        QString command;
        QString path;
    };
    const Case cases[] = {
        {"open /s/bell.wav type waveaudio alias voice1", "/s/bell.wav"},
        {"open /home/anna/My Sounds/two  blanks.wav type waveaudio alias voice1",
         "/home/anna/My Sounds/two  blanks.wav"},
        {QStringLiteral("open /tmp/Glöckchen ümlaut 鐘.wav type waveaudio alias voice1"),
         QStringLiteral("/tmp/Glöckchen ümlaut 鐘.wav")},
        {"open /a type waveaudio alias b/c.wav type waveaudio alias voice1", "/a type waveaudio alias b/c.wav"},
        {"open /x/y type waveaudio alias voice1 type waveaudio alias voice1", "/x/y type waveaudio alias voice1"},
        {"open \"/My Sounds/bell.wav\" type waveaudio alias voice1", "/My Sounds/bell.wav"},
        {"OPEN /s/Case.WAV TYPE WaveAudio Alias voice1", "/s/Case.WAV"},
        {"  open\t/s/tab.wav   type  waveaudio\talias   voice1  ", "/s/tab.wav"},
    };
    for (const Case& c : cases) {
        FakeAudioBackend fresh;
        MciCommandLayer layer(fresh);
        int error = -1;
        EXPECT_EQ(layer.mciSendString(c.command, &error), QString());
        EXPECT_EQ(error, 0) << qPrintable(c.command);
        EXPECT_EQ(fresh.loadedPaths, QStringList{c.path}) << qPrintable(c.command);
        EXPECT_EQ(layer.mciSendString("status voice1 mode"), "stopped") << qPrintable(c.command);
    }
}

TEST_F(MciCommandsTest, AnswersDescribeTheOpenSound)
{
    fails("status voice1 length");
    fails("status voice1 mode");
    fails("set voice1 time format ms");

    openVoice();
    ok("set voice1 time format ms");
    EXPECT_EQ(ok("status voice1 length"), "598");
    EXPECT_EQ(ok("status voice1 mode"), "stopped");
    backend.playing = true;
    EXPECT_EQ(ok("status voice1 mode"), "playing");
    EXPECT_EQ(ok("STATUS Voice1 MODE"), "playing");
    backend.playing = false;
    EXPECT_EQ(ok("status voice1 mode"), "stopped");

    ok("close voice1");
    fails("status voice1 length");
    fails("status voice1 mode");
}

TEST_F(MciCommandsTest, OpenWhileOpenFailsWithoutEffect)
{
    openVoice();
    ok("play voice1");
    fails("open /sounds/other.wav type waveaudio alias voice1");
    fails("open /sounds/other.wav type waveaudio alias voice2");

    EXPECT_EQ(backend.loadedPaths, QStringList{"/sounds/bell.wav"});
    EXPECT_EQ(backend.stopCount, 0);
    EXPECT_EQ(backend.unloadCount, 0);
    EXPECT_EQ(ok("status voice1 mode"), "playing");
    fails("status voice2 mode");
}

TEST_F(MciCommandsTest, FailedLoadLeavesNothingOpen)
{
    backend.loadSucceeds = false;
    fails("open /sounds/broken.wav type waveaudio alias voice1");
    fails("status voice1 mode");
    fails("play voice1");
    EXPECT_TRUE(backend.playLimits.empty());

    backend.loadSucceeds = true;
    openVoice();
    EXPECT_EQ(ok("status voice1 length"), "598");
}

TEST_F(MciCommandsTest, CommandsOnAnAliasThatIsNotOpenHaveNoEffect)
{
    const QString commands[] = {
        "set voice1 time format ms",  "status voice1 length", "status voice1 mode", "play voice1",
        "play voice1 from 0 to 3000", "stop voice1",          "close voice1"};
    for (const QString& command : commands)
        fails(command);

    openVoice();
    for (QString command : commands)
        fails(command.replace("voice1", "voice2"));
    fails("close");
    fails("stop");

    EXPECT_TRUE(backend.playLimits.empty());
    EXPECT_EQ(backend.stopCount, 0);
    EXPECT_EQ(backend.unloadCount, 0);
    EXPECT_EQ(ok("status voice1 mode"), "stopped");
}

TEST_F(MciCommandsTest, PlayPassesTheCutToTheBackend)
{
    openVoice();
    ok("play voice1");
    ok("play voice1 from 0 to 3000");
    ok("PLAY VOICE1 FROM 0 TO 598");
    ok("play voice1 to 250");
    ok("play voice1 from 0");
    ok("play voice1 from 0 to 0");
    EXPECT_EQ(backend.playLimits, (std::vector<int>{-1, 3000, 598, 250, -1, 0}));

    backend.playLimits.clear();
    fails("play voice1 from 500 to 3000");
    fails("play voice1 from 3000 to 0");
    fails("play voice1 from 0 to");
    fails("play voice1 from");
    fails("play voice1 from 0 to -5");
    fails("play voice1 from 0 to 3e3");
    fails("play voice1 from 0 to 99999999999");
    fails("play voice1 from 0 until 3000");
    fails("play voice1 wait");
    EXPECT_TRUE(backend.playLimits.empty());

    backend.playSucceeds = false;
    fails("play voice1");
}

TEST_F(MciCommandsTest, OnlyAPlayThatEndsByItselfIsReported)
{
    QSignalSpy ended(&mci, &AudioCommands::playEnded);
    openVoice();

    ok("play voice1");
    backend.finish();
    EXPECT_EQ(ended.count(), 1);
    backend.finish(); // a second report of the same end
    EXPECT_EQ(ended.count(), 1);

    ok("play voice1 from 0 to 3000");
    ok("stop voice1");
    EXPECT_EQ(backend.stopCount, 1);
    EXPECT_FALSE(backend.playing);
    backend.finish(); // late report after the stop
    EXPECT_EQ(ended.count(), 1);

    ok("play voice1");
    ok("close voice1");
    backend.finish();
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(MciCommandsTest, CloseStopsAndUnloadsAndFreesTheAlias)
{
    openVoice();
    ok("play voice1");
    ok("close voice1");
    EXPECT_EQ(backend.stopCount, 1);
    EXPECT_EQ(backend.unloadCount, 1);
    EXPECT_FALSE(backend.loaded);
    fails("close voice1");

    ok("open /sounds/other.wav type waveaudio alias voice1");
    EXPECT_EQ(backend.loadedPaths, (QStringList{"/sounds/bell.wav", "/sounds/other.wav"}));
}

TEST_F(MciCommandsTest, DestroyingTheLayerReleasesTheSound)
{
    FakeAudioBackend own;
    auto layer = std::make_unique<MciCommandLayer>(own);
    layer->mciSendString("open /s/a.wav type waveaudio alias voice1");
    layer->mciSendString("play voice1");
    layer.reset();
    EXPECT_EQ(own.unloadCount, 1);
    EXPECT_FALSE(own.playing);
    EXPECT_FALSE(own.onFinished);
}

TEST_F(MciCommandsTest, DeviceCountComesFromTheBackend)
{
    backend.devices = 0;
    EXPECT_EQ(mci.waveOutGetNumDevs(), 0);
    backend.devices = 2;
    EXPECT_EQ(mci.waveOutGetNumDevs(), 2);
}

TEST_F(MciCommandsTest, OddInputFailsWithoutEffect)
{
    const QString huge(1 << 20, QChar(u'x'));
    const QString odd[] = {
        "",
        " ",
        "\t\n",
        QString(QChar(0)),
        QString::fromUtf8("play\0voice1", 11),
        "open",
        "open ",
        "open type waveaudio alias voice1",
        "open  type waveaudio alias voice1",
        "open \"\" type waveaudio alias voice1",
        "open /s/a.wav type waveaudio alias",
        "open /s/a.wav type waveaudio alias ",
        "open /s/a.wav type waveaudio voice1",
        "open /s/a.wav alias voice1",
        "open /s/a.wav type waveaudio alias voice1 notify",
        "open /s/a.wavtype waveaudio alias voice1",
        "opened /s/a.wav type waveaudio alias voice1",
        "status",
        "status voice1",
        "play",
        "close all",
        "seek voice1 to start",
        "voice1",
        "\"open\" /s/a.wav type waveaudio alias voice1",
        QStringLiteral("ö ü 鐘"),
        QString(QChar(0xD800)) + "open",
        huge,
        "status " + huge + " mode",
        "open " + huge,
    };
    for (const QString& command : odd) {
        fails(command);
        mci.mciSendString(command); // without an error pointer
    }
    EXPECT_TRUE(backend.loadedPaths.isEmpty());
    EXPECT_TRUE(backend.playLimits.empty());

    // With a sound open, malformed commands leave it alone.
    openVoice();
    const QString malformed[] = {
        "status voice1",
        "status voice1 length mode",
        "status voice1 position",
        "set voice1 time format frames",
        "set voice1 time",
        "stop voice1 now",
        "close voice1 voice1",
        "play voice1 from 0 to " + huge,
        QString::fromUtf8("close voice1\0", 13),
    };
    for (const QString& command : malformed)
        fails(command);
    EXPECT_EQ(backend.stopCount, 0);
    EXPECT_EQ(backend.unloadCount, 0);
    EXPECT_EQ(ok("status voice1 length"), "598");

    // A huge path is just a path.
    ok("close voice1");
    ok("open " + huge + " type waveaudio alias voice1");
    EXPECT_EQ(backend.loadedPaths.last(), huge);
}

} // namespace
} // namespace quandrel
