// SPDX-License-Identifier: GPL-3.0-or-later
// Sound: the alert player and the test play on the fake device, the
// recordings and hostile files on the real SDL device (dummy driver).
#include "support/harness.h"

#include "engine/soundcatalog.h"
#include "platform/resourcefiles.h"
#include "platform/sdlsounddevice.h"
#include "sound/extraction.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quandrel;
using namespace quandrel::test;

namespace {

QByteArray le(quint32 value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xff);
    return out;
}

QByteArray chunk(const char* id, const QByteArray& body)
{
    return QByteArray(id, 4) + le(quint32(body.size()), 4) + body + (body.size() % 2 ? QByteArray(1, 0) : "");
}

QByteArray wave(int ms, int rate = 11025, int channels = 1, int bits = 8)
{
    const int align = channels * bits / 8;
    const QByteArray format = le(1, 2) + le(quint32(channels), 2) + le(quint32(rate), 4) +
                              le(quint32(rate * align), 4) + le(quint32(align), 2) + le(quint32(bits), 2);
    QByteArray samples(qsizetype(qint64(rate) * ms / 1000 * align), '\0');
    for (qsizetype i = 0; i < samples.size(); ++i)
        samples[i] = char(128 + int(std::sin(i * 0.25) * 30));
    const QByteArray body = "WAVE" + chunk("fmt ", format) + chunk("data", samples);
    return "RIFF" + le(quint32(body.size()), 4) + body;
}

QString write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// Opens and plays path on the real device; the play time in ms it reports
// and whether it ended by itself, or -1 when the file was refused.
int playToEnd(SdlSoundDevice& device, const QString& path, int limitMs = -1)
{
    if (!device.open(path))
        return -1;
    bool ended = false;
    const auto connection = QObject::connect(&device, &SoundDevice::playEnded, [&ended] { ended = true; });
    const int length = device.lengthMs();
    EXPECT_TRUE(device.play(limitMs));
    QElapsedTimer clock;
    clock.start();
    while (!ended && clock.elapsed() < 8000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QObject::disconnect(connection);
    EXPECT_TRUE(ended) << qPrintable(path);
    device.close();
    return length;
}

struct PlayerHarness : AppHarness {
    // A timer of the chosen sound that goes off at once.
    int goOff(int listIndex, bool autostart = false)
    {
        pickSound(listIndex);
        chooseDuration(0, 0, 0, autostart);
        const int slot = launch();
        sim.advance(1600); // the first tick expires, the first flash asks
        return slot;
    }
    QString file(int listIndex) const { return builtinPick(services.soundFolder, listIndex).path; }
};

} // namespace

TEST(AlertPlayer, ThreePlaysCutAtThreeSecondsOrTheDishAnnouncement)
{
    PlayerHarness h;
    h.dialogs.nextPickedFile = "/music/long.wav";
    h.sound.lengthsMs["/music/long.wav"] = 5000;
    h.goOff(SoundListPlayFile);
    for (int i = 0; i < 3; ++i)
        h.sound.finishPlay();
    EXPECT_EQ(h.sound.take(), QStringList({"open /music/long.wav", "play 3000", "close", "open /music/long.wav",
                                           "play 3000", "close", "open /music/long.wav", "play 3000", "close"}));
    h.goOff(7);
    for (int i = 0; i < 7; ++i)
        h.sound.finishPlay();
    const QString ding = h.file(3), biscuits = h.file(7), ready = h.services.soundFolder + "/tmpReady.$$$";
    EXPECT_EQ(h.sound.opened(), QStringList({ding, biscuits, ready, biscuits, ready, biscuits, ready}));
    EXPECT_EQ(h.sound.log.count("play"), 7) << "built-in recordings play whole";
}

