#include "sound/soundselection.h"

#include "engine/soundcatalog.h"
#include "platform/audiocommands.h"
#include "platform/dialogs.h"
#include "sound/soundform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace quandrel {

SoundSelection::SoundSelection(Controls controls, Services& services, QObject* parent)
    : QObject(parent),
      playWait(
          services, [this] { return IsWavePlaying(QStringLiteral("voice1")); }, [this] { finishTestPlay(); }),
      c_(controls), services_(services)
{
}

SoundSelection::~SoundSelection() = default;

void SoundSelection::fillList()
{
    c_.Combo1->addItems(soundListItems());
}

void SoundSelection::Combo1_Click()
{
    const int index = c_.Combo1->currentIndex();
    if (index == SoundListPlayFile) {
        QPointer<SoundSelection> self(this);
        GetFile([self](const QString& file) {
            if (!self)
                return;
            self->ChosenWavFile = file;
            self->c_.FilePlayLabel->setText(self->FileSelectedName());
            self->c_.Text11->setText(self->ChosenWavFile);
        });
        return;
    }
    c_.FilePlayLabel->clear();
    if (index >= 1 && index <= int(builtinSounds().size()))
        ChosenWavFile = soundFilePath(services_.soundFolder, builtinSounds()[size_t(index - 1)]);
    else
        ChosenWavFile = NoSound; // "None", or nothing selected
    c_.Text11->setText(ChosenWavFile);
}

void SoundSelection::GetFile(std::function<void(const QString&)> picked)
{
    services_.dialogs.openFile(QStringLiteral("Select a Wave File to Open"), QStringLiteral("Wave File (*.wav)|*.wav"),
                               std::move(picked));
}

QString SoundSelection::FileSelectedName() const
{
    return fileSelectedName(ChosenWavFile);
}

void SoundSelection::Command3_Click()
{
    AudioCommands& audio = services_.audio;
    if (c_.Command3->text() == QLatin1String("Stop Play")) {
        stopTestPlay();
        return;
    }
    if (ChosenWavFile == NoSound)
        return;
    if (player_ && player_->busy())
        return; // an alert is sounding; it keeps the device
    if (audio.waveOutGetNumDevs() == 0) {
        services_.dialogs.message(QStringLiteral("Sound Card Check"),
                                  QStringLiteral("Your system cannot play WAV files"), MessageIcon::Information);
        return;
    }
    c_.Command3->setText(QStringLiteral("Stop Play"));
    audio.mciSendString(QStringLiteral("open ") + mciPathArgument(ChosenWavFile) +
                        QStringLiteral(" type waveaudio alias voice1"));
    audio.mciSendString(QStringLiteral("play voice1"));
    playWait.begin();
}

void SoundSelection::stopTestPlay()
{
    if (c_.Command3->text() != QLatin1String("Stop Play"))
        return;
    services_.audio.mciSendString(QStringLiteral("stop voice1"));
    services_.audio.mciSendString(QStringLiteral("close voice1"));
    playWait.cancel();
    c_.Command3->setText(QStringLiteral("Test Play"));
}

void SoundSelection::finishTestPlay()
{
    services_.audio.mciSendString(QStringLiteral("close voice1"));
    c_.Command3->setText(QStringLiteral("Test Play"));
}

bool SoundSelection::IsWavePlaying(const QString& sAlias)
{
    return mciMode(services_.audio, sAlias) == QLatin1String("playing");
}

} // namespace quandrel
