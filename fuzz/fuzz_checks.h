#pragma once

// The properties the fuzz targets check, shared with the test that replays
// fuzz/regressions/ in the ordinary suite. Each check takes the raw input
// bytes and returns "" when every property holds, or what went wrong; a
// crash, a hang or a sanitizer report is a finding too.

#include "engine/slottable.h"
#include "engine/soundcatalog.h"
#include "engine/timearith.h"
#include "platform/audiocommands.h"
#include "platform/sdlaudiobackend.h"
#include "platform/timeformat.h"

#include "../tests/support/fake_audio_backend.h"

#include <QFile>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace quandrel::fuzz {

inline QString bytesText(const std::uint8_t* data, std::size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

inline QStringList blankSeparated(const QString& text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (c.isSpace()) {
            if (!word.isEmpty())
                words << word;
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// ---- The audio command layer ---------------------------------------------
//
// Input: one byte of back-end behaviour, then lines. A line is sent as a
// command, except that a line starting with
//   0x01  ends the current play by itself (the device reports its end);
//   0x02  opens the rest of the line as a path, the way the program does;
//   0x03  opens the rest of the line as a path in double quotes.
inline QString checkMciCommands(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return {};
    test::FakeAudioBackend backend;
    backend.loadSucceeds = data[0] & 1;
    backend.playSucceeds = data[0] & 2;
    backend.devices = (data[0] >> 2) & 3;
    backend.soundLengthMs = (data[0] >> 4) * 397;
    MciCommandLayer layer(backend);
    int ends = 0;
    QObject::connect(&layer, &AudioCommands::playEnded, [&ends] { ++ends; });
    bool playing = false; // a play that may still report its end

    const QList<QByteArray> lines =
        QByteArray(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)).split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith('\x01')) {
            const int before = ends;
            backend.finish();
            if (ends != before && !playing)
                return QStringLiteral("a play ended that was not running");
            if (ends - before > 1)
                return QStringLiteral("one end reported twice");
            playing = false;
            continue;
        }
        QString command = QString::fromUtf8(line);
        QString path;
        const bool appOpen = line.startsWith('\x02') || line.startsWith('\x03');
        if (appOpen) {
            path = QString::fromUtf8(line.mid(1));
            const QString argument = line.startsWith('\x03') ? QLatin1Char('"') + path + QLatin1Char('"') : path;
            command = QStringLiteral("open ") + argument + QStringLiteral(" type waveaudio alias voice1");
        }
        const qsizetype loadsBefore = backend.loadedPaths.size();
        int error = -1;
        const QString answer = layer.mciSendString(command, &error);
        if (error != 0 && !answer.isEmpty())
            return QStringLiteral("error %1 with the answer '%2' to '%3'").arg(error).arg(answer, command);
        if (error < 0)
            return QStringLiteral("no error code for '%1'").arg(command);

        // What the program sends opens exactly the file it names: a path in
        // quotes always, a bare one when it has no blanks at its ends and is
        // not itself in quotes.
        const bool bareIsExact = path == path.trimmed() && !(path.startsWith(u'"') && path.endsWith(u'"'));
        const bool quoted = line.startsWith('\x03');
        if (appOpen && !path.isEmpty() && (quoted || bareIsExact) && backend.loadedPaths.size() > loadsBefore &&
            backend.loadedPaths.last() != path)
            return QStringLiteral("'%1' loaded '%2'").arg(command, backend.loadedPaths.last());
        if (appOpen && !path.isEmpty() && (quoted || bareIsExact) && error == 0 &&
            backend.loadedPaths.size() == loadsBefore)
            return QStringLiteral("'%1' succeeded without loading").arg(command);

        const QStringList words = blankSeparated(command);
        const QString keyword = words.value(0).toLower();
        if (error == 0 && keyword == QLatin1String("status") && words.size() == 3 &&
            words[2].compare(QLatin1String("mode"), Qt::CaseInsensitive) == 0 && answer != QLatin1String("playing") &&
            answer != QLatin1String("stopped"))
            return QStringLiteral("mode '%1'").arg(answer);
        if (error == 0 && keyword == QLatin1String("play"))
            playing = backend.playing;
        if (error == 0 &&
            (keyword == QLatin1String("stop") || keyword == QLatin1String("close") || keyword == QLatin1String("open")))
            playing = false;
    }
    return {};
}

