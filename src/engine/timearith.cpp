// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/timearith.h"

#include <QList>

#include <algorithm>
#include <limits>

namespace quandrel {
namespace {

int32_t clamp32(qint64 v)
{
    return int32_t(std::clamp<qint64>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool allDigits(QStringView field)
{
    return !field.isEmpty() && std::all_of(field.begin(), field.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Decimal digits of any script ("５", "٥") as the ASCII digits they are.
QString asciiDigits(QStringView text)
{
    QString ascii;
    ascii.reserve(text.size());
    for (const QChar c : text)
        ascii += c.category() == QChar::Number_DecimalDigit ? QChar(u'0' + c.digitValue()) : c;
    return ascii;
}

} // namespace

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

QString twoDigits(qint64 value)
{
    const qint64 magnitude = value < 0 ? -value : value;
    const QString digits = QString::number(magnitude).rightJustified(2, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString durationText(int32_t secs)
{
    return QStringLiteral("%1:%2:%3")
        .arg(secs / SecsPerHour)
        .arg(secs % SecsPerHour / SecsPerMinute, 2, 10, QLatin1Char('0'))
        .arg(secs % SecsPerMinute, 2, 10, QLatin1Char('0'));
}

QString clockFace(qint64 seconds)
{
    const qint64 x = seconds < 0 ? -seconds : seconds;
    const QString face = twoDigits(x / SecsPerHour) + QLatin1Char(':') + twoDigits((x % SecsPerHour) / SecsPerMinute) +
                         QLatin1Char(':') + twoDigits(x % SecsPerMinute);
    return seconds < 0 ? QLatin1Char('-') + face : face;
}

int32_t leadingNumber(QStringView text, bool* isNumber)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 value = 0;
    bool any = false;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        any = true;
        value = std::min<qint64>(value * 10 + (text[i].unicode() - u'0'), std::numeric_limits<int32_t>::max());
    }
    if (isNumber)
        *isNumber = any;
    return int32_t(negative ? -value : value);
}

int32_t alarmSecondsOfDay(int hour12, int minute, int second, bool pm)
{
    const int32_t hours = (hour12 == 12 ? 0 : hour12) * SecsPerHour + (pm ? HalfDaySecs : 0);
    return hours + minute * SecsPerMinute + second;
}

int32_t alarmWaitSecs(int32_t alarmSecs, int32_t launchSecs)
{
    return alarmSecs >= launchSecs ? alarmSecs - launchSecs : alarmSecs - launchSecs + DaySecs;
}

int32_t secondsOfDay(const QTime& time)
{
    return time.hour() * SecsPerHour + time.minute() * SecsPerMinute + time.second();
}

namespace {

// Fields of digits joined by ':', each at most two digits after the first.
std::optional<QList<int>> colonFields(QStringView text)
{
    QList<int> fields;
    for (const QStringView field : text.split(u':')) {
        if (!allDigits(field) || field.size() > 2 + (fields.isEmpty() ? 1 : 0))
            return std::nullopt;
        fields << leadingNumber(field);
    }
    return fields;
}

} // namespace

std::optional<int32_t> parseDuration(QStringView written)
{
    const QString ascii = asciiDigits(written.trimmed());
    const QStringView text(ascii);
    qint64 secs = 0;
    if (text.contains(u':')) {
        const std::optional<QList<int>> f = colonFields(text);
        if (!f || f->size() < 2 || f->size() > 3 || f->back() > 59 || (f->size() == 3 && (*f)[1] > 59))
            return std::nullopt;
        secs = f->size() == 3 ? (*f)[0] * qint64(SecsPerHour) + (*f)[1] * SecsPerMinute + (*f)[2]
                              : (*f)[0] * qint64(SecsPerMinute) + (*f)[1];
    } else {
        // Numbers with units, largest first: 1h30m, 90s, 25m.
        qsizetype i = 0;
        int lastUnit = 4;
        while (i < text.size()) {
            while (i < text.size() && text[i].isSpace())
                ++i;
            const qsizetype start = i;
            while (i < text.size() && text[i].isDigit())
                ++i;
            if (i == start || i - start > 5 || i >= text.size())
                return std::nullopt;
            const int unit = QStringLiteral("smh").indexOf(text[i].toLower()) + 1;
            if (unit == 0 || unit >= lastUnit)
                return std::nullopt;
            lastUnit = unit;
            secs += leadingNumber(text.mid(start, i - start)) * qint64(unit == 3 ? SecsPerHour : unit == 2 ? 60 : 1);
            ++i;
        }
        if (lastUnit == 4)
            return std::nullopt;
    }
    if (secs > LongestDurationSecs)
        return std::nullopt;
    return int32_t(secs);
}

std::optional<int32_t> parseTimeOfDay(QStringView text)
{
    const std::optional<QList<int>> f = colonFields(asciiDigits(text.trimmed()));
    if (!f || f->size() < 2 || f->size() > 3 || (*f)[0] > 23 || (*f)[1] > 59 || f->value(2) > 59)
        return std::nullopt;
    return (*f)[0] * SecsPerHour + (*f)[1] * SecsPerMinute + f->value(2);
}

int32_t elapsedSecs(qint64 startMs, qint64 nowMs)
{
    return clamp32(floorDiv(nowMs - startMs, 1000));
}

int32_t wallSecondsCrossed(qint64 startWallMs, qint64 nowWallMs)
{
    return clamp32(floorDiv(nowWallMs, 1000) - floorDiv(startWallMs, 1000));
}

} // namespace quandrel
