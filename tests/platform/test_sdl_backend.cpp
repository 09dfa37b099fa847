#include "platform/sdlaudiobackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <iostream>

namespace quandrel {
namespace {

// Wave files are put together here byte by byte, so that each test knows
// exactly what the decoder gets.

QByteArray le16(int value)
{
    QByteArray bytes(2, '\0');
    bytes[0] = char(value & 0xff);
    bytes[1] = char((value >> 8) & 0xff);
    return bytes;
}

QByteArray le32(quint32 value)
{
    return le16(int(value & 0xffff)) + le16(int(value >> 16));
}

QByteArray chunk(const char* id, const QByteArray& body)
{
    QByteArray bytes = QByteArray(id, 4) + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

QByteArray riffWave(const QByteArray& chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

QByteArray pcmFormat(int channels, int rate, int bits)
{
    const int blockAlign = channels * bits / 8;
    return le16(1) + le16(channels) + le32(quint32(rate)) + le32(quint32(rate * blockAlign)) + le16(blockAlign) +
           le16(bits);
}

// A 440 Hz tone, so that a listener with a real device hears something.
QByteArray pcmSamples(int channels, int rate, int bits, int frames)
{
    QByteArray samples;
    samples.reserve(frames * channels * bits / 8);
    for (int i = 0; i < frames; ++i) {
        const double level = std::sin(2 * M_PI * 440 * i / rate) * 0.3;
        for (int c = 0; c < channels; ++c) {
            if (bits == 8)
                samples += char(128 + int(level * 127));
            else
                samples += le16(int(level * 32767));
        }
    }
    return samples;
}

QByteArray pcmWave(int channels, int rate, int bits, int ms)
{
    const int frames = int(qint64(rate) * ms / 1000);
    return riffWave(chunk("fmt ", pcmFormat(channels, rate, bits)) +
                    chunk("data", pcmSamples(channels, rate, bits, frames)));
}

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
    return riffWave(chunk("fmt ", format) + chunk("fact", le32(quint32(blocks * kSamplesPerBlock))) +
                    chunk("data", data));
}

class SdlAudioBackendTest : public ::testing::Test {
protected:
    SdlAudioBackendTest()
    {
        backend.onFinished = [this] { ++finished; };
    }

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        if (backend.deviceCount() == 0)
            GTEST_SKIP() << "SDL cannot open an audio device here (SDL_AUDIODRIVER="
                         << qgetenv("SDL_AUDIODRIVER").constData() << "); the dummy driver is needed";
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Runs the event loop until the play reports its end or timeoutMs pass.
    qint64 waitForFinish(int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        backend.onFinished = [this, &loop] {
            ++finished;
            loop.quit();
        };
        loop.exec();
        backend.onFinished = [this] { ++finished; };
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
        {"pcm8-mono-11025.wav", pcmWave(1, 11025, 8, 300), 300},
        {"pcm16-stereo-44100.wav", pcmWave(2, 44100, 16, 600), 600},
        {"pcm16-mono-22050.wav", pcmWave(1, 22050, 16, 1234), 1234},
        {"pcm8-stereo-48000.wav", pcmWave(2, 48000, 8, 50), 50},
        {"adpcm-mono-11025.wav", msAdpcmWave(11025, 22), int(std::lround(22 * 500 * 1000.0 / 11025))},
        {QStringLiteral("My Sounds/Glöckchen am Morgen.wav"), pcmWave(1, 11025, 8, 598), 598},
    };
    for (const Case& c : cases) {
        const QString path = write(c.name, c.bytes);
        ASSERT_TRUE(backend.load(path)) << qPrintable(c.name);
        EXPECT_NEAR(backend.lengthMs(), c.lengthMs, 5) << qPrintable(c.name);
        EXPECT_FALSE(backend.isPlaying());
    }
}

TEST_F(SdlAudioBackendTest, HostileFilesFailCleanly)
{
    const QByteArray valid = pcmWave(1, 11025, 8, 100);
    const QByteArray samples = pcmSamples(1, 11025, 8, 100);
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"empty.wav", {}},
        {"truncated-header.wav", valid.left(30)},
        {"riff-only.wav", valid.left(12)},
        {"text.wav", "This is not a sound at all.\nJust some text, long enough to look like a header.\n"},
        {"riff-not-wave.wav", "RIFF" + le32(100) + "AVI " + chunk("data", samples)},
        {"huge-data.wav", "RIFF" + le32(0xfffffff0u) + "WAVE" + chunk("fmt ", pcmFormat(1, 11025, 8)) + "data" +
                              le32(0x7ffffff0u) + samples},
        {"max-data.wav", "RIFF" + le32(0xffffffffu) + "WAVE" + chunk("fmt ", pcmFormat(1, 11025, 8)) + "data" +
                             le32(0xffffffffu) + samples},
        {"huge-list.wav", "RIFF" + le32(100) + "WAVE" + "LIST" + le32(0xfffffff0u) + valid.mid(12)},
        {"zero-channels.wav", riffWave(chunk("fmt ", pcmFormat(0, 11025, 8)) + chunk("data", samples))},
        {"zero-rate.wav", riffWave(chunk("fmt ", pcmFormat(1, 0, 8)) + chunk("data", samples))},
        {"one-hertz.wav", riffWave(chunk("fmt ", pcmFormat(1, 1, 8)) + chunk("data", samples))},
        {"zero-bits.wav", riffWave(chunk("fmt ", pcmFormat(1, 11025, 0)) + chunk("data", samples))},
        {"short-fmt.wav", riffWave(chunk("fmt ", pcmFormat(1, 11025, 8).left(10)) + chunk("data", samples))},
        {"data-before-fmt.wav", riffWave(chunk("data", samples) + chunk("fmt ", pcmFormat(1, 11025, 8)))},
        {"no-data.wav", riffWave(chunk("fmt ", pcmFormat(1, 11025, 8)))},
        {"unknown-codec.wav",
         riffWave(chunk("fmt ", le16(0x55) + pcmFormat(1, 11025, 8).mid(2)) + chunk("data", samples))},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(backend.load(write("good.wav", valid)));
        EXPECT_FALSE(backend.load(write(c.name, c.bytes))) << c.name;
        // A failed load leaves the slot empty, not holding the previous sound.
        EXPECT_EQ(backend.lengthMs(), 0) << c.name;
        EXPECT_FALSE(backend.play(-1)) << c.name;
        EXPECT_FALSE(backend.isPlaying()) << c.name;
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
    ASSERT_TRUE(backend.load(write("short.wav", pcmWave(2, 44100, 16, 200))));
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
    ASSERT_TRUE(backend.load(write("long.wav", pcmWave(1, 22050, 16, 4000))));
    ASSERT_TRUE(backend.play(100));
    // The whole sound would outlast the wait.
    const qint64 elapsed = waitForFinish(2500);
    std::cout << "[          ] a play cut at 100 ms ended after " << elapsed << " ms\n";
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(backend.isPlaying());
}

TEST_F(SdlAudioBackendTest, StopsAndReplacedPlaysAreNotEnds)
{
    ASSERT_TRUE(backend.load(write("long.wav", pcmWave(2, 44100, 16, 5000))));
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
    ASSERT_TRUE(backend.load(write("tone.wav", pcmWave(1, 11025, 8, 2000))));
    ASSERT_TRUE(backend.play(0));
    EXPECT_FALSE(backend.isPlaying());
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 1);

