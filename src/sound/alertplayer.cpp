// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/alertplayer.h"

#include "platform/dialogs.h"
#include "platform/sounddevice.h"
#include "sound/extraction.h"

#include <algorithm>

namespace quandrel {
namespace {
constexpr int AlertCutMs = 3000;
// The silence between two plays, so that three short beeps are heard as three.
constexpr int PlayGapMs = 400;
} // namespace

AlertPlayer::AlertPlayer(Services& services, SoundSource& source, QObject* parent)
    : QObject(parent), services_(services), source_(source),
      playWait_(
          services, [this] { return playing_ && services_.sound.isPlaying(); }, [this] { finishPlay(); })
{
    setObjectName(QStringLiteral("alertPlayer"));
    // A request is taken as soon as the event that raised it has been
    // handled, so that requests raised together are taken in slot order.
    takeTimer_ = services_.timers.create(TickSchedule::interval(1));
    takeTimer_->onTick = [this] { takeRequest(); };
    gapTimer_ = services_.timers.create(TickSchedule::interval(PlayGapMs));
    gapTimer_->onTick = [this] {
        gapTimer_->setEnabled(false);
        playNext();
    };
    for (int slot = 0; slot < SlotCount; ++slot)
        connect(&source_.timer(slot), &Timer::soundRequested, this, &AlertPlayer::wake);
}

AlertPlayer::~AlertPlayer() = default;

void AlertPlayer::start()
{
    started_ = true;
    wake();
}

void AlertPlayer::stop()
{
    if (!started_)
        return;
    started_ = false;
    services_.sound.stop();
    services_.sound.close();
    takeTimer_->setEnabled(false);
    gapTimer_->setEnabled(false);
    playWait_.cancel();
    queue_.clear();
    sequenceActive_ = false;
    playing_ = false;
}

bool AlertPlayer::anyRequest()
{
    for (int slot = 0; slot < SlotCount; ++slot) {
        if (source_.timer(slot).hasSoundRequest())
            return true;
    }
    return false;
}

void AlertPlayer::wake()
{
    if (started_ && !busy() && anyRequest())
        takeTimer_->setEnabled(true);
}

void AlertPlayer::takeRequest()
{
    takeTimer_->setEnabled(false);
    if (busy())
        return; // taken when the current sequence has ended (playNext wakes us)
    // Alerts before restart cycles, lower slots before higher ones.
    int slot = -1;
    bool alert = true;
    for (const Expiry kind : {Expiry::Final, Expiry::Restart}) {
        for (int n = 0; n < SlotCount && slot < 0; ++n) {
            if (source_.timer(n).takeSoundRequest(kind))
                slot = n;
        }
        if (slot >= 0)
            break;
        alert = false;
    }
    if (slot < 0)
        return;
    // A timer closed before its sound came up took its request with it.
    const SoundPick& sound = source_.timer(slot).sound();
    if (services_.sound.deviceCount() == 0) {
        // Said once for the whole alert; the request is taken all the same.
        sayNoSoundCard(services_.dialogs);
        wake();
        return;
    }
    queue_ = sequence(sound, alert);
    timerFile_ = sound.path;
    slot_ = slot;
    if (beforeAlert)
        beforeAlert();
    sequenceActive_ = true;
    playNext();
}

void AlertPlayer::sayNoSoundCard(Dialogs& dialogs)
{
    dialogs.message(tr("Sound Card Check"), tr("Your system cannot play WAV files"), MessageIcon::Information);
}

QStringList AlertPlayer::sequence(const SoundPick& sound, bool alert) const
{
    if (!alert)
        return {sound.path};
    if (!sound.isDish())
        return {sound.path, sound.path, sound.path};
    // A dish is announced: the ding, then the dish and "ready" three times.
    const QString ding = soundFilePath(services_.soundFolder, builtinSounds()[2]);
    const QString ready = soundFilePath(services_.soundFolder, readySound());
    return {ding, sound.path, ready, sound.path, ready, sound.path, ready};
}

void AlertPlayer::playNext()
{
    if (queue_.isEmpty()) {
        sequenceActive_ = false;
        wake();
        return;
    }
    playFile(queue_.takeFirst());
}

void AlertPlayer::playFile(const QString& path)
{
    SoundDevice& device = services_.sound;
    restoreRecording(services_.soundFolder, path);
    playing_ = device.open(path);
    if (!playing_ && path == timerFile_) {
        // The timer's sound cannot be played: the user's own file has gone or
        // changed since it was picked, or a recording could not be written
        // again. The alert is heard all the same, and the timer says why it
        // sounds so.
        const QString fallback = soundFilePath(services_.soundFolder, builtinSounds()[0]);
        queue_.replaceInStrings(path, fallback);
        source_.soundFailed(slot_);
        restoreRecording(services_.soundFolder, fallback);
        playing_ = device.open(fallback);
    }
    playing_ = playing_ && device.play(device.lengthMs() >= AlertCutMs ? AlertCutMs : -1);
    playWait_.begin();
}

void AlertPlayer::silence(int slot)
{
    if (!sequenceActive_ || slot != slot_)
        return;
    playWait_.cancel();
    gapTimer_->setEnabled(false);
    services_.sound.stop();
    services_.sound.close();
    queue_.clear();
    playing_ = false;
    sequenceActive_ = false;
    wake();
}

void AlertPlayer::finishPlay()
{
    playing_ = false;
    services_.sound.close();
    // Heard apart: the next play of the sequence, or the next alert, after a silence.
    if (!queue_.isEmpty() || anyRequest())
        gapTimer_->setEnabled(true);
    else
        playNext();
}

} // namespace quandrel