TEST(AlertPlayer, OneRequestAtATimeAlertsFirstThenLowerSlots)
{
    PlayerHarness h;
    for (const auto& [sound, restarting] : {std::pair{1, true}, {2, false}, {4, false}}) {
        h.pickSound(sound);
        h.chooseDuration(0, 0, 2, restarting);
        h.launch();
    }
    h.sim.advance(2600); // all three go off together
    EXPECT_EQ(h.sound.opened(), QStringList({h.file(2)}));
    h.sim.advance(5000);
    EXPECT_EQ(h.sound.opened().size(), 1) << "a sequence plays to its end first";
    for (int i = 0; i < 3; ++i)
        h.sound.finishPlay();
    h.sim.advance(50);
    EXPECT_EQ(h.sound.opened().mid(3), QStringList({h.file(4)}));
    for (int i = 0; i < 3; ++i)
        h.sound.finishPlay();
    h.sim.advance(50);
    EXPECT_EQ(h.sound.opened().mid(6), QStringList({h.file(1)})) << "then the cycle";
}

TEST(AlertPlayer, NoneIsSilentAndAClosedTimersRequestIsDropped)
{
    PlayerHarness h;
    h.goOff(SoundListNone);
    h.sim.advance(2000);
    EXPECT_TRUE(h.sound.log.isEmpty());
    h.goOff(1);
    const int waiting = h.goOff(2); // its request waits for the first sequence
    h.close(waiting);
    for (int i = 0; i < 3; ++i)
        h.sound.finishPlay();
    h.sim.advance(1000);
    EXPECT_EQ(h.sound.opened(), QStringList(3, h.file(1)));
}

TEST(AlertPlayer, NoDeviceSaysSoOncePerAlertAndStillTakesTheRequests)
{
    PlayerHarness h;
    h.sound.devices = 0;
    h.dialogs.holdMessages = true;
    h.goOff(1);
    h.goOff(2); // while the first box is still open
    EXPECT_EQ(h.dialogs.count("Your system cannot play WAV files"), 1);
    EXPECT_EQ(h.dialogs.messages.last().title, "Sound Card Check");
    EXPECT_FALSE(h.table.anySoundRequest());
    h.dialogs.pressOk();
    h.sound.devices = 1;
    h.goOff(3);
    EXPECT_EQ(h.sound.opened(), QStringList({h.file(3)}));
}

TEST(AlertPlayer, ClosingARingingTimerSilencesIt)
{
    PlayerHarness h;
    h.close(h.goOff(1));
    EXPECT_EQ(h.sound.take().mid(2), QStringList({"stop", "close"}));
    h.sim.advance(5000);
    EXPECT_TRUE(h.sound.take().isEmpty());
}

TEST(AlertPlayer, AMissingRecordingIsWrittenAgainAndAGoneFileStillSounds)
{
    PlayerHarness h;
    QFile::remove(h.file(1));
    h.close(h.goOff(1));
    EXPECT_EQ(h.sound.opened(), QStringList({h.file(1)}));
    EXPECT_GT(QFileInfo(h.file(1)).size(), 1000);
    h.dialogs.nextPickedFile = "/music/gone.wav";
    h.pickSound(SoundListPlayFile);
    h.chooseDuration(0, 0, 0);
    const int slot = h.launch();
    h.sound.unplayable << "/music/gone.wav"; // deleted after it was picked
    h.sound.take();
    h.sim.advance(1600);
    EXPECT_EQ(h.sound.opened(), QStringList({"/music/gone.wav", h.file(1)}));
    EXPECT_EQ(h.text("WavLabel", slot), "gone\ncould not be played");
}

TEST(TestPlay, PlaysComesBackStopsAndGivesWayToAnAlert)
{
    PlayerHarness h;
    h.click("Command3");
    EXPECT_TRUE(h.sound.log.isEmpty()) << "None plays nothing";
    h.pickSound(5);
    h.click("Command3");
    EXPECT_EQ(h.text("Command3"), "Stop Play");
    EXPECT_EQ(h.sound.take(), QStringList({"open " + h.file(5), "play"}));
    h.sound.finishPlay();
    EXPECT_EQ(h.text("Command3"), "Test Play");
    h.sound.take();
    h.click("Command3");
    h.click("Command3");
    EXPECT_EQ(h.sound.take().mid(2), QStringList({"stop", "close"}));
    EXPECT_EQ(h.text("Command3"), "Test Play");
    h.click("Command3");
    h.goOff(1);
    EXPECT_EQ(h.text("Command3"), "Test Play") << "the alert ended the test play";
    EXPECT_EQ(h.sound.openPath, h.file(1));
    h.click("Command3");
    EXPECT_EQ(h.text("Command3"), "Test Play") << "no test play while an alert sounds";
    for (int i = 0; i < 3; ++i)
        h.sound.finishPlay();
    h.sound.devices = 0;
    h.click("Command3");
    EXPECT_EQ(h.dialogs.count("Your system cannot play WAV files"), 1);
}

