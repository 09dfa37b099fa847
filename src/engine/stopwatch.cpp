// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/stopwatch.h"

#include "engine/timearith.h"

namespace quandrel {

QString Stopwatch::stoppedFace() const
{
    return clockFace(floorDiv(bankedMs, 1000));
}

std::optional<QString> Stopwatch::tick(qint64 nowUtcMs) const
{
    const int32_t total = elapsedSecs(origin, nowUtcMs);
    if (total > StopwatchMaxSecs)
        return std::nullopt;
    // A clock set back before the start gives a negative time; it shows with
    // one sign in front, like the other clock faces.
    return clockFace(total);
}

} // namespace quandrel
