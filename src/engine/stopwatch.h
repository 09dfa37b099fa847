#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quandrel {

// The largest time a stopwatch shows (23:59:59) before it starts again.
inline constexpr int32_t StopwatchMaxSecs = 86399;

// A stopwatch's counts; instants are UTC milliseconds.
struct Stopwatch {
    qint64 startTime = 0;
    int32_t runSecs = 0;
    int32_t bankedSecs = 0;
    int32_t totalSecs = 0;

    void start(qint64 nowUtcMs) { startTime = nowUtcMs; }
    void stop() { bankedSecs = totalSecs; }
    void reset()
    {
        bankedSecs = 0;
        totalSecs = 0;
    }
    // One tick: the display text, or nothing when the total passed 23:59:59
    // and the stopwatch must reset and start again.
    std::optional<QString> tick(qint64 nowUtcMs);
};

} // namespace quandrel
