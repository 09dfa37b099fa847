// SPDX-License-Identifier: GPL-3.0-or-later
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
    ++s.expiryTicks;
    if (s.expiryTicks == 1) {
        step.restoreFocus = slot == 0 || popOnTop;
        step.raiseSound = hasSound;
    }
    if (s.repeating && s.expiryTicks <= RepeatForTicks && s.expiryTicks % RepeatEveryTicks == 1)
        step.raiseSound = hasSound;
    step.colour = byParity(s.expiryTicks);
    if (s.expiryTicks >= AlertTickWrap)
        s.expiryTicks = 0;
    return step;
}

RestartAlertStep restartAlertTick(AlertState& s, bool popOnTop, bool hasSound)
{
    RestartAlertStep step;
    ++s.restartTicks;
    step.restoreFocus = s.restartTicks == 1 && popOnTop;
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

Presentation presentExpiry(const WindowView& v)
{
    if (v.hidden)
        return Presentation::Notification;
    // Where the compositor alone decides what comes to the front, only the
    // active window is sure to be seen.
    if (!v.canRaise)
        return v.active ? Presentation::Window : Presentation::Notification;
    // Desktops differ on whether a program may bring a minimised window back
    // without taking the keyboard (GNOME does not): it is announced.
    if (v.minimized)
        return Presentation::Notification;
    // Restored and raised over whatever is in front, or restored among the
    // program's own windows while the user is in them.
    if (v.popOnTop || v.appActive)
        return Presentation::Window;
    return Presentation::Notification;
}

} // namespace quandrel
