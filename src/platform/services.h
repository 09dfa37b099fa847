// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

namespace quandrel {

class Clock;
class Dialogs;
class Notifier;
class SoundDevice;
class TickTimerFactory;
class WindowOps;

// The outside world as the windows see it. main.cpp builds the real services;
// tests hand in fakes.
struct Services {
    const Clock& clock;
    TickTimerFactory& timers;
    Dialogs& dialogs;
    WindowOps& windows;
    SoundDevice& sound;
    Notifier& notifier;
    QLocale locale = QLocale::system(); // the user's time format
    QString soundFolder;                // where the built-in recordings are written
    QString stateFile;                  // where the running timers are kept; empty: nowhere
    QString autostartEntry;             // the entry that starts Quandrel at login while it keeps timers
};

} // namespace quandrel
