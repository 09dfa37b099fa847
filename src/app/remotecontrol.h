// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/commandline.h"
#include "engine/launch.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <memory>

namespace quandrel {

class MainWindow;
struct Services;

// What the running Quandrel offers on the session bus (and what a second
// start of the program uses): the methods of io.github.quandrel.Quandrel.xml,
// which the adaptor generated from that file forwards here. Slots are
// numbered 1 to 6, as the timer windows' default titles are. Errors come back
// as D-Bus errors named io.github.quandrel.Quandrel.Error.AllTimersInUse,
// .InvalidArgs and .NoSuchTimer. The bus sets the context of a call on the
// adaptor's parent, this object, so a call knows its caller here.
class RemoteControl final : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    RemoteControl(MainWindow& main, Services& services, QObject* parent = nullptr);
    ~RemoteControl() override;

    // The last error of a call made without the bus (tests, the first start).
    QString lastError() const { return lastError_; }
    // Calls made in this process, as the command line of the first start does.
    QuandrelCalls& localCalls();

    // Starts a timer; the slot it took.
    int Launch(const QVariantMap& choices);
    // One line per running timer: slot, title, kind and reading, tab-separated.
    QStringList List();
    // The set-ups launched last: number and what it is, tab-separated.
    QStringList Recent();
    // Launches the set-up of that number (1 for the newest); the slot it took.
    int Again(int number);
    void Close(int slot);
    void HideAll();
    void ShowAll();
    void CloseAll();
    void Pause(int slot);
    void Resume(int slot);
    void AddTime(int slot, int seconds);
    void Restart(int slot);
    // Brings the main window to the front.
    void Activate();

private:
    class LocalCalls;
    bool fail(const char* error, const QString& message);
    bool resolve(const QVariantMap& choices, LaunchRequest* request);
    bool checkKeys(const QVariantMap& choices);
    bool resolveSound(const QString& sound, LaunchRequest* request);
    bool callerGone();
    // Slot n (1..6) as an index, or -1 with the error sent.
    int slotIndex(int slot);

    MainWindow& main_;
    Services& services_;
    QString lastError_;
    bool badArgument_ = false;
    std::unique_ptr<LocalCalls> localCalls_;
};

} // namespace quandrel
