#include "engine/stopwatch.h"

#include "engine/timearith.h"

#include <algorithm>
#include <cstdint>

namespace quandrel {

std::optional<QString> StopwatchState::tick(qint64 nowUtcMs)
{
    SwRunSecs = elapsedSecs(SwStartTime, nowUtcMs);
    SwTotalSecs = int32_t(std::clamp<qint64>(qint64(SwBankedSecs) + SwRunSecs, INT32_MIN, INT32_MAX));
    if (SwTotalSecs > StopwatchMaxSecs)
        return std::nullopt;
    return stopwatchFace(SwTotalSecs);
}

QString stopwatchFace(int32_t totalSecs)
{
    // A clock set back before the start gives a negative total; it shows with
    // one sign in front, like the other clock faces.
    return clockFace(totalSecs);
}

} // namespace quandrel
