#pragma once

#include "engine/slottable.h"

#include <QString>
#include <QStringView>
#include <QTime>

namespace quandrel {

inline constexpr int32_t SecsPerHour = 3600;
inline constexpr int32_t SecsPerMinute = 60;
inline constexpr int32_t HalfDaySecs = 43200;
inline constexpr int32_t DaySecs = 86400;

// The number pattern "00": at least two digits, a minus sign when negative.
QString formatTwoDigits(qint64 value);

struct ClockFaceFields {
    QString hours, minutes, seconds;
    QString joined() const { return hours + QLatin1Char(':') + minutes + QLatin1Char(':') + seconds; }
};

// Seconds as hours:minutes:seconds, hours unbounded ("100:00:00"). A negative
// value shows one sign before the face of its magnitude: -61 is "-00:01:01".
ClockFaceFields splitClockFace(qint64 seconds);
inline QString clockFace(qint64 seconds)
{
    return splitClockFace(seconds).joined();
}

// The whole number that the leading characters of text spell (blanks skipped,
// optional sign, then digits); 0 when there are none. *isNumber tells whether
// any digit was read.
int32_t leadingNumber(QStringView text, bool* isNumber = nullptr);

// Reads LaunchTimeText(i) back into LaunchHour/Minute/Second, LaunchAmPm and
// LaunchSecs. Texts of length 7, 8 (24-hour) and 10, 11 (12-hour) are read by
// position; others change nothing. Returns true when LaunchSecs now holds the
// launch time, false when the text could not be understood (wrong length,
// fields that are not numbers, a designator other than "AM"/"PM").
bool countTime(SlotTable& table, int i);

// The alarm setting (hour 1..12, minute, second, "AM"/"PM") into AlarmSecs(i);
// any other designator leaves AlarmSecs(i) unchanged.
void alarmtime(SlotTable& table, int i, int hour, int minute, int second, const QString& amPm);

// AlarmWait(i): seconds from the launch time s to the alarm time a, taking an
// earlier time of day as the next day's.
void alarmduration(SlotTable& table, int32_t a, int32_t s, int i);

// Clock-face split of a - b (a count-down's time left) and of a (a count-up's
// time gone) into ShowHours/ShowMinutes/ShowSeconds of slot i.
void setlabel(SlotTable& table, int i, int32_t a, int32_t b);
void setlabelforward(SlotTable& table, int i, int32_t a);

// Seconds after midnight of a time of day.
int32_t secondsOfDay(const QTime& time);

// Whole seconds from start to now, both UTC milliseconds: the floor of the
// difference, clamped to 32 bits. Negative when the clock was set back.
int32_t elapsedSecs(qint64 startMs, qint64 nowMs);

// Second boundaries crossed between two local wall-clock readings (local date
// and time fields counted as if they were UTC), clamped to 32 bits.
int32_t wallSecondsCrossed(qint64 startWallMs, qint64 nowWallMs);

qint64 floorDiv(qint64 a, qint64 b);

} // namespace quandrel
