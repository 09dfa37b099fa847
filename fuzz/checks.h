// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets check, shared with the tests that replay the stored
// inputs. A check returns "" when every property holds, or what went wrong.
#include "engine/timearith.h"
#include "platform/timeformat.h"

#include <QList>
#include <QLocale>

#include <cstdint>

namespace quandrel::fuzz {

// Byte 0 even: the rest is any launch time text, which must be refused or
// read as a time of day. Odd: bytes 1..4 pick a locale and a time of day,
// written as the program writes it; a text that is read must be read right.
inline QString checkLaunchTime(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return {};
    if ((data[0] & 1) == 0) {
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
        const std::optional<int32_t> secs = readLaunchTime(text);
        if (secs && (*secs < 0 || *secs > 99 * 3600 + 99 * 61 + HalfDaySecs))
            return QStringLiteral("'%1' read as %2 s").arg(text).arg(*secs);
        return {};
    }
    if (size < 5)
        return {};
    static const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    const QLocale& locale = locales[(data[1] | data[2] << 8) % locales.size()];
    const QTime time = QTime(0, 0).addSecs(int((data[3] | data[4] << 8 | (data[2] & 0xf0) << 12) % DaySecs));
    const QString text = longTimeText(time, locale);
    const std::optional<int32_t> secs = readLaunchTime(text);
    if (secs && *secs != secondsOfDay(time))
        return QStringLiteral("%1: '%2' read as %3 s").arg(locale.name(), text).arg(*secs);
    return {};
}

} // namespace quandrel::fuzz
