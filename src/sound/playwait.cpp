// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/playwait.h"

#include "platform/sounddevice.h"

namespace quandrel {
namespace {
// How often a playing sound is looked at, in case its end-of-play notice is lost.
constexpr int CheckIntervalMs = 250;
} // namespace

PlayWait::PlayWait(Services& services, std::function<bool()> stillPlaying, std::function<void()> ended, QObject* parent)
    : QObject(parent), stillPlaying_(std::move(stillPlaying)), ended_(std::move(ended))
{
    checkTimer_ = services.timers.create(TickSchedule::interval(CheckIntervalMs));
    checkTimer_->onTick = [this] { check(); };
    connect(&services.sound, &SoundDevice::playEnded, this, [this] { check(); });
}

PlayWait::~PlayWait() = default;

void PlayWait::begin()
{
    if (stillPlaying_()) {
        waiting_ = true;
        checkTimer_->setEnabled(true);
        return;
    }
    finish();
}

void PlayWait::cancel()
{
    waiting_ = false;
    checkTimer_->setEnabled(false);
}

void PlayWait::check()
{
    if (waiting_ && !stillPlaying_())
        finish();
}

void PlayWait::finish()
{
    cancel();
    ended_();
}

} // namespace quandrel
