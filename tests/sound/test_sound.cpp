// SPDX-License-Identifier: GPL-3.0-or-later
// Sound: the alert player and the test play on the fake device, the
// recordings and hostile files on the real SDL device (dummy driver).
#include "support/harness.h"

#include "engine/soundcatalog.h"
#include "platform/sdlsounddevice.h"
#include "sound/extraction.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace quandrel;
using namespace quandrel::test;

namespace {

// A quiet tone; its channels (at 22) and data size (at 40) can be spoiled.
QByteArray wave(int ms, int rate = 11025, int channels = 1, int bits = 8)
{
    const quint32 align = channels * bits / 8, bytes = quint32(rate) * ms / 1000 * align;
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.setByteOrder(QDataStream::LittleEndian);
    s.writeRawData("RIFF", 4);
    s << quint32(36 + bytes);
    s.writeRawData("WAVEfmt ", 8);
    s << quint32(16) << quint16(1) << quint16(channels) << quint32(rate) << quint32(rate * align) << quint16(align)
      << quint16(bits);
    s.writeRawData("data", 4);
    s << bytes;
    for (quint32 i = 0; i < bytes; ++i)
        s << quint8(128 + std::sin(i * 0.25) * 30);
    return out;
}

QByteArray spoiled(QByteArray bytes, int at, quint32 value, int size)
{
    return bytes.replace(at, size, QByteArray(reinterpret_cast<const char*>(&value), size)); // little-endian host
}

QString write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// Plays path to its end on the real device: its length in ms, or -1 if refused.
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

// A wave that holds one frame for ms.
QByteArray held(int ms, int rate, int channels, int bits, const QByteArray& frame)
{
    return wave(ms, rate, channels, bits).left(44) + frame.repeated(rate * ms / 1000);
}

// What a play of path leaves in SDL's disk driver's file: the device's
// stereo floats from the first sound to the last, the silence around dropped.
std::vector<float> recorded(const QString& path, int limitMs = -1)
{
    const QString out = path + ".raw";
    setenv("SDL_DISKAUDIOFILE", QFile::encodeName(out).constData(), 1);
    {
        SdlSoundDevice device; // starts SDL's audio afresh, on the driver set
        playToEnd(device, path, limitMs);
    }
    QFile file(out);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    std::vector<float> samples(size_t(bytes.size()) / 4);
    if (!samples.empty())
        std::memcpy(samples.data(), bytes.constData(), samples.size() * 4);
    size_t first = 0, end = samples.size();
    while (first < end && samples[first] == 0)
        ++first;
    while (end > first && samples[end - 1] == 0)
        --end;
    return {samples.begin() + first / 2 * 2, samples.begin() + (end + 1) / 2 * 2};
}

struct PlayerHarness : AppHarness {
    // A timer of the chosen sound that goes off at once.
    int goOff(int listIndex)
    {
        pickSound(listIndex);
        chooseDuration(0, 0, 1);
        const int slot = launch();
        sim.advance(1600); // the first tick expires, the first flash asks
        return slot;
    }
    QString file(int listIndex) const { return builtinPick(services.soundFolder, listIndex).path; }
    void finish(int plays) // each followed by the silence before the next
    {
        for (int i = 0; i < plays; ++i) {
            sound.finishPlay();
            sim.advance(400);
        }
    }
};

} // namespace

TEST(AlertPlayer, ThreePlaysCutAtThreeSecondsOrTheDishAnnouncement)
{
    PlayerHarness h;
    h.dialogs.nextPickedFile = "/music/long.wav";
    h.sound.lengthsMs["/music/long.wav"] = 5000;
    h.goOff(SoundListPlayFile);
    h.sound.finishPlay();
    h.sim.advance(350);
    EXPECT_EQ(h.sound.opened().size(), 1) << "the plays are heard apart";
    h.sim.advance(50);
    h.finish(2);
    EXPECT_EQ(h.sound.take(), QStringList({"open /music/long.wav", "play 3000", "close", "open /music/long.wav",
                                           "play 3000", "close", "open /music/long.wav", "play 3000", "close"}));
    h.goOff(7);
    h.finish(7);
    const QString ding = h.file(3), biscuits = h.file(7), ready = h.services.soundFolder + "/tmpReady.$$$";
    EXPECT_EQ(h.sound.opened(), QStringList({ding, biscuits, ready, biscuits, ready, biscuits, ready}));
    EXPECT_EQ(h.sound.log.count("play"), 7) << "built-in recordings play whole";
}

