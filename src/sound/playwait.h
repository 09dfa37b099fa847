// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/services.h"
#include "platform/ticktimer.h"

#include <QObject>

#include <functional>
#include <memory>

namespace quandrel {

// Waits, without blocking, for the open sound to stop playing. The device's
// end-of-play notice wakes it; while a sound plays it also asks the device
// every 250 ms whether it still plays, in case a notice is lost.
class PlayWait final : public QObject {
    Q_OBJECT
public:
    // stillPlaying asks the device; ended runs once when the sound has stopped.
    PlayWait(Services& services, std::function<bool()> stillPlaying, std::function<void()> ended,
             QObject* parent = nullptr);
    ~PlayWait() override;

    // Right after a play command: ends at once when nothing is playing.
    void begin();
    // Stops waiting without running ended (the caller stopped the sound).
    void cancel();
    bool waiting() const { return waiting_; }

private:
    void check();
    void finish();

    std::function<bool()> stillPlaying_;
    std::function<void()> ended_;
    std::unique_ptr<TickTimer> checkTimer_;
    bool waiting_ = false;
};

} // namespace quandrel
