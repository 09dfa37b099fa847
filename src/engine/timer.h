// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/launch.h"
#include "engine/soundcatalog.h"
#include "engine/ticks.h"
#include "engine/timerstate.h"
#include "platform/clock.h"

#include <QObject>
#include <QString>

#include <optional>

namespace quandrel {

// A timer as it is kept across runs of the program, and across restarts of
// the machine: its times with the real-time instants (durationStart,
// pausedAt, stopwatch.origin) written as wall-clock instants, UTC ms.
struct SavedTimer {
    int slot = 0;
    TimerTimes times;
    QString title;
    SoundPick sound;
    std::optional<bool> popOnTop;
    bool repeatAlert = false;
    int cycles = 0;
    bool goneOff = false;
    qint64 launchedAt = 0;           // UTC ms
    std::optional<qint64> wentOffAt; // UTC ms, when its going off was noticed late
};

// What can be done to a running timer beyond watching it.
struct TimerCommands {
    bool pause = false;   // a running count-down or count-up
    bool resume = false;  // a paused one
    bool addTime = false; // a count-down or alarm clock, running or just gone off
    int addTimeRoom = 0;  // seconds it can be given more: what keeps it within 23:59:59
    bool restart = false; // any count-down or count-up
};

// One timer of the six: what it is, its times, whether it is paused or has
// gone off, its restarts, its title and its sound. Its window shows it; the
// board drives it, the player takes its sound requests, the bus and the
// command line read it. Every change is announced.
class Timer final : public QObject {
    Q_OBJECT
public:
    explicit Timer(int slot, QObject* parent = nullptr);

    int slot() const { return slot_; }
    // Whether the slot holds a timer: from its launch until its window closes.
    bool isActive() const { return active_; }
    TimerKind kind() const { return times_.kind; }
    const TimerTimes& times() const { return times_; }
    // The title as the user typed it; empty for the default one.
    const QString& title() const { return title_; }
    // The title its window and notifications show: the typed one, or "Timer N".
    QString shownTitle() const;
    const SoundPick& sound() const { return sound_; }
    // Unset: it follows the main window's "pop on top" when it goes off.
    std::optional<bool> popOnTop() const { return popOnTop_; }
    // Its alert sound comes again until the user acknowledges it.
    bool repeatsAlert() const { return repeatAlert_; }
    bool isPaused() const { return times_.paused; }
    Phase phase() const { return phase_; }
    bool hasGoneOff() const { return phase_ == Phase::GoneOff; }
    // Restarts of an auto-restarting timer so far.
    int cycles() const { return cycles_; }

    // Takes the slot for a new timer launched at `now`, whose time of day the
    // user's format writes as launchTimeText; returns what its window shows.
    LaunchCaptions launch(const LaunchRequest& request, const ClockReading& now, const QString& launchTimeText,
                          const OffsetAt& offsetAt = {});
    // Brings back a timer saved by an earlier run, as its launch did and as
    // it was when saved; the window shows the captions. Its first tick tells
    // whether its time came meanwhile.
    LaunchCaptions restore(const SavedTimer& saved, const ClockReading& now, const QString& launchTimeText);
    SavedTimer saved(const ClockReading& now) const;
    // When it went off (UTC ms), when that was noticed late (the machine
    // slept) or it went off while Quandrel was not running.
    std::optional<qint64> wentOffLateAt() const { return wentOffLateAt_; }

    // The slot is free again; a sound request not yet taken goes with it.
    void end();
    void setTitle(const QString& title);

    // One tick of a count-down, count-up or alarm clock: the new reading, and
    // whether it went off.
    void tick(const ClockReading& now);
    // When its display next changes, on the real-time clock.
    qint64 nextTick(const ClockReading& now) const;
    // When it next goes off (or starts its next cycle), on the real-time
    // clock: the one tick a timer nobody watches needs. An alarm clock looks
    // again at least once a minute, in case the wall clock was set.
    qint64 nextEvent(const ClockReading& now) const;
    // What it reads now: the time face, the alarm's progress or the
    // stopwatch's time, as its window shows it at its next tick.
    QString reading(const ClockReading& now) const;

    // Whole seconds until it goes off: none for a stopwatch, or one that is
    // paused or has gone off.
    std::optional<qint64> secondsLeft(const ClockReading& now) const;

    TimerCommands commands(const ClockReading& now) const;
    // Each does nothing, and says so, when commands() does not offer it.
    bool pauseOrResume(const ClockReading& now);
    bool addTime(int32_t secs, const ClockReading& now);
    bool restart(const ClockReading& now);

    bool stopwatchRunning() const { return times_.stopwatchRunning; }
    void startOrStopStopwatch(qint64 nowRealMs);
    void resetStopwatch();
    // One tick of the running stopwatch; past 23:59:59 it starts from zero.
    void tickStopwatch(qint64 nowRealMs);

    // The alert asks for the timer's sound (of its end, or of a cycle); the
    // player takes the request.
    void requestSound(Expiry expiry);
    bool takeSoundRequest(Expiry expiry);
    bool hasSoundRequest() const { return alertSoundRequest_ || cycleSoundRequest_; }

signals:
    // The count-down's, count-up's or stopwatch's time face.
    void readingChanged(const QString& face);
    // The alarm clock's "N elapsed of M sec".
    void progressChanged(const QString& text);
    void pausedChanged(bool paused);
    // It ran out for good (Final), or a cycle ended and the next began (Restart).
    void wentOff(Expiry expiry);
    // Given more time or started again after it went off: its alert is over.
    void alertEnded();
    void titleChanged(const QString& shownTitle);
    void soundRequested();
    void ended();
    // Something that a saved timer keeps changed: it was launched, paused,
    // resumed, given time, restarted, retitled, went off or ended, its cycle
    // or its stopwatch moved.
    void changed();

private:
    void showNow(const ClockReading& now);
    // Keeps when it went off, if that was noticed late.
    void noteIfLate(qint64 dueUtc, const ClockReading& now);
    void endAlertIfGoneOff();

    const int slot_;
    bool active_ = false;
    TimerTimes times_;
    QString title_;
    SoundPick sound_;
    std::optional<bool> popOnTop_;
    bool repeatAlert_ = false;
    Phase phase_ = Phase::Running;
    int cycles_ = 0;
    qint64 launchedAt_ = 0;
    std::optional<qint64> wentOffLateAt_;
    // When this run brought it back from the last (UTC ms): whatever came
    // due before then went off while Quandrel was not running.
    qint64 broughtBackAt_ = 0;
    bool alertSoundRequest_ = false;
    bool cycleSoundRequest_ = false;
};

} // namespace quandrel
