#include "engine/alerts.h"

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
    ++s.ExpiryTicks;
    if (s.ExpiryTicks == 1) {
        step.restoreFocus = slot == 0 || popOnTop;
        step.raiseSound = hasSound;
    }
    step.colour = byParity(s.ExpiryTicks);
    if (s.ExpiryTicks >= AlertTickWrap)
        s.ExpiryTicks = 0;
    return step;
}

RestartAlertStep restartAlertTick(AlertState& s, bool popOnTop, bool hasSound)
{
    RestartAlertStep step;
    ++s.RestartTicks;
    int32_t cycleStep = 0;
    if (s.RestartTicks < 2) {
        step.restoreFocus = popOnTop;
        cycleStep = 1;
    }
    s.CycleCount += cycleStep;
    if (s.CycleCount >= AlertTickWrap)
        s.CycleCount = 0;
    step.cyclesText = QStringLiteral("Cycles: ") + QString::number(s.CycleCount);
    step.raiseSound = s.RestartTicks == 1 && hasSound;
    if (s.RestartTicks >= RestartAlertTicks) {
        step.shut = true;
        step.restoreFocusAfterShut = popOnTop;
        restartAlertShut(s);
    } else {
        step.colour = byParity(s.RestartTicks);
    }
    return step;
}

} // namespace quandrel
