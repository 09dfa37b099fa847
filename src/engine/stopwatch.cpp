#include "engine/stopwatch.h"

#include "engine/timearith.h"

#include <algorithm>
#include <cstdint>

namespace quandrel {

std::optional<QString> Stopwatch::tick(qint64 nowUtcMs)
{
    runSecs = elapsedSecs(startTime, nowUtcMs);
    totalSecs = int32_t(std::clamp<qint64>(qint64(bankedSecs) + runSecs, INT32_MIN, INT32_MAX));
    if (totalSecs > StopwatchMaxSecs)
        return std::nullopt;
    // A clock set back before the start gives a negative total; it shows with
    // one sign in front, like the other clock faces.
    return clockFace(totalSecs);
}

} // namespace quandrel
