#include "sound/alertplayer.h"

#include "platform/dialogs.h"
#include "platform/sounddevice.h"

#include <algorithm>

namespace quandrel {
namespace {
constexpr int AlertCutMs = 3000;
}

AlertPlayer::AlertPlayer(SlotTable& table, Services& services, const SoundSource& source, QObject* parent)
    : QObject(parent), table_(table), services_(services), source_(source),
      playWait_(
          services, [this] { return playing_ && services_.sound.isPlaying(); }, [this] { finishPlay(); })
{
    setObjectName(QStringLiteral("SoundForm"));
    pollTimer_ = services_.timers.create(TickSchedule::interval(50));
    pollTimer_->onTick = [this] { takeRequest(); };
}

AlertPlayer::~AlertPlayer()
{
    if (started_)
        table_.onSoundRequest = nullptr;
}

void AlertPlayer::start()
{
    started_ = true;
    table_.onSoundRequest = [this] { wake(); };
    wake();
}

void AlertPlayer::stop()
{
    if (!started_)
        return;
    started_ = false;
    services_.sound.stop();
    services_.sound.close();
    pollTimer_->setEnabled(false);
    playWait_.cancel();
    table_.onSoundRequest = nullptr;
    queue_.clear();
    sequenceActive_ = false;
    playing_ = false;
}

void AlertPlayer::wake()
{
    if (started_ && !busy() && table_.anySoundRequest())
        pollTimer_->setEnabled(true);
}

void AlertPlayer::takeRequest()
{
    pollTimer_->setEnabled(false);
    if (busy())
        return; // taken when the current sequence has ended (playNext wakes us)
    // Alerts before restart cycles, lower slots before higher ones.
    int slot = -1;
    bool alert = true;
    for (PerSlot<bool>* requests : {&table_.alertSoundRequest, &table_.cycleSoundRequest}) {
        const auto pending = std::find(requests->begin(), requests->end(), true);
        if (pending != requests->end()) {
            slot = int(pending - requests->begin());
            *pending = false;
            break;
        }
        alert = false;
    }
    if (slot < 0)
        return;
    const std::optional<SoundPick> sound = source_.timerSound(slot);
    if (!sound) {
        // The user closed that timer before its sound came up: nothing to play.
        wake();
        return;
    }
    queue_ = sequence(*sound, alert);
    if (beforeAlert)
        beforeAlert();
    sequenceActive_ = true;
    playNext();
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
    if (device.deviceCount() == 0) {
        messageOpen_ = true;
        services_.dialogs.message(QStringLiteral("Sound Card Check"),
                                  QStringLiteral("Your system cannot play WAV files"), MessageIcon::Information,
                                  [this] {
                                      messageOpen_ = false;
                                      if (started_)
                                          playNext();
                                  });
        return;
    }
    playing_ = device.open(path) && device.play(device.lengthMs() >= AlertCutMs ? AlertCutMs : -1);
    playWait_.begin();
}

void AlertPlayer::finishPlay()
{
    playing_ = false;
    services_.sound.close();
    playNext();
}

} // namespace quandrel
