// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

namespace quandrel {

// What a start of the program was asked to do from the command line. A
// timer to start travels as the same choices the D-Bus interface takes:
// "kind" (count-down, count-up, alarm, stopwatch), "duration" (seconds),
// "auto-restart", "alarm" (seconds after midnight), "title", "sound" (a list
// name or a wave file) and "pop-on-top".
struct Command {
    QVariantMap launch; // empty: no timer to start
    bool hideAll = false;
    bool showAll = false;
    bool closeAll = false;
    bool list = false;
    bool keepTrayItem = false; // for the first start: the tray item stays while no timer runs
    int again = 0;             // a recent set-up to launch again, 1 for the newest
    bool recent = false;

    bool any() const { return !launch.isEmpty() || again > 0 || hideAll || showAll || closeAll || list || recent; }
    // Whether it starts a timer, which a first start can do itself.
    bool starts() const { return !launch.isEmpty() || again > 0; }
};

struct ParsedCommandLine {
    Command command;
    QString error;  // a bad argument, named; exit status 2
    QString output; // --help or --version: print it and stop
};

ParsedCommandLine parseCommandLine(const QStringList& arguments);

// The answer to one call to the running Quandrel, or what went wrong.
struct CallResult {
    QVariant value;
    QString error;            // empty when the call worked
    bool badArgument = false; // the error is about what was asked
};

// What a command asks of the running Quandrel, as its D-Bus interface
// offers it: over the bus from a second start, or in the same process.
class QuandrelCalls {
public:
    virtual ~QuandrelCalls() = default;
    virtual CallResult launch(const QVariantMap& choices) = 0; // value: the slot, 1..6
    virtual CallResult list() = 0;                             // value: one line per timer
    virtual CallResult recent() = 0;                           // value: one line per set-up
    virtual CallResult again(int number) = 0;                  // value: the slot, 1..6
    virtual CallResult hideAll() = 0;
    virtual CallResult showAll() = 0;
    virtual CallResult closeAll() = 0;
    virtual CallResult activate() = 0;
};

// Runs a command through those calls, printing what it did; the exit
// status: 0 done, 1 it could not be done, 2 a bad argument.
int runCommand(const Command& command, QuandrelCalls& calls);

// Calls to the running Quandrel over the session bus.
std::unique_ptr<QuandrelCalls> callsOverBus();

// The program's version, and the name it goes by on the desktop (its desktop
// entry, its notifications) and on the session bus.
inline const QString Version = QStringLiteral(QUANDREL_VERSION);
inline const QString AppId = QStringLiteral(QUANDREL_APP_ID);

// The name and object the running Quandrel owns on the session bus.
inline const QString BusName = AppId;
inline const QString BusPath = QStringLiteral("/io/github/quandrel/Quandrel");

} // namespace quandrel
