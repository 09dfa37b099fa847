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

// The set-ups launched last, newest first, each once: launching one that is
// there already moves it to the front.
inline constexpr int RecentCount = 8;
QList<LaunchRequest> withLaunched(QList<LaunchRequest> recent, const LaunchRequest& launched);
// A set-up as the recent list shows it: "Tea — count-down 0:04:00".
QString setupText(const LaunchRequest& setup);

QByteArray writeRecentFile(const QList<LaunchRequest>& recent);
// What writeRecentFile wrote; nothing, and the reason, for anything else.
QList<LaunchRequest> readRecentFile(const QByteArray& bytes, QString* error);

} // namespace quandrel
