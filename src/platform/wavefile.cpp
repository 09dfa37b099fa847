// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/wavefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace quandrel {
namespace {

constexpr int FormatPcm = 1;
constexpr int FormatFloat = 3;
constexpr int FormatExtensible = 0xFFFE;

std::optional<WaveFormat> refuse(QString* why, const QString& reason)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

} // namespace

qint64 WaveFormat::lengthMs() const
{
    if (encoding == Other || blockAlign <= 0 || rate <= 0)
        return 0;
    return dataBytes / blockAlign * 1000 / rate;
}

std::optional<WaveFormat> readWaveHeader(QIODevice& file, QString* why)
{
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return refuse(why, QCoreApplication::translate("WaveFile", "it is not a wave file"));
    const qint64 size = file.size();
    WaveFormat format;
    bool haveFormat = false;
    for (qint64 at = 12; at + 8 <= size;) {
        if (!file.seek(at))
            break;
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            break;
        const qint64 length = qFromLittleEndian<quint32>(header.constData() + 4);
        const qint64 body = at + 8;
        if (header.startsWith("fmt ")) {
            const QByteArray fmt = file.read(qMin<qint64>(length, 40));
            if (length < 16 || fmt.size() < 16)
                return refuse(why, QCoreApplication::translate("WaveFile", "its format is cut short"));
            int tag = qFromLittleEndian<quint16>(fmt.constData());
            if (tag == FormatExtensible && fmt.size() >= 26)
                tag = qFromLittleEndian<quint16>(fmt.constData() + 24); // the sub-format's first two bytes
            format.encoding = tag == FormatPcm     ? WaveFormat::Pcm
                              : tag == FormatFloat ? WaveFormat::Float
                                                   : WaveFormat::Other;
            format.channels = qFromLittleEndian<quint16>(fmt.constData() + 2);
            format.rate = int(qFromLittleEndian<quint32>(fmt.constData() + 4));
            format.blockAlign = qFromLittleEndian<quint16>(fmt.constData() + 12);
            format.bitsPerSample = qFromLittleEndian<quint16>(fmt.constData() + 14);
            haveFormat = true;
        } else if (header.startsWith("data")) {
            if (!haveFormat)
                return refuse(why, QCoreApplication::translate("WaveFile", "its samples come before their format"));
            format.dataOffset = body;
            format.dataBytes = qMin(length, size - body);
            format.cutShort = length > format.dataBytes;
            break;
        }
        at = body + length + (length & 1);
    }
    if (!haveFormat || format.dataOffset == 0)
        return refuse(why, QCoreApplication::translate("WaveFile", "it is cut short before its sound"));
    const bool plainSamples = format.encoding != WaveFormat::Other;
    if (format.channels < 1 || format.channels > 8 || format.rate < 1000 || format.rate > 384000 ||
        format.bitsPerSample < 2 || format.bitsPerSample > 64 || format.blockAlign < 1 ||
        (plainSamples && format.blockAlign != format.channels * ((format.bitsPerSample + 7) / 8)))
        return refuse(why, QCoreApplication::translate("WaveFile", "its format is not one a sound can have"));
    if (format.dataBytes < format.blockAlign)
        return refuse(why, QCoreApplication::translate("WaveFile", "it holds no sound"));
    return format;
}

std::optional<WaveFormat> readWaveFile(const QString& path, QString* why)
{
    const QFileInfo info(path);
    if (!info.exists())
        return refuse(why, QCoreApplication::translate("WaveFile", "it is not there"));
    if (!info.isFile())
        return refuse(why, QCoreApplication::translate("WaveFile", "it is not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(why, QCoreApplication::translate("WaveFile", "it cannot be read"));
    return readWaveHeader(file, why);
}

} // namespace quandrel
