#include "platform/sdlaudiobackend.h"

#include "support/wavefiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <iostream>

namespace quandrel {
namespace {

using namespace test;

// Microsoft ADPCM, mono, 4 bits a sample, 256-byte blocks of 500 samples.
QByteArray msAdpcmWave(int rate, int blocks)
{
    constexpr int kBlockAlign = 256;
    constexpr int kSamplesPerBlock = (kBlockAlign - 7) * 2 + 2;
    const int coefficients[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
    QByteArray format = le16(2) + le16(1) + le32(quint32(rate)) +
                        le32(quint32(qint64(rate) * kBlockAlign / kSamplesPerBlock)) + le16(kBlockAlign) + le16(4) +
                        le16(32) + le16(kSamplesPerBlock) + le16(7);
    for (const auto& pair : coefficients)
        format += le16(pair[0]) + le16(pair[1]);

    QByteArray data;
    for (int b = 0; b < blocks; ++b) {
        data += char(0);                      // predictor
        data += le16(16) + le16(0) + le16(0); // delta, two first samples
        for (int i = 0; i < kBlockAlign - 7; ++i)
            data += char(i % 2 ? 0x71 : 0x17); // small steps up and down
    }
    return riffWave(riffChunk("fmt ", format) + riffChunk("fact", le32(quint32(blocks * kSamplesPerBlock))) +
                    riffChunk("data", data));
}

class SdlAudioBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        if (backend.deviceCount() == 0)
            GTEST_SKIP() << "SDL cannot open an audio device here (SDL_AUDIODRIVER="
                         << qgetenv("SDL_AUDIODRIVER").constData() << "); the dummy driver is needed";
        backend.onFinished = [this] { ++finished; };
    }

    QString write(const QString& name, const QByteArray& bytes) { return writeFile(dir.filePath(name), bytes); }

    // Runs the event loop until the play reports its end or timeoutMs pass.
    qint64 waitForFinish(int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        (void)QTest::qWaitFor([this] { return finished > 0; }, timeoutMs);
        return clock.elapsed();
    }

    QTemporaryDir dir;
    SdlAudioBackend backend;
    int finished = 0;
};

TEST_F(SdlAudioBackendTest, LoadsCommonFormatsWithTheirLength)
{
    struct Case {
        QString name;
        QByteArray bytes;
        int lengthMs;
    };
    const Case cases[] = {
        {"pcm8-mono-11025.wav", toneWave(300), 300},
        {"pcm16-stereo-44100.wav", toneWave(600, 44100, 2, 16), 600},
        {"pcm16-mono-22050.wav", toneWave(1234, 22050, 1, 16), 1234},
        {"pcm8-stereo-48000.wav", toneWave(50, 48000, 2, 8), 50},
        {"adpcm-mono-11025.wav", msAdpcmWave(11025, 22), int(std::lround(22 * 500 * 1000.0 / 11025))},
        {QStringLiteral("My Sounds/Glöckchen am Morgen.wav"), toneWave(598), 598},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(backend.load(write(c.name, c.bytes))) << qPrintable(c.name);
        EXPECT_NEAR(backend.lengthMs(), c.lengthMs, 5) << qPrintable(c.name);
        EXPECT_FALSE(backend.isPlaying());
    }
}

TEST_F(SdlAudioBackendTest, HostileFilesFailCleanly)
{
    const QByteArray valid = toneWave(100);
    const QByteArray samples = toneSamples(11025, 10), fmt = riffChunk("fmt ", pcmFormat(1, 11025, 8));
    const auto wave = [&](const QByteArray& format) {
        return riffWave(riffChunk("fmt ", format) + riffChunk("data", samples));
    };
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty.wav", {}},
        {"truncated-header.wav", valid.left(30)},
        {"riff-only.wav", valid.left(12)},
        {"text.wav", "This is not a sound at all.\nJust some text, long enough to look like a header.\n"},
        {"riff-not-wave.wav", "RIFF" + le32(100) + "AVI " + riffChunk("data", samples)},
        {"huge-data.wav", "RIFF" + le32(0xfffffff0u) + "WAVE" + fmt + "data" + le32(0x7ffffff0u) + samples},
        {"max-data.wav", "RIFF" + le32(0xffffffffu) + "WAVE" + fmt + "data" + le32(0xffffffffu) + samples},
        {"huge-list.wav", "RIFF" + le32(100) + "WAVE" + "LIST" + le32(0xfffffff0u) + valid.mid(12)},
        {"zero-channels.wav", wave(pcmFormat(0, 11025, 8))},
        {"zero-rate.wav", wave(pcmFormat(1, 0, 8))},
        {"one-hertz.wav", wave(pcmFormat(1, 1, 8))},
        {"zero-bits.wav", wave(pcmFormat(1, 11025, 0))},
        {"short-fmt.wav", wave(pcmFormat(1, 11025, 8).left(10))},
        {"data-before-fmt.wav", riffWave(riffChunk("data", samples) + fmt)},
        {"no-data.wav", riffWave(fmt)},
        {"unknown-codec.wav", wave(le16(0x55) + pcmFormat(1, 11025, 8).mid(2))},
    };
    for (const auto& [name, bytes] : cases) {
        ASSERT_TRUE(backend.load(write("good.wav", valid)));
        EXPECT_FALSE(backend.load(write(name, bytes))) << name;
        EXPECT_EQ(backend.lengthMs(), 0) << name << ": a failed load must not keep the previous sound";
        EXPECT_FALSE(backend.play(-1)) << name;
        EXPECT_FALSE(backend.isPlaying()) << name;
    }

