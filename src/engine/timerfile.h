// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/timer.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace quandrel {

// The format of the file the running timers are kept in; a file of a later
// format is refused whole rather than half understood.
inline constexpr int TimerFileFormat = 1;

// The running timers as the state file holds them: JSON, one object per timer.
QByteArray writeTimerFile(const QList<SavedTimer>& timers);

struct TimerFileContents {
    QList<SavedTimer> timers;
    QString error; // empty when the file was read whole; then nothing is taken
};

// Reads what writeTimerFile wrote. Anything else (junk, a cut file, a value
// out of its range, two timers in one slot, a later format) is refused whole,
// with the reason.
TimerFileContents readTimerFile(const QByteArray& bytes);

} // namespace quandrel