TEST(AlertPlayer, OneRequestAtATimeAlertsFirstThenLowerSlots)
{
    PlayerHarness h;
    for (const auto& [sound, restart] : {std::pair{1, Restart::Auto}, {2, Restart::Off}, {4, Restart::Off}}) {
        h.pickSound(sound);
        h.chooseDuration(0, 0, 2, restart);
        h.launch();
    }
    h.sim.advance(2600); // all three go off together
    EXPECT_EQ(h.sound.opened(), QStringList({h.file(2)}));
    h.sim.advance(5000);
    EXPECT_EQ(h.sound.opened().size(), 1) << "one sequence at a time, to its end";
    h.finish(3);
    h.sim.advance(50);
    EXPECT_EQ(h.sound.opened().mid(3), QStringList({h.file(4)}));
    h.finish(3);
    h.sim.advance(50);
    EXPECT_EQ(h.sound.opened().mid(6), QStringList({h.file(1)})) << "then the cycle";
    h.sound.finishPlay();
    h.sim.advance(50);
    EXPECT_EQ(h.sound.opened().size(), 7) << "heard once";
}

TEST(AlertPlayer, ABrokenRecordingIsWrittenAgainOrFallsBackAsAGoneFileDoes)
{
    PlayerHarness h;
    QDir(QFileInfo(h.file(1)).path()).removeRecursively(); // the whole sound folder, even
    h.close(h.goOff(1));
    EXPECT_EQ(h.sound.take().first(), "open " + h.file(1));
    EXPECT_GT(QFileInfo(h.file(1)).size(), 1000);
    write(h.file(4), "junk\n"); // spoiled while the program runs, then played as a test
    h.pickSound(4);
    h.click("testPlayButton");
    h.click("testPlayButton");
    EXPECT_GT(QFileInfo(h.file(4)).size(), 1000);
    h.sound.unplayable << h.file(6); // and one that cannot be made playable
    h.sound.take();
    write(h.file(1), "junk\n"); // its fallback spoiled too
    const int whoop = h.goOff(6);
    EXPECT_EQ(h.text("soundNameLabel", whoop), "Whoop\ncould not be played");
    EXPECT_EQ(h.sound.opened(), QStringList({h.file(6), h.file(1)}));
    EXPECT_GT(QFileInfo(h.file(1)).size(), 1000) << "the fallback is written again before it plays";
    h.close(whoop);
    h.dialogs.nextPickedFile = "/music/gone.wav";
    h.pickSound(SoundListPlayFile);
    h.chooseDuration(0, 0, 1);
    const int slot = h.launch();
    h.sound.unplayable << "/music/gone.wav"; // deleted after it was picked
    h.sound.take();
    write(h.file(1), wave(500)); // a Bleep of the user's own stays
    h.sim.advance(1600);
    EXPECT_EQ(h.sound.opened(), QStringList({"/music/gone.wav", h.file(1)}));
    EXPECT_EQ(QFileInfo(h.file(1)).size(), wave(500).size());
    EXPECT_EQ(h.text("soundNameLabel", slot), "gone\ncould not be played");
}

TEST(TestPlay, PlaysComesBackStopsAndGivesWayToAnAlert)
{
    PlayerHarness h;
    h.click("testPlayButton");
    EXPECT_TRUE(h.sound.log.isEmpty()) << "None plays nothing";
    h.pickSound(5);
    h.click("testPlayButton");
    EXPECT_EQ(h.text("testPlayButton"), "Stop Play");
    h.sound.finishPlay();
    EXPECT_EQ(h.text("testPlayButton"), "Test Play") << "back by itself at the end";
    h.click("testPlayButton");
    h.click("testPlayButton");
    EXPECT_EQ(h.sound.take(),
              QStringList({"open " + h.file(5), "play", "close", "open " + h.file(5), "play", "stop", "close"}));
    h.click("testPlayButton");
    h.goOff(1);
    EXPECT_EQ(h.text("testPlayButton"), "Test Play") << "the alert ended the test play";
    EXPECT_EQ(h.sound.openPath, h.file(1));
    h.click("testPlayButton");
    EXPECT_EQ(h.text("testPlayButton"), "Test Play") << "no test play while an alert sounds";
    h.finish(3);
    h.sound.devices = 0;
    h.click("testPlayButton");
    EXPECT_EQ(h.dialogs.count("Your system cannot play WAV files"), 1);
}

