// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/soundcatalog.h"
#include "engine/timer.h"
#include "platform/services.h"
#include "platform/ticktimer.h"
#include "sound/playwait.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace quandrel {

// Where the player finds the sound of a timer.
class SoundSource {
public:
    virtual ~SoundSource() = default;
    // Slot n's timer, whose sound requests the player takes.
    virtual Timer& timer(int slot) = 0;
    // Slot n's sound could not be played; the Bleep recording played instead.
    virtual void soundFailed(int slot) = 0;
};

// Plays the sounds the timers ask for. It takes the requests one at a time,
// alerts before restart cycles and lower slots before higher ones, and plays
// each to its end: an alert three times (cut at 3 s), a dish sound as an
// announcement, a cycle once, with a short silence between two plays.
// Nothing runs while no request waits: a raised request wakes the player,
// which takes it at once.
class AlertPlayer final : public QObject {
    Q_OBJECT
public:
    AlertPlayer(Services& services, SoundSource& source, QObject* parent = nullptr);
    ~AlertPlayer() override;

    // Called before an alert starts, to end a test play that holds the device.
    std::function<void()> beforeAlert;

    void start();
    // Silences the sound and takes no more requests.
    void stop();
    // Silences slot n's alert if it is sounding (its timer was closed).
    void silence(int slot);
    // The box that says no sound can be played here.
    static void sayNoSoundCard(Dialogs& dialogs);
    // True while a sequence plays.
    bool busy() const { return sequenceActive_; }

private:
    bool anyRequest();
    void wake();
    void takeRequest();
    QStringList sequence(const SoundPick& sound, bool alert) const;
    void playFile(const QString& path);
    void playNext();
    void finishPlay();

    Services& services_;
    SoundSource& source_;
    std::unique_ptr<TickTimer> takeTimer_; // enabled while a request waits
    std::unique_ptr<TickTimer> gapTimer_;  // the silence before the next play
    PlayWait playWait_;                    // until the sound that plays has ended
    QStringList queue_;
    int slot_ = -1;     // whose sequence plays
    QString timerFile_; // the sound of the timer whose sequence plays
    bool playing_ = false;
    bool sequenceActive_ = false;
    bool started_ = false;
};

} // namespace quandrel
