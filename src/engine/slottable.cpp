#include "engine/slottable.h"

namespace quandrel {

int SlotTable::findFreeSlot() const
{
    for (int n = 0; n < SlotCount; ++n) {
        if (SlotInUse[n] == 0)
            return n;
    }
    return -1;
}

void SlotTable::markLoaded(int n)
{
    SlotInUse[n] = 1;
    ++RunningCount;
}

void SlotTable::markUnloaded(int n)
{
    SlotInUse[n] = 0;
    --RunningCount;
}

void SlotTable::clearNumbered()
{
    TimerWinState.fill(WinNone);
    AlertSoundRequest.fill(false);
    CycleSoundRequest.fill(false);
}

void SlotTable::raiseAlertSound(int n)
{
    AlertSoundRequest[n] = true;
    if (onSoundRequest)
        onSoundRequest();
}

void SlotTable::raiseCycleSound(int n)
{
    CycleSoundRequest[n] = true;
    if (onSoundRequest)
        onSoundRequest();
}

bool SlotTable::anySoundRequest() const
{
    for (int n = 0; n < SlotCount; ++n) {
        if (AlertSoundRequest[n] || CycleSoundRequest[n])
            return true;
    }
    return false;
}

} // namespace quandrel
