#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>

namespace quandrel::test {

// Wave files built byte by byte, so a test knows exactly what the decoder gets.
inline QByteArray le16(int value)
{
    QByteArray bytes(2, '\0');
    bytes[0] = char(value & 0xff);
    bytes[1] = char((value >> 8) & 0xff);
    return bytes;
}

inline QByteArray le32(quint32 value)
{
    return le16(int(value & 0xffff)) + le16(int(value >> 16));
}

inline QByteArray riffChunk(const char* id, const QByteArray& body)
{
    QByteArray bytes = QByteArray(id, 4) + le32(quint32(body.size())) + body;
    if (body.size() % 2)
        bytes += '\0';
    return bytes;
}

inline QByteArray riffWave(const QByteArray& chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks;
}

inline QByteArray pcmFormat(int channels, int rate, int bits)
{
    const int blockAlign = channels * bits / 8;
    return le16(1) + le16(channels) + le32(quint32(rate)) + le32(quint32(rate * blockAlign)) + le16(blockAlign) +
           le16(bits);
}

// A quiet 440 Hz tone, 8 or 16 bits a sample.
inline QByteArray toneSamples(int rate, int ms, int channels = 1, int bits = 8)
{
    QByteArray samples;
    for (int i = 0; i < int(qint64(rate) * ms / 1000); ++i) {
        const int level = int(std::sin(2 * M_PI * 440 * i / rate) * 30);
        for (int c = 0; c < channels; ++c)
            samples += bits == 8 ? QByteArray(1, char(128 + level)) : le16(level * 256);
    }
    return samples;
}

inline QByteArray toneWave(int ms, int rate = 11025, int channels = 1, int bits = 8)
{
    return riffWave(riffChunk("fmt ", pcmFormat(channels, rate, bits)) +
                    riffChunk("data", toneSamples(rate, ms, channels, bits)));
}

// Writes bytes to path, making its folder; returns path.
inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << "cannot write " << qPrintable(path);
    file.write(bytes);
    return path;
}

// Sets an environment variable for a scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) { qputenv(name, value); }
    ~ScopedEnv() { old_.isNull() ? qunsetenv(name_) : qputenv(name_, old_); }

private:
    const char* name_;
    QByteArray old_;
};

} // namespace quandrel::test
