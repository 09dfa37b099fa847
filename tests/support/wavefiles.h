#pragma once

#include <QByteArray>

#include <cmath>

namespace quandrel::test {

// Wave files put together byte by byte, so that a test knows exactly what
// the decoder gets: sound ones and broken ones.

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

// Mono 8-bit samples of a quiet tone.
inline QByteArray toneSamples(int rate, int ms)
{
    const int frames = int(qint64(rate) * ms / 1000);
    QByteArray samples(frames, '\0');
    for (int i = 0; i < frames; ++i)
        samples[i] = char(128 + int(std::sin(2 * M_PI * 440 * i / rate) * 30));
    return samples;
}

inline QByteArray toneWave(int ms, int rate = 11025)
{
    return riffWave(riffChunk("fmt ", pcmFormat(1, rate, 8)) + riffChunk("data", toneSamples(rate, ms)));
}

} // namespace quandrel::test
