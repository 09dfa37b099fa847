// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/timerboard.h"

#include "engine/ticks.h"
#include "engine/timearith.h"
#include "platform/clock.h"
#include "platform/notifier.h"
#include "platform/timeformat.h"
#include "platform/windowops.h"
#include "timerwindow/timerwindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace quandrel {

TimerBoard::TimerBoard(Services& services, BoardOwner& owner, QObject* parent)
    : QObject(parent), services_(services), owner_(owner)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        Timer* timer = new Timer(slot);
        timers_[slot].reset(timer);
        // A duration ticks when its own second changes, an alarm clock when
        // the local clock's does.
        tickTimers_[slot] = services_.timers.create(TickSchedule::aligned([this, timer, slot](const ClockReading& now) {
            return watched(slot) ? timer->nextTick(now) : timer->nextEvent(now);
        }));
        tickTimers_[slot]->onTick = [this, timer] { timer->tick(services_.clock.now()); };
        connect(timer, &Timer::wentOff, this, [this, slot](Expiry expiry) { goOff(slot, expiry); });
        connect(timer, &Timer::alertEnded, this, [this, slot] {
            services_.notifier.withdraw(slot);
            emit alertEnded(slot);
        });
    }
    connect(&services_.notifier, &Notifier::actionInvoked, this, &TimerBoard::onNotificationAction);
}

TimerBoard::~TimerBoard()
{
    for (auto& timer : tickTimers_)
        timer->setEnabled(false);
}

TimerWindow* TimerBoard::window(int slot) const
{
    TimerWindow* w = windows_[size_t(slot)];
    return (w && w->isOpen()) ? w : nullptr;
}

int TimerBoard::firstFree() const
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (!timers_[slot]->isActive())
            return slot;
    }
    return -1;
}

int TimerBoard::runningCount() const
{
    return int(std::count_if(timers_.begin(), timers_.end(), [](const auto& timer) { return timer->isActive(); }));
}

int TimerBoard::launch(const LaunchRequest& request)
{
    const int n = firstFree();
    if (n < 0)
        return -1;
    Timer& timer = *timers_[n];
    const ClockReading now = services_.clock.now();
    const Clock& clock = services_.clock;
    const LaunchCaptions captions = timer.launch(request, now, longTimeText(now.localTime(), services_.locale),
                                                 [&clock](qint64 utcMs) { return clock.offsetAt(utcMs); });
    openWindow(n, captions);
    emit launched(request);
    return n;
}

bool TimerBoard::restore(const SavedTimer& saved)
{
    Timer& timer = *timers_[size_t(saved.slot)];
    if (timer.isActive())
        return false;
    const ClockReading now = services_.clock.now();
    const ClockReading launched{saved.launchedAt, services_.clock.offsetAt(saved.launchedAt)};
    openWindow(saved.slot, timer.restore(saved, now, longTimeText(launched.localTime(), services_.locale)));
    // Gone off meanwhile, it goes off at its first tick and says when it did.
    return true;
}

void TimerBoard::openWindow(int n, const LaunchCaptions& captions)
{
    Timer& timer = *timers_[n];
    winState_[n] = WinState::Shown;
    owner_.runningCountChanged(runningCount());

    auto* w = new TimerWindow(timer, services_, *this);
    windows_[n] = w;
    // The six places are cut for the common window: a shorter stopwatch
    // takes the top of its place, in line with its row.
    w->adjustSize();
    const QSize place = w->size();
    w->showLaunch(captions);
    if (!captions.stopwatch && !timer.isPaused())
        tickTimers_[n]->setEnabled(true);
    // Shown once its captions are in, so it is placed at its final size.
    w->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        w->move(TimerWindow::initialPosition(n, place, screen->availableGeometry()));
    w->show();
    emit watchedChanged();
}