    QStringList others = {dir.path(), dir.filePath("missing.wav")};
    const QString fifo = dir.filePath("pipe.wav");
    if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
        others << fifo; // opening it would block until a writer comes
    const QString locked = write("locked.wav", valid);
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (!QFile(locked).open(QIODevice::ReadOnly)) // root reads it anyway
        others << locked;
    for (const QString& path : others) {
        EXPECT_FALSE(backend.load(path)) << qPrintable(path);
        EXPECT_EQ(backend.lengthMs(), 0);
    }

    ASSERT_TRUE(backend.load(write("good.wav", valid)));
    EXPECT_NEAR(backend.lengthMs(), 100, 5);
}

TEST_F(SdlAudioBackendTest, PlayEndsByItselfThroughTheEventLoop)
{
    ASSERT_TRUE(backend.load(write("short.wav", toneWave(200, 44100, 2, 16))));
    ASSERT_TRUE(backend.play(-1));
    EXPECT_TRUE(backend.isPlaying());

    const qint64 elapsed = waitForFinish(3000);
    std::cout << "[          ] a 200 ms play ended after " << elapsed << " ms\n";
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(backend.isPlaying());
    EXPECT_GE(elapsed, 150); // it did sound, rather than end at once
}

TEST_F(SdlAudioBackendTest, PlayEndsAtItsCut)
{
    ASSERT_TRUE(backend.load(write("long.wav", toneWave(4000, 22050, 1, 16))));
    ASSERT_TRUE(backend.play(100)); // the whole sound would outlast the wait
    const qint64 elapsed = waitForFinish(2500);
    std::cout << "[          ] a play cut at 100 ms ended after " << elapsed << " ms\n";
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(backend.isPlaying());
}

TEST_F(SdlAudioBackendTest, StopsAndReplacedPlaysAreNotEnds)
{
    ASSERT_TRUE(backend.load(write("long.wav", toneWave(5000, 44100, 2, 16))));
    ASSERT_TRUE(backend.play(-1));
    ASSERT_TRUE(backend.play(-1)); // starts again from the beginning
    QCoreApplication::processEvents();
    EXPECT_TRUE(backend.isPlaying());

    backend.stop();
    EXPECT_FALSE(backend.isPlaying());
    QCoreApplication::processEvents();

    ASSERT_TRUE(backend.play(3000));
    backend.unload();
    EXPECT_FALSE(backend.isPlaying());
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 0);
}

TEST_F(SdlAudioBackendTest, PlayWithoutLengthEndsAtOnce)
{
    ASSERT_TRUE(backend.load(write("tone.wav", toneWave(2000))));
    ASSERT_TRUE(backend.play(0));
    EXPECT_FALSE(backend.isPlaying());
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 1);

    ASSERT_TRUE(backend.load(write("empty-data.wav", toneWave(0))));
    EXPECT_EQ(backend.lengthMs(), 0);
    ASSERT_TRUE(backend.play(-1));
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 2);
}

TEST_F(SdlAudioBackendTest, IdleDeviceIsClosedAndReopenedForTheNextPlay)
{
    backend.setIdleCloseDelay(0);
    ASSERT_TRUE(backend.load(write("tone.wav", toneWave(5000, 44100, 2, 16))));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !backend.isDeviceOpen(); }, 2000));
    EXPECT_NEAR(backend.lengthMs(), 5000, 5);

    // The sound survives the close.
    ASSERT_TRUE(backend.play(-1));
    EXPECT_TRUE(backend.isDeviceOpen());
    EXPECT_TRUE(backend.isPlaying());
    EXPECT_EQ(backend.deviceCount(), 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(backend.isDeviceOpen()); // a play keeps it open

    backend.stop();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !backend.isDeviceOpen(); }, 2000));
    EXPECT_EQ(finished, 0);
    EXPECT_EQ(backend.deviceCount(), 1); // opens it again on demand
    EXPECT_TRUE(backend.isDeviceOpen());
}

TEST_F(SdlAudioBackendTest, ReportsNoDeviceAndFindsOneLater)
{
    const QString path = write("tone.wav", toneWave(100));
    backend.setIdleCloseDelay(0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !backend.isDeviceOpen(); }, 2000));
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        EXPECT_EQ(backend.deviceCount(), 0);
        EXPECT_FALSE(backend.load(path));
        EXPECT_FALSE(backend.play(-1));
        EXPECT_FALSE(backend.isPlaying());
        EXPECT_FALSE(backend.isDeviceOpen());
    }

    // A driver whose device cannot open (no sound card); the next try must start afresh, not keep it.
    ScopedEnv output("SDL_DISKAUDIOFILE", QFile::encodeName(dir.filePath("no/such/folder/out.raw")));
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "disk");
        EXPECT_EQ(backend.deviceCount(), 0);
        EXPECT_FALSE(backend.load(path));
        EXPECT_FALSE(backend.isDeviceOpen());
    }
    EXPECT_GE(backend.deviceCount(), 1);
    EXPECT_TRUE(backend.load(path));
    EXPECT_NEAR(backend.lengthMs(), 100, 5);
}

} // namespace
} // namespace quandrel
