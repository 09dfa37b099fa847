#include "engine/timearith.h"

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

std::optional<int32_t> readLaunchTime(const QString& text)
{
    const qsizetype length = text.size();
    if (length != 7 && length != 8 && length != 10 && length != 11)
        return std::nullopt;
    // The hour is one digit long in the 7 and 10 character shapes.
    const qsizetype hourLength = (length == 7 || length == 10) ? 1 : 2;
    const QStringView view(text);
    const QStringView hourText = view.mid(0, hourLength);
    const QStringView minuteText = view.mid(hourLength + 1, 2);
    const QStringView secondText = view.mid(hourLength + 4, 2);
    // "9時35分47秒" has the length of "09:35:47" but not its fields.
    if (!allDigits(hourText) || !allDigits(minuteText) || !allDigits(secondText))
        return std::nullopt;
    const int32_t hour = leadingNumber(hourText);
    const int32_t rest = leadingNumber(minuteText) * SecsPerMinute + leadingNumber(secondText);
    if (length == 7 || length == 8)
        return hour * SecsPerHour + rest;

    const QStringView designator = view.mid(hourLength + 7, 2);
    const bool twelve = length == 11 && hour == 12;
    if (designator == u"AM")
        return twelve ? rest : hour * SecsPerHour + rest;
    if (designator == u"PM")
        return twelve ? HalfDaySecs + rest : hour * SecsPerHour + HalfDaySecs + rest;
    return std::nullopt;
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

int32_t elapsedSecs(qint64 startMs, qint64 nowMs)
{
    return clamp32(floorDiv(nowMs - startMs, 1000));
}

int32_t wallSecondsCrossed(qint64 startWallMs, qint64 nowWallMs)
{
    return clamp32(floorDiv(nowWallMs, 1000) - floorDiv(startWallMs, 1000));
}

} // namespace quandrel