void TimerBoard::goOff(int slot, Expiry expiry)
{
    TimerWindow* w = window(slot);
    if (!w)
        return;
    if (expiry == Expiry::Final)
        tickTimers_[slot]->setEnabled(false);
    WindowOps& ops = services_.windows;
    WindowView view;
    view.hidden = winState_[slot] == WinState::Hidden;
    view.minimized = ops.isMinimized(w);
    view.active = ops.isActive(w);
    view.appActive = ops.applicationActive();
    view.popOnTop = popOnTop(slot);
    view.canRaise = ops.canRaise();
    const Presentation presentation = presentExpiry(view);
    w->goOff(expiry, presentation);
    // One that went off while nobody could hear it is announced as well.
    if (presentation == Presentation::Notification || timers_[slot]->wentOffLateAt())
        notify(slot, expiry);
}

void TimerBoard::showClock(const QString& timeOfDay)
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (TimerWindow* w = window(slot))
            w->showClock(timeOfDay);
    }
}

bool TimerBoard::anyHidden() const
{
    return std::find(winState_.begin(), winState_.end(), WinState::Hidden) != winState_.end();
}

void TimerBoard::hideAll()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        TimerWindow* w = window(slot);
        if (w && winState_[slot] == WinState::Shown) {
            services_.windows.hide(w);
            winState_[slot] = WinState::Hidden;
            watchChanged(slot);
        }
    }
    emit hiddenChanged(anyHidden());
}

void TimerBoard::showAll()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        TimerWindow* w = window(slot);
        if (w && winState_[slot] == WinState::Hidden) {
            services_.windows.show(w);
            winState_[slot] = WinState::Shown;
            services_.notifier.withdraw(slot);
            watchChanged(slot);
        }
    }
    emit hiddenChanged(anyHidden());
}

void TimerBoard::closeAll()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (winState_[slot] == WinState::None)
            continue;
        if (TimerWindow* w = window(slot))
            w->close();
        winState_[slot] = WinState::None;
    }
}

bool TimerBoard::popOnTop(int slot) const
{
    return timers_[slot]->popOnTop().value_or(owner_.popOnTop());
}

void TimerBoard::restoreFocus()
{
    // Never take the keyboard from another program.
    if (!services_.windows.applicationActive())
        return;
    const int16_t code = lastFocus_;
    if (code >= FocusTimerTitleBase && code < FocusTimerTitleBase + SlotCount) {
        // A closed or hidden window cannot take the focus: leave it where it is.
        TimerWindow* w = window(code - FocusTimerTitleBase);
        if (w && w->isVisible())
            w->focusTitle();
        return;
    }
    owner_.focusField(code);
}

void TimerBoard::titleFocused(int slot)
{
    lastFocus_ = int16_t(FocusTimerTitleBase + slot);
}

void TimerBoard::windowClosed(int slot)
{
    services_.notifier.withdraw(slot);
    timers_[slot]->end();
    owner_.runningCountChanged(runningCount());
    tickTimers_[slot]->setEnabled(false);
    winState_[slot] = WinState::None;
    emit alertEnded(slot);
    emit hiddenChanged(anyHidden());
    emit watchedChanged();
}

bool TimerBoard::watched(int slot) const
{
    TimerWindow* w = window(slot);
    return w && winState_[slot] == WinState::Shown && !services_.windows.isMinimized(w);
}

bool TimerBoard::anyWatched() const
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (watched(slot))
            return true;
    }
    return false;
}

void TimerBoard::alertAcknowledged(int slot)
{
    services_.notifier.withdraw(slot);
    emit alertEnded(slot); // its sound stops
}

void TimerBoard::windowStateChanged(int slot)
{
    watchChanged(slot);
}

void TimerBoard::watchChanged(int slot)
{
    TickTimer& ticks = *tickTimers_[slot];
    if (ticks.isEnabled()) {
        // Back on the screen, it shows the present at once.
        if (watched(slot))
            timers_[slot]->tick(services_.clock.now());
        reschedule(slot); // unless it went off just now
    }
    emit watchedChanged();
}

void TimerBoard::reschedule(int slot)
{
    if (!tickTimers_[slot]->isEnabled())
        return;
    tickTimers_[slot]->setEnabled(false);
    tickTimers_[slot]->setEnabled(true);
}

void TimerBoard::resumed()
{
    for (int slot = 0; slot < SlotCount; ++slot)
        reschedule(slot);
}

void TimerBoard::soundFailed(int slot)
{
    if (TimerWindow* w = window(slot))
        w->showSoundFailed();
}

} // namespace quandrel