TEST(SoundChoice, APickedFilePlaysOrIsRefusedAndCancelKeepsTheChoice)
{
    EXPECT_EQ(toQtFileFilter("Wave Files|*.wav;*.wave|All Files|*.*"), "Wave Files (*.wav *.wave);;All Files (*.*)");
    PlayerHarness h;
    h.pickSound(4);
    h.dialogs.nextPickedFile = "/home/ana/My.wav files/Gong.WAV";
    h.pickSound(SoundListPlayFile);
    h.pickSound(SoundListPlayFile);
    EXPECT_EQ(h.dialogs.fileDialogs, 2);
    EXPECT_EQ(h.text("pickedFileLabel"), "Gong");
    h.chooseDuration(0, 0, 5);
    EXPECT_EQ(h.text("soundNameLabel", h.launch()), "Gong");
    h.pickSound(4);
    // A file that cannot be played is refused with a word; cancel changes nothing.
    h.sound.unplayable << "/tmp/notes.wav";
    for (const char* file : {"/tmp/notes.wav", ""}) {
        h.dialogs.nextPickedFile = file;
        h.pickSound(SoundListPlayFile);
        EXPECT_EQ(h.text("soundList"), "Siren") << file;
    }
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].text.startsWith("The sound file /tmp/notes.wav cannot be played"));
    h.click("testPlayButton");
    EXPECT_EQ(h.sound.opened(), QStringList({h.file(4)}));
}

TEST(Recordings, WrittenOnceNeverRewrittenAndAllPlayable)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("sounds");
    // Links are replaced by the recordings, not followed; a link to a wave stays.
    QDir().mkpath(folder);
    const QString outside = write(dir.filePath("notes.txt"), "kept");
    QFile::link(outside, folder + "/tmpFish.$$$");
    QFile::link(dir.filePath("nowhere"), folder + "/tmpMilk.$$$");
    QFile::link(write(dir.filePath("mine.wav"), wave(500)), folder + "/tmpRice.$$$");
    EXPECT_TRUE(extractRecordings(folder).isEmpty());
    // Broken files are written again; a wave of the user's own stays.
    const QByteArray good = QFileInfo(folder + "/tmpBleep.$$$").exists() ? wave(500) : QByteArray();
    for (const auto& [file, bytes] : {std::pair{"/tmpBleep.$$$", QByteArray("not a sound")},
                                      {"/tmpDing.$$$", {}},
                                      {"/tmpCake.$$$", good.left(30)},
                                      {"/tmpEggs.$$$", good.left(100)},
                                      {"/tmpSoup.$$$", good}})
        write(folder + file, bytes);
    QFile::remove(folder + "/tmpPie.$$$");
    EXPECT_TRUE(extractRecordings(folder).isEmpty());
    for (const char* file : {"/tmpBleep.$$$", "/tmpDing.$$$", "/tmpCake.$$$", "/tmpEggs.$$$", "/tmpPie.$$$",
                             "/tmpFish.$$$", "/tmpMilk.$$$"})
        EXPECT_GT(QFileInfo(folder + file).size(), 1000) << file;
    EXPECT_EQ(QFileInfo(outside).size(), 4);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("nowhere")));
    EXPECT_TRUE(QFileInfo(folder + "/tmpRice.$$$").isSymLink());
    EXPECT_EQ(QFileInfo(folder + "/tmpSoup.$$$").size(), good.size());
}