TEST(SoundChoice, APickedFilePlaysOrIsRefusedAndCancelKeepsTheChoice)
{
    PlayerHarness h;
    h.pickSound(4);
    h.dialogs.nextPickedFile = "/home/ana/My.wav files/Gong.WAV";
    h.pickSound(SoundListPlayFile);
    h.pickSound(SoundListPlayFile);
    EXPECT_EQ(h.dialogs.fileDialogs, 2);
    EXPECT_EQ(h.text("FilePlayLabel"), "Gong");
    h.chooseDuration(0, 0, 5);
    EXPECT_EQ(h.text("WavLabel", h.launch()), "Gong");
    h.pickSound(4);
    EXPECT_EQ(h.text("FilePlayLabel"), "");
    // A file that cannot be played is refused with a word; cancel changes nothing.
    h.sound.unplayable << "/tmp/notes.wav";
    for (const char* file : {"/tmp/notes.wav", ""}) {
        h.dialogs.nextPickedFile = file;
        h.pickSound(SoundListPlayFile);
        EXPECT_EQ(h.text("Combo1"), "Siren") << file;
    }
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].text.startsWith("The sound file /tmp/notes.wav cannot be played"));
    h.click("Command3");
    EXPECT_EQ(h.sound.opened(), QStringList({h.file(4)}));
}

TEST(Recordings, WrittenOnceNeverRewrittenAndAllPlayable)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("sounds");
    EXPECT_TRUE(extractRecordings(folder).isEmpty());
    // Broken files are written again; a wave of the user's own stays.
    const QByteArray good = QFileInfo(folder + "/tmpBleep.$$$").exists() ? wave(500) : QByteArray();
    write(folder + "/tmpBleep.$$$", "not a sound");
    write(folder + "/tmpDing.$$$", "");
    write(folder + "/tmpCake.$$$", good.left(30));
    write(folder + "/tmpSoup.$$$", good);
    QFile::remove(folder + "/tmpPie.$$$");
    EXPECT_TRUE(extractRecordings(folder).isEmpty());
    for (const char* file : {"/tmpBleep.$$$", "/tmpDing.$$$", "/tmpCake.$$$", "/tmpPie.$$$"})
        EXPECT_GT(QFileInfo(folder + file).size(), 1000) << file;
    EXPECT_EQ(QFileInfo(folder + "/tmpSoup.$$$").size(), good.size());
    QFile::remove(folder + "/tmpSoup.$$$");
    extractRecordings(folder);
    SdlSoundDevice device;
    if (device.deviceCount() == 0)
        GTEST_SKIP() << "no SDL audio device, not even the dummy driver";
    for (const QString& name : extractionOrder()) {
        const QString path = soundFilePath(folder, *soundByResource(name));
        ASSERT_TRUE(device.open(path)) << qPrintable(name);
        EXPECT_GT(device.lengthMs(), 100) << qPrintable(name);
        EXPECT_LT(device.lengthMs(), 3000) << qPrintable(name);
        device.close();
    }
}

TEST(Recordings, AFileSizeLimitNamesTheSoundsThatDidNotFit)
{
    QTemporaryDir dir;
    const pid_t child = fork();
    if (child == 0) {
        const rlimit limit{60 * 1024, 60 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(int(extractRecordings(dir.filePath("sounds")).size()));
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_GT(WEXITSTATUS(status), 0);
    EXPECT_LT(WEXITSTATUS(status), 25);
}

TEST(Recordings, AFolderThatCannotBeMadeIsNamedOnceAndTheProgramRuns)
{
    QTemporaryDir dir;
    write(dir.filePath("blocked"), "a file where the folder should be");
    AppHarness h(QTimeZone::utc(), QLocale::c(), dir.filePath("blocked/sounds"));
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].text.contains("Biscuits, Bleep, Bleep2"));
    h.pickSound(1);
    h.chooseDuration(0, 0, 1);
    const int slot = h.launch();
    h.sim.advance(1010);
    EXPECT_TRUE(h.shows(slot, "Label6"));
}

