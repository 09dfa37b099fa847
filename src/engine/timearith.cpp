#include "engine/timearith.h"

#include <algorithm>
#include <limits>

namespace quandrel {
namespace {

int32_t clamp32(qint64 v)
{
    return int32_t(std::clamp<qint64>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

} // namespace

qint64 floorDiv(qint64 a, qint64 b)
{
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

QString formatTwoDigits(qint64 value)
{
    const qint64 magnitude = value < 0 ? -value : value;
    QString digits = QString::number(magnitude).rightJustified(2, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

ClockFaceFields splitClockFace(qint64 seconds)
{
    const bool negative = seconds < 0;
    const qint64 x = negative ? -seconds : seconds;
    ClockFaceFields f;
    f.hours = formatTwoDigits(x / SecsPerHour);
    f.minutes = formatTwoDigits((x % SecsPerHour) / SecsPerMinute);
    f.seconds = formatTwoDigits(x % SecsPerMinute);
    if (negative)
        f.hours.prepend(QLatin1Char('-'));
    return f;
}

int32_t leadingNumber(QStringView text, bool* isNumber)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        any = true;
        value = std::min<qint64>(value * 10 + (c.unicode() - '0'), std::numeric_limits<int32_t>::max());
    }
    if (isNumber)
        *isNumber = any;
    return int32_t(negative ? -value : value);
}

bool countTime(SlotTable& t, int i)
{
    const QString& text = t.LaunchTimeText[i];
    const qsizetype length = text.size();
    if (length != 7 && length != 8 && length != 10 && length != 11)
        return false;

    // The hour is one digit long in the 7 and 10 character shapes.
    const qsizetype hourLength = (length == 7 || length == 10) ? 1 : 2;
    const QStringView view(text);
    bool hourOk = false, minuteOk = false, secondOk = false;
    const int32_t hour = leadingNumber(view.mid(0, hourLength), &hourOk);
    const int32_t minute = leadingNumber(view.mid(hourLength + 1, 2), &minuteOk);
    const int32_t second = leadingNumber(view.mid(hourLength + 4, 2), &secondOk);
    t.LaunchHour[i] = hour;
    t.LaunchMinute[i] = minute;
    t.LaunchSecond[i] = second;
    // Every character of a field must be a digit: "9時35分47秒" has the length
    // of "09:35:47" but not its fields.
    const auto digitsOnly = [](QStringView field) {
        return std::all_of(field.begin(), field.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    const bool fieldsOk = hourOk && minuteOk && secondOk && digitsOnly(view.mid(0, hourLength)) &&
                          digitsOnly(view.mid(hourLength + 1, 2)) && digitsOnly(view.mid(hourLength + 4, 2));
    const int32_t minutesAndSeconds = minute * SecsPerMinute + second;

    if (length == 7 || length == 8) {
        t.LaunchSecs[i] = hour * SecsPerHour + minutesAndSeconds;
        return fieldsOk;
    }

    const QString designator = text.mid(hourLength + 7, 2);
    t.LaunchAmPm[i] = designator;
    if (designator == QLatin1String("AM")) {
        t.LaunchSecs[i] = (length == 11 && hour == 12) ? minutesAndSeconds : hour * SecsPerHour + minutesAndSeconds;
        return fieldsOk;
    }
    if (designator == QLatin1String("PM")) {
        t.HalfDay = HalfDaySecs;
        t.LaunchSecs[i] = (length == 11 && hour == 12) ? t.HalfDay + minutesAndSeconds
                                                       : hour * SecsPerHour + t.HalfDay + minutesAndSeconds;
        return fieldsOk;
    }
    return false;
}

void alarmtime(SlotTable& t, int i, int hour, int minute, int second, const QString& amPm)
{
    const int32_t minutesAndSeconds = minute * SecsPerMinute + second;
    if (amPm == QLatin1String("AM")) {
        t.AlarmSecs[i] = hour == 12 ? minutesAndSeconds : hour * SecsPerHour + minutesAndSeconds;
    } else if (amPm == QLatin1String("PM")) {
        t.HalfDay = HalfDaySecs;
        t.AlarmSecs[i] =
            hour == 12 ? t.HalfDay + minutesAndSeconds : hour * SecsPerHour + t.HalfDay + minutesAndSeconds;
    }
}

void alarmduration(SlotTable& t, int32_t a, int32_t s, int i)
{
    t.AlarmWait[i] = a >= s ? a - s : a - s + DaySecs;
}

namespace {
void store(SlotTable& t, int i, qint64 x)
{
    const ClockFaceFields f = splitClockFace(x);
    t.ShowHours[i] = f.hours;
    t.ShowMinutes[i] = f.minutes;
    t.ShowSeconds[i] = f.seconds;
}
} // namespace

void setlabel(SlotTable& t, int i, int32_t a, int32_t b)
{
    store(t, i, qint64(a) - qint64(b));
}

void setlabelforward(SlotTable& t, int i, int32_t a)
{
    store(t, i, a);
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
