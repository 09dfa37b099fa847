// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quandrel {

// The largest time a stopwatch shows (23:59:59) before it starts again.
inline constexpr int32_t StopwatchMaxSecs = 86399;

// A stopwatch's time, kept to the millisecond across stops and starts; it
// shows whole seconds. Instants are milliseconds on the real-time clock.
struct Stopwatch {
    qint64 origin = 0;   // while running: the instant it would have started from zero
    qint64 bankedMs = 0; // while stopped: the time gathered

    void start(qint64 nowMs) { origin = nowMs - bankedMs; }
    void stop(qint64 nowMs) { bankedMs = nowMs - origin; }
    void reset() { bankedMs = 0; }
    // The time shown while stopped.
    QString stoppedFace() const;
    // One tick while running: the display text, or nothing when the time
    // passed 23:59:59 and the stopwatch must reset and start again.
    std::optional<QString> tick(qint64 nowMs) const;
};

} // namespace quandrel