TEST(SdlDevice, PlaysEndsByItselfCutsAndRefusesHostileFiles)
{
    SdlSoundDevice device;
    if (device.deviceCount() == 0)
        GTEST_SKIP() << "no SDL audio device, not even the dummy driver";
    QTemporaryDir dir;
    EXPECT_NEAR(playToEnd(device, write(dir.filePath("short.wav"), wave(300))), 300, 2);
    EXPECT_NEAR(playToEnd(device, write(dir.filePath("stereo16.wav"), wave(200, 44100, 2, 16))), 200, 2);
    ASSERT_TRUE(device.open(write(dir.filePath("long.wav"), wave(1500))));
    EXPECT_FALSE(device.open(dir.filePath("short.wav"))) << "one sound at a time";
    EXPECT_TRUE(device.play());
    device.close();
    EXPECT_FALSE(device.isPlaying()) << "closing ends the sound";
    const QByteArray good = wave(100);
    // A wave of any size plays, read as it plays: 100 MiB of 16-bit stereo.
    QFile file(write(dir.filePath("big.wav"), spoiled(wave(100, 44100, 2, 16), 40, 100u << 20, 4)));
    ASSERT_TRUE(file.resize(44 + (100LL << 20)));
    ASSERT_TRUE(device.canPlay(file.fileName()));
    EXPECT_EQ(playToEnd(device, file.fileName(), 200), (100LL << 20) / 4 * 1000 / 44100);
    EXPECT_NEAR(playToEnd(device, write(dir.filePath("huge.wav"), spoiled(good, 40, 0x7ffffff0u, 4))), 100, 2)
        << "what the file holds";
    // Compressed samples are decoded by SDL, whole: up to 16 MiB of file.
    const QString adpcm = QStringLiteral(QUANDREL_FUZZ_DIR "/corpus/wave_load/ms-adpcm");
    EXPECT_NEAR(playToEnd(device, adpcm), 90, 2);
    QFile::copy(adpcm, dir.filePath("long-adpcm.wav"));
    ASSERT_TRUE(QFile::resize(dir.filePath("long-adpcm.wav"), 17 << 20));
    EXPECT_FALSE(device.canPlay(dir.filePath("long-adpcm.wav")));
    // Hostile files and what the fuzzer kept: refused by the check and the
    // device alike, or played; in little more memory than the program has.
    rlimit before{};
    getrlimit(RLIMIT_AS, &before);
    long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    const rlimit limit{rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (256u << 20), before.rlim_max};
    setrlimit(RLIMIT_AS, &limit);
    int stored = 0;
    for (QDirIterator it(QStringLiteral(QUANDREL_FUZZ_DIR "/corpus/wave_load"), QDir::Files); it.hasNext(); ++stored) {
        const QString path = it.next();
        const bool playable = !it.fileName().startsWith("refused");
        EXPECT_EQ(device.canPlay(path), playable) << qPrintable(path);
        EXPECT_EQ(device.open(path), playable) << qPrintable(path);
        EXPECT_EQ(device.play(50), playable) << qPrintable(path);
        device.close();
    }
    setrlimit(RLIMIT_AS, &before);
    EXPECT_GT(stored, 5);
}

TEST(SdlDevice, TheFilesSamplesReachTheDeviceConvertedWholeAndCut)
{
    if (SdlSoundDevice().deviceCount() == 0)
        GTEST_SKIP() << "no SDL audio device, not even the dummy driver";
    // SDL's disk driver writes what would be heard to a file, here some ten
    // times faster than it plays: 1 ms for each buffer of 512 frames.
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    QTemporaryDir dir;
    const std::vector<float> tone = recorded(write(dir.filePath("tone.wav"), wave(300)));
    const QByteArray frame24("\x56\x34\x12\xaa\xcb\xed"); // 0x123456 and -0x123456
    const std::vector<float> cut = recorded(write(dir.filePath("24.wav"), held(4000, 44100, 2, 24, frame24)), 3000);
    const double level = -0.3;
    const QByteArray frame64(reinterpret_cast<const char*>(&level), 8);
    const QString doubles =
        write(dir.filePath("64.wav"), spoiled(held(200, 44100, 1, 64, frame64), 20, 3, 2)); // floats
    const std::vector<float> narrowed = recorded(doubles);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // 11025 Hz mono comes out at the device's 44100 Hz, in stereo, to its last frame.
    EXPECT_NEAR(tone.size() / 2, 3307 * 44100 / 11025, 4);
    // A play cut at 3 s stops there; 24-bit samples are widened whole, sign and all.
    EXPECT_EQ(cut.size() / 2, 3u * 44100);
    EXPECT_NEAR(cut.at(1000), 0x123456 / 8388608.0, 1e-6);
    EXPECT_NEAR(cut.at(1001), -0x123456 / 8388608.0, 1e-6);
    // 64-bit floats are narrowed.
    EXPECT_EQ(narrowed.size() / 2, 200u * 44100 / 1000);
    EXPECT_FLOAT_EQ(narrowed.at(1000), -0.3f);
}
