#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace quandrel {

// The largest time a stopwatch shows (23:59:59) before it starts again.
inline constexpr int32_t StopwatchMaxSecs = 86399;

// A stopwatch's counts. The running state itself is carried by the window's
// Start/Stop button; SwStartTime is UTC milliseconds.
struct StopwatchState {
    qint64 SwStartTime = 0;
    int32_t SwRunSecs = 0;
    int32_t SwBankedSecs = 0;
    int32_t SwTotalSecs = 0;

    void start(qint64 nowUtcMs) { SwStartTime = nowUtcMs; }
    void stop() { SwBankedSecs = SwTotalSecs; }
    void reset()
    {
        SwBankedSecs = 0;
        SwTotalSecs = 0;
    }
    // One tick: the display text, or nothing when the total passed 23:59:59
    // and the stopwatch must reset and start again.
    std::optional<QString> tick(qint64 nowUtcMs);
};

// hh:mm:ss of a stopwatch total.
QString stopwatchFace(int32_t totalSecs);

} // namespace quandrel