    ASSERT_TRUE(backend.load(write("empty-data.wav", pcmWave(1, 11025, 8, 0))));
    EXPECT_EQ(backend.lengthMs(), 0);
    ASSERT_TRUE(backend.play(-1));
    QCoreApplication::processEvents();
    EXPECT_EQ(finished, 2);
}

TEST_F(SdlAudioBackendTest, IdleDeviceIsClosedAndReopenedForTheNextPlay)
{
    backend.setIdleCloseDelay(0);
    ASSERT_TRUE(backend.load(write("tone.wav", pcmWave(2, 44100, 16, 5000))));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !backend.isDeviceOpen(); }, 2000));
    EXPECT_NEAR(backend.lengthMs(), 5000, 5);

    // The sound survives the close: it is decoded again for the device.
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

// Sets an environment variable for the scope of a test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) { qputenv(name, value); }
    ~ScopedEnv()
    {
        if (old_.isNull())
            qunsetenv(name_);
        else
            qputenv(name_, old_);
    }

private:
    const char* name_;
    QByteArray old_;
};

TEST(SdlAudioBackendWithoutDevice, ReportsNoDeviceAndFindsOneLater)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("tone.wav");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pcmWave(1, 11025, 8, 100));
    file.close();

    SdlAudioBackend backend;
    if (backend.deviceCount() == 0)
        GTEST_SKIP() << "SDL cannot open an audio device here; the dummy driver is needed";
    backend.setIdleCloseDelay(0);
    ASSERT_TRUE(QTest::qWaitFor([&backend] { return !backend.isDeviceOpen(); }, 2000));

    {
        // No audio driver at all.
        ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        EXPECT_EQ(backend.deviceCount(), 0);
        EXPECT_FALSE(backend.load(path));
        EXPECT_FALSE(backend.play(-1));
        EXPECT_FALSE(backend.isPlaying());
        EXPECT_FALSE(backend.isDeviceOpen());
    }

    // A driver that starts but whose device cannot be opened, as when there
    // is no sound card. The next try must start afresh and find the device
    // that has come up meanwhile, rather than keep the broken driver.
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