TEST(SdlDevice, PlaysEndsByItselfCutsAndRefusesHostileFiles)
{
    SdlSoundDevice device;
    if (device.deviceCount() == 0)
        GTEST_SKIP() << "no SDL audio device, not even the dummy driver";
    QTemporaryDir dir;
    EXPECT_NEAR(playToEnd(device, write(dir.filePath("short.wav"), wave(300))), 300, 2);
    EXPECT_NEAR(playToEnd(device, write(dir.filePath("stereo16.wav"), wave(200, 44100, 2, 16))), 200, 2);
    QElapsedTimer cut;
    cut.start();
    EXPECT_NEAR(playToEnd(device, write(dir.filePath("long.wav"), wave(1500)), 300), 1500, 2);
    EXPECT_LT(cut.elapsed(), 1200) << "the cut ends the play";
    // A stop is not an end, and a sound can be played again after it.
    ASSERT_TRUE(device.open(dir.filePath("long.wav")));
    EXPECT_FALSE(device.open(dir.filePath("short.wav"))) << "one sound at a time";
    int ends = 0;
    QObject::connect(&device, &SoundDevice::playEnded, [&ends] { ++ends; });
    device.play();
    device.stop();
    QCoreApplication::processEvents();
    EXPECT_EQ(ends, 0);
    device.close();

    const QByteArray good = wave(100);
    QByteArray hugeData = good;
    hugeData.replace(40, 4, le(0x7ffffff0u, 4));
    QByteArray noChannels = good;
    noChannels.replace(22, 2, le(0, 2));
    mkdir(dir.filePath("folder.wav").toLocal8Bit().constData(), 0700);
    const std::vector<std::pair<const char*, QByteArray>> hostile{
        {"empty.wav", ""},
        {"text.wav", "hello, this is not a sound"},
        {"truncated.wav", good.left(30)},
        {"zero-channels.wav", noChannels},
    };
    for (const auto& [name, bytes] : hostile)
        EXPECT_EQ(playToEnd(device, write(dir.filePath(name), bytes)), -1) << name;
    EXPECT_EQ(playToEnd(device, dir.filePath("folder.wav")), -1);
    EXPECT_FALSE(device.canPlay(dir.filePath("truncated.wav")) || device.canPlay(dir.filePath("text.wav")));
    // A wave of any size plays, read as it plays: 100 MiB of 16-bit stereo.
    QByteArray big = wave(100, 44100, 2, 16);
    big.replace(40, 4, le(100u << 20, 4));
    QFile file(write(dir.filePath("big.wav"), big));
    ASSERT_TRUE(file.resize(44 + (100LL << 20)));
    ASSERT_TRUE(device.canPlay(file.fileName()));
    EXPECT_EQ(playToEnd(device, file.fileName(), 200), (100LL << 20) / 4 * 1000 / 44100);
    EXPECT_NEAR(playToEnd(device, write(dir.filePath("huge.wav"), hugeData)), 100, 2) << "what the file holds";
    EXPECT_EQ(playToEnd(device, dir.filePath("missing.wav")), -1);
    EXPECT_EQ(playToEnd(device, ""), -1);
}

TEST(FuzzInputs, EveryStoredWaveIsRefusedOrPlays)
{
    SdlSoundDevice device;
    if (device.deviceCount() == 0)
        GTEST_SKIP() << "no SDL audio device, not even the dummy driver";
    int files = 0;
    for (QDirIterator it(QStringLiteral(QUANDREL_FUZZ_DIR "/corpus/wave_load"), QDir::Files); it.hasNext(); ++files) {
        const QString path = it.next();
        if (device.open(path)) {
            EXPECT_TRUE(device.play(50)) << qPrintable(path);
            device.close();
        }
    }
    EXPECT_GT(files, 5);
}

TEST(Pictures, LoadThroughATemporaryFileThatIsRemoved)
{
    QTemporaryDir temp;
    const QByteArray previous = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    for (int id : {101, 102, 103})
        EXPECT_FALSE(loadResourcePicture(id, "Custom").isNull()) << id;
    EXPECT_TRUE(loadResourcePicture(999, "Custom").isNull());
    qputenv("TMPDIR", previous);
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
}
