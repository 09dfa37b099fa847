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
#include <sys/stat.h>

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

TEST(AlertPlayer, NoDeviceSaysSoForEveryPlayAndLosesNothing)
{
    PlayerHarness h;
    h.sound.devices = 0;
    h.dialogs.holdMessages = true;
    h.goOff(1);
    h.sim.advance(5000);
    EXPECT_EQ(h.dialogs.count("Your system cannot play WAV files"), 1) << "one box at a time";
    h.dialogs.pressOk();
    h.dialogs.pressOk();
    h.dialogs.pressOk();
    EXPECT_EQ(h.dialogs.count("Your system cannot play WAV files"), 3);
    EXPECT_EQ(h.dialogs.messages.last().title, "Sound Card Check");
    h.sound.devices = 1;
    h.goOff(2);
    EXPECT_EQ(h.sound.opened(), QStringList({h.file(2)}));
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

TEST(SoundChoice, PlayFileAsksEveryTimeAndShowsTheName)
{
    PlayerHarness h;
    h.dialogs.nextPickedFile = "/home/ana/Sounds/Gong.WAV";
    h.pickSound(SoundListPlayFile);
    h.pickSound(SoundListPlayFile);
    EXPECT_EQ(h.dialogs.fileDialogs, 2);
    EXPECT_EQ(h.text("FilePlayLabel"), "Gong");
    h.chooseDuration(0, 0, 5);
    EXPECT_EQ(h.text("WavLabel", h.launch()), "Gong");
    h.pickSound(4);
    EXPECT_EQ(h.text("FilePlayLabel"), "");
}

TEST(Recordings, WrittenOnceNeverRewrittenAndAllPlayable)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("sounds");
    EXPECT_TRUE(extractRecordings(folder).isEmpty());
    QFile bleep(folder + "/tmpBleep.$$$");
    ASSERT_TRUE(bleep.open(QIODevice::WriteOnly));
    bleep.write("mine");
    bleep.close();
    QFile::remove(folder + "/tmpSoup.$$$");
    EXPECT_TRUE(extractRecordings(folder).isEmpty());
    EXPECT_EQ(QFileInfo(folder + "/tmpBleep.$$$").size(), 4) << "an existing file is never rewritten";
    EXPECT_TRUE(QFileInfo::exists(folder + "/tmpSoup.$$$"));
    QFile::remove(folder + "/tmpBleep.$$$");
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
        {"empty.wav", ""},      {"text.wav", "hello, this is not a sound"}, {"truncated.wav", good.left(30)},
        {"huge.wav", hugeData}, {"zero-channels.wav", noChannels},
    };
    for (const auto& [name, bytes] : hostile)
        EXPECT_EQ(playToEnd(device, write(dir.filePath(name), bytes)), -1) << name;
    EXPECT_EQ(playToEnd(device, dir.filePath("folder.wav")), -1);
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
