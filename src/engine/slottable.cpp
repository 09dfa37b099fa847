// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/slottable.h"

namespace quandrel {

int SlotTable::firstFree() const
{
    for (int n = 0; n < SlotCount; ++n) {
        if (!inUse[n])
            return n;
    }
    return -1;
}

void SlotTable::raiseAlertSound(int n)
{
    alertSoundRequest[n] = true;
    if (onSoundRequest)
        onSoundRequest();
}

void SlotTable::raiseCycleSound(int n)
{
    cycleSoundRequest[n] = true;
    if (onSoundRequest)
        onSoundRequest();
}

bool SlotTable::anySoundRequest() const
{
    for (int n = 0; n < SlotCount; ++n) {
        if (alertSoundRequest[n] || cycleSoundRequest[n])
            return true;
    }
    return false;
}

} // namespace quandrel
