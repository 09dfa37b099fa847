// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/alerts.h"

#include <QCoreApplication>

namespace quandrel {
namespace {
TitleColour byParity(int32_t ticks)
{
    return (ticks % 2 != 0) ? TitleColour::Blue : TitleColour::Red;
}
} // namespace

ExpiryAlertStep expiryAlertTick(AlertState& s, int slot, bool popOnTop, bool hasSound)
{
    ExpiryAlertStep step;
    ++s.expiryTicks;
    if (s.expiryTicks == 1) {
        step.restoreFocus = slot == 0 || popOnTop;
        step.raiseSound = hasSound;
    }
    step.colour = byParity(s.expiryTicks);
    if (s.expiryTicks >= AlertTickWrap)
        s.expiryTicks = 0;
    return step;
}

RestartAlertStep restartAlertTick(AlertState& s, bool popOnTop, bool hasSound)
{
    RestartAlertStep step;
    ++s.restartTicks;
    if (s.restartTicks < 2) {
        step.restoreFocus = popOnTop;
        ++s.cycleCount;
    }
    if (s.cycleCount >= AlertTickWrap)
        s.cycleCount = 0;
    step.cyclesText = QCoreApplication::translate("Timer", "Cycles: %1").arg(s.cycleCount);
    step.raiseSound = s.restartTicks == 1 && hasSound;
    if (s.restartTicks >= RestartAlertTicks) {
        step.end = true;
        step.restoreFocusAfterEnd = popOnTop;
        s.restartTicks = 0;
    } else {
        step.colour = byParity(s.restartTicks);
    }
    return step;
}

} // namespace quandrel