// ---- Reading the launch time back ------------------------------------------
//
// Input: byte 0 chooses the slot and the mode. Mode 0: the rest is any text
// as LaunchTimeText. Mode 1: bytes 1..3 give a locale and a time of day,
// formatted as the program formats it; whenever countTime says it read the
// text, it must have read that time.
inline QString checkCountTime(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return {};
    const int slot = data[0] % SlotCount;
    SlotTable table;
    if ((data[0] & 0x80) == 0) {
        const QString text = bytesText(data + 1, size - 1);
        table.LaunchTimeText[slot] = text;
        const SlotTable before = table;
        const bool read = countTime(table, slot);
        const qsizetype length = text.size();
        if (length != 7 && length != 8 && length != 10 && length != 11) {
            if (read || table.LaunchSecs != before.LaunchSecs || table.LaunchHour != before.LaunchHour ||
                table.LaunchAmPm != before.LaunchAmPm)
                return QStringLiteral("a text of length %1 was read").arg(length);
        }
        for (int n = 0; n < SlotCount; ++n) {
            if (n != slot && (table.LaunchSecs[n] != 0 || table.LaunchHour[n] != 0))
                return QStringLiteral("slot %1 changed while reading slot %2").arg(n).arg(slot);
        }
        if (read && (table.LaunchSecs[slot] < -99 * 3600 || table.LaunchSecs[slot] > 99 * 3600 + 99 * 61 + 43200))
            return QStringLiteral("'%1' read as %2 s").arg(text).arg(table.LaunchSecs[slot]);
        return {};
    }
    if (size < 4)
        return {};
    static const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    const QLocale& locale = locales[(data[1] | data[2] << 8) % locales.size()];
    const QTime time = QTime(0, 0).addSecs(int((data[2] >> 4 | data[3] << 4 | (size > 4 ? data[4] << 12 : 0)) % 86400));
    table.LaunchTimeText[slot] = longTimeText(time, locale);
    if (countTime(table, slot) && table.LaunchSecs[slot] != secondsOfDay(time))
        return QStringLiteral("%1: '%2' read as %3 s, not %4")
            .arg(locale.name(), table.LaunchTimeText[slot])
            .arg(table.LaunchSecs[slot])
            .arg(secondsOfDay(time));
    return {};
}

// ---- The picked file's display name ------------------------------------------
inline QString checkFileName(const std::uint8_t* data, std::size_t size)
{
    const QString path = (size > 0 && data[0] == 0xFF) ? QString::fromUtf16(reinterpret_cast<const char16_t*>(data + 1),
                                                                            qsizetype((size - 1) / 2))
                                                       : bytesText(data, size);
    const QString name = fileSelectedName(path);
    if (path.isEmpty())
        return name == QLatin1String("None") ? QString() : QStringLiteral("empty path shows '%1'").arg(name);
    if (name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("'%1' shows '%2' with a separator").arg(path, name);
    const qsizetype wav = path.indexOf(QLatin1String(".wav"), 0, Qt::CaseInsensitive);
    const qsizetype end = wav >= 0 ? wav : path.size();
    if (!path.first(end).endsWith(name))
        return QStringLiteral("'%1' shows '%2', not what stands before its end").arg(path, name);
    const qsizetype start = end - name.size();
    if (start > 0 && path[start - 1] != u'/' && path[start - 1] != u'\\')
        return QStringLiteral("'%1' shows only part of a name: '%2'").arg(path, name);
    if (fileSelectedName(path) != name)
        return QStringLiteral("'%1' shows differently twice").arg(path);
    return {};
}

// ---- Loading a picked wave file ----------------------------------------------
//
// The bytes are written to file and loaded as the user's pick.
inline QString checkWaveLoad(const std::uint8_t* data, std::size_t size, SdlAudioBackend& backend, const QString& file)
{
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QStringLiteral("cannot write %1").arg(file);
        out.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const bool loaded = backend.load(file);
    const int length = backend.lengthMs();
    QString problem;
    if (!loaded && length != 0)
        problem = QStringLiteral("a refused file has a length of %1 ms").arg(length);
    // 256 MiB of 48 kHz stereo float at most.
    if (loaded && (length < 0 || length > 256 * 1024 * 1024 / (48000 * 2 * 2) * 1000 * 2))
        problem = QStringLiteral("length %1 ms").arg(length);
    if (loaded) {
        if (!backend.play(100) && length > 0)
            problem = QStringLiteral("a loaded sound does not play");
        backend.stop();
    }
    backend.unload();
    if (backend.lengthMs() != 0 || backend.isPlaying())
        problem = QStringLiteral("the sound outlived unload");
    return problem;
}

} // namespace quandrel::fuzz
