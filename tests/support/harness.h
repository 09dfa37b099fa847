// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/mainwindow.h"
#include "platform/services.h"
#include "support/fakes.h"
#include "support/printers.h"
#include "support/sim.h"
#include "timerwindow/timerwindow.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimeZone>

namespace quandrel::test {

enum class Restart { Off, Auto };
enum class Direction { Down, Up };

// The whole program on fakes and a simulated clock (from 10:00:00 on 2 March 2026),
// driven as a user does, through the controls' object names.
class AppHarness {
public:
    explicit AppHarness(QTimeZone zone = QTimeZone::utc(),
                        QLocale locale = QLocale(QLocale::English, QLocale::UnitedStates),
                        const QString& soundFolder = {});
    ~AppHarness();

    ManualClock clock;
    Simulation sim{clock};
    FakeDialogs dialogs;
    FakeWindowOps windows;
    FakeSoundDevice sound;
    FakeNotifier notifier;
    QTemporaryDir dir;
    Services services;
    QPointer<MainWindow> main;

    // A control of the main window (slot -1) or of slot n's timer window.
    template <typename W = QWidget> W* find(const char* name, int slot = -1) const
    {
        QWidget* root = slot < 0 ? static_cast<QWidget*>(main) : window(slot);
        return root ? root->findChild<W*>(name) : nullptr;
    }
    QString text(const char* name, int slot = -1) const;
    // A label's text as a whole: its tooltip holds it when it is shortened.
    QString wholeText(const char* name, int slot = -1) const
    {
        return find(name, slot)->toolTip().isEmpty() ? text(name, slot) : find(name, slot)->toolTip();
    }
    bool shows(int slot, const char* name) const { return find(name, slot) && find(name, slot)->isVisible(); }
    void click(const char* name, int slot = -1) { find<QAbstractButton>(name, slot)->click(); }
    void setBars(std::initializer_list<std::pair<const char*, int>> values);
    void tick(const char* box, bool on = true);
    void type(const char* name, const QString& text, int slot = -1) { find<QLineEdit>(name, slot)->setText(text); }
    // A count-down (or count-up) of h:min:s, optionally restarting.
    void chooseDuration(int h, int min, int s, Restart restart = Restart::Off, Direction direction = Direction::Down);
    void chooseAlarm(QTime at);
    void chooseStopwatch() { tick("stopwatchCheck"); }
    void pickSound(int listIndex);
    // Presses LaunchTimer; the slot taken, or -1.
    int launch();
    TimerWindow* window(int slot) const { return main ? main->board().window(slot) : nullptr; }
    const Timer& timer(int slot) const { return main->board().timer(slot); }
    void close(int slot); // as the window's close box does
    // Right-clicks slot n's window and chooses the entry of its menu; false
    // when the menu has no such entry or it is disabled.
    bool chooseFromMenu(int slot, const QString& entry);
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

} // namespace quandrel::test
