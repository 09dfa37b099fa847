#include "sound/soundform.h"

#include "engine/soundcatalog.h"
#include "engine/timearith.h"
#include "platform/audiocommands.h"
#include "platform/dialogs.h"

namespace quandrel {

SoundForm::SoundForm(SlotTable& table, Services& services, const SoundSource& source, QObject* parent)
    : QObject(parent),
      playWait(
          services, [this] { return IsWavePlaying(QStringLiteral("voice1")); }, [this] { finishPlay(); }),
      table_(table), services_(services), source_(source)
{
    setObjectName(QStringLiteral("SoundForm"));
    PollTimer = services_.timers.create(TickSchedule::interval(50));
    PollTimer->onTick = [this] { PollTimer_Timer(); };
}

SoundForm::~SoundForm()
{
    if (table_.onSoundRequest)
        table_.onSoundRequest = nullptr;
}

void SoundForm::Form_Load()
{
    loaded_ = true;
    table_.onSoundRequest = [this] { wake(); };
    wake();
}

void SoundForm::Form_Unload()
{
    if (!loaded_)
        return;
    loaded_ = false;
    services_.audio.mciSendString(QStringLiteral("stop voice1"));
    services_.audio.mciSendString(QStringLiteral("close voice1"));
    PollTimer->setEnabled(false);
    playWait.cancel();
    table_.onSoundRequest = nullptr;
    queue_.clear();
    sequenceActive_ = false;
    WavMode.clear();
}

void SoundForm::wake()
{
    if (loaded_ && !busy() && table_.anySoundRequest())
        PollTimer->setEnabled(true);
}

void SoundForm::PollTimer_Timer()
{
    int slot = -1;
    bool alertRequest = false;
    for (int n = 0; n < SlotCount && slot < 0; ++n) {
        if (table_.AlertSoundRequest[n]) {
            slot = n;
            alertRequest = true;
        }
    }
    for (int n = 0; n < SlotCount && slot < 0; ++n) {
        if (table_.CycleSoundRequest[n])
            slot = n;
    }
    if (slot < 0) {
        PollTimer->setEnabled(false);
        return;
    }
    if (WavMode == QLatin1String("playing") || busy()) {
        // Taken when the current sequence has ended (playNext wakes us).
        PollTimer->setEnabled(false);
        return;
    }
    (alertRequest ? table_.AlertSoundRequest : table_.CycleSoundRequest)[slot] = false;
    PollTimer->setEnabled(false);

    QString path, listPosition;
    if (!source_.windowSound(slot, &path, &listPosition)) {
        // The user closed that timer before its sound came up: nothing to play.
        wake();
        return;
    }
    queue_.clear();
    if (alertRequest) {
        const int position = leadingNumber(listPosition);
        if (position >= FirstDishSound && position <= LastDishSound) {
            const QString ding = soundFilePath(services_.soundFolder, builtinSounds()[2]);
            const QString ready = soundFilePath(services_.soundFolder, readySound());
            queue_ << ding << path << ready << path << ready << path << ready;
        } else {
            queue_ << path << path << path;
        }
    } else {
        queue_ << path;
    }
    if (preemptTestPlay)
        preemptTestPlay();
    sequenceActive_ = true;
    playNext();
}

void SoundForm::playNext()
{
    if (queue_.isEmpty()) {
        sequenceActive_ = false;
        wake();
        return;
    }
    WavFile = queue_.takeFirst();
    PlayWav();
}

void SoundForm::PlayWav()
{
    AudioCommands& audio = services_.audio;
    if (audio.waveOutGetNumDevs() == 0) {
        messageOpen_ = true;
        services_.dialogs.message(QStringLiteral("Sound Card Check"),
                                  QStringLiteral("Your system cannot play WAV files"), MessageIcon::Information,
                                  [this] {
                                      messageOpen_ = false;
                                      if (loaded_)
                                          playNext();
                                  });
        return;
    }
    audio.mciSendString(QStringLiteral("open ") + mciPathArgument(WavFile) +
                        QStringLiteral(" type waveaudio alias voice1"));
    audio.mciSendString(QStringLiteral("set voice1 time format ms"));
    const int length = leadingNumber(audio.mciSendString(QStringLiteral("status voice1 length")));
    if (length >= 3000)
        audio.mciSendString(QStringLiteral("play voice1 from 0 to 3000"));
    else
        audio.mciSendString(QStringLiteral("play voice1"));
    playWait.begin();
}

void SoundForm::finishPlay()
{
    services_.audio.mciSendString(QStringLiteral("close voice1"));
    playNext();
}

bool SoundForm::IsWavePlaying(const QString& sAlias)
{
    WavMode = mciMode(services_.audio, sAlias);
    return WavMode == QLatin1String("playing");
}

} // namespace quandrel
