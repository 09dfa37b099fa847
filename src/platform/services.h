#pragma once

#include <QLocale>
#include <QString>

namespace quandrel {

class AudioCommands;
class Clock;
class Dialogs;
class TickTimerFactory;
class WindowOps;

// The outside world as the windows see it. main.cpp builds the real services;
// tests hand in fakes.
struct Services {
    const Clock& clock;
    TickTimerFactory& timers;
    Dialogs& dialogs;
    WindowOps& windows;
    AudioCommands& audio;
    QLocale locale = QLocale::system(); // the user's time format
    QString soundFolder;                // where the built-in recordings are written
};

} // namespace quandrel
