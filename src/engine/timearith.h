// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

namespace quandrel {

inline constexpr int32_t SecsPerHour = 3600;
inline constexpr int32_t SecsPerMinute = 60;
inline constexpr int32_t HalfDaySecs = 43200;
inline constexpr int32_t DaySecs = 86400;
inline constexpr int32_t LongestDurationSecs = DaySecs - 1; // 23:59:59

// A duration as H:MM:SS, "0:25:00".
QString durationText(int32_t secs);

// At least two digits, with a minus sign when negative: 7 -> "07", -3 -> "-03".
QString twoDigits(qint64 value);

// Seconds as hours:minutes:seconds, hours unbounded ("100:00:00"). A negative
// value shows one sign before the face of its magnitude: -61 is "-00:01:01".
QString clockFace(qint64 seconds);

// The whole number that the leading characters of text spell (blanks skipped,
// optional sign, then digits); 0 when there are none. *isNumber tells whether
// any digit was read.
int32_t leadingNumber(QStringView text, bool* isNumber = nullptr);

// An alarm setting on the twelve-hour clock (hour 1..12) in seconds after
// midnight: 12 AM is hour 0, 12 PM hour 12.
int32_t alarmSecondsOfDay(int hour12, int minute, int second, bool pm);

// Seconds from the launch time of day to the alarm time of day; an earlier
// time of day is the next day's.
int32_t alarmWaitSecs(int32_t alarmSecs, int32_t launchSecs);

int32_t secondsOfDay(const QTime& time);

// A duration as people write it: "1:30:00", "25:00" (minutes and seconds),
// "90s", "25m", "1h30m", "1h 5m 3s", in the digits of any script. Nothing
// when it is not one, or is longer than 23:59:59.
std::optional<int32_t> parseDuration(QStringView text);

// A time of day on the 24-hour clock, "07:30" or "07:30:15", in seconds
// after midnight, in the digits of any script; nothing when it is not one.
std::optional<int32_t> parseTimeOfDay(QStringView text);

// Whole seconds from start to now, both UTC milliseconds: the floor of the
// difference, clamped to 32 bits. Negative when the clock was set back.
int32_t elapsedSecs(qint64 startMs, qint64 nowMs);

// Second boundaries crossed between two local wall-clock readings, clamped
// to 32 bits.
int32_t wallSecondsCrossed(qint64 startWallMs, qint64 nowWallMs);

qint64 floorDiv(qint64 a, qint64 b);

} // namespace quandrel
