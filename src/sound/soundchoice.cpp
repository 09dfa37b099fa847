// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/soundchoice.h"

#include "platform/dialogs.h"
#include "platform/sounddevice.h"
#include "sound/alertplayer.h"
#include "sound/extraction.h"

#include "platform/steadylabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace quandrel {

SoundChoice::SoundChoice(Services& services, QWidget* parent)
    : QGroupBox(tr("Sound Select"), parent), services_(services),
      playWait_(
          services, [this] { return testOpen_ && services_.sound.isPlaying(); }, [this] { finishTestPlay(); })
{
    setObjectName(QStringLiteral("soundFrame"));
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("soundList"));
    list_->setToolTip(tr("Choose sound to play when Timer goes off"));
    list_->setAccessibleDescription(list_->toolTip());
    list_->setAccessibleName(tr("Sound Select"));
    list_->setMaxVisibleItems(14);
    list_->installEventFilter(this);
    testButton_ = new QPushButton(this);
    testButton_->setObjectName(QStringLiteral("testPlayButton"));
    showTestPlaying(false);
    testButton_->setAutoDefault(true); // Enter presses it, as Space does
    pickedFileLabel_ = new QLabel(this);
    pickedFileLabel_->setObjectName(QStringLiteral("pickedFileLabel"));
    repeatCheck_ = new QCheckBox(tr("Repeat until stopped"), this);
    repeatCheck_->setObjectName(QStringLiteral("repeatAlertCheck"));
    repeatCheck_->setToolTip(tr("The alert sound comes again, with a pause, until you stop it (10 minutes at most)"));
    repeatCheck_->setAccessibleDescription(repeatCheck_->toolTip());
    auto* grid = new QGridLayout(this);
    grid->addWidget(list_, 0, 0);
    grid->addWidget(testButton_, 0, 1);
    grid->addWidget(pickedFileLabel_, 1, 0, 1, 2);
    grid->addWidget(repeatCheck_, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    // "activated" also fires when the same item is picked again, so that
    // "Play File..." opens the dialog every time.
    connect(list_, &QComboBox::activated, this, &SoundChoice::choose);
    connect(testButton_, &QPushButton::clicked, this, &SoundChoice::testPlay);
}

SoundChoice::~SoundChoice() = default;

QWidget* SoundChoice::soundList() const
{
    return list_;
}

QWidget* SoundChoice::testPlayButton() const
{
    return testButton_;
}

void SoundChoice::fillList()
{
    showTestPlaying(false);
    QStringList items = soundListItems();
    items.first() = tr("None");
    items.last() = tr("Play File...");
    list_->addItems(items);
    list_->setCurrentIndex(SoundListNone);
    choose(SoundListNone);
}

bool SoundChoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::FocusIn)
        emit soundListFocused();
    return QGroupBox::eventFilter(watched, event);
}

void SoundChoice::choose(int index)
{
    if (index == SoundListPlayFile) {
        QPointer<SoundChoice> self(this);
        services_.dialogs.openFile(tr("Select a Wave File to Open"), tr("Wave File (*.wav)|*.wav"),
                                   [self](const QString& file) {
                                       if (self)
                                           self->filePicked(file);
                                   });
        return;
    }
    if (index >= 1 && index <= int(builtinSounds().size()))
        show(builtinPick(services_.soundFolder, index));
    else
        show(SoundPick{});
}

void SoundChoice::filePicked(const QString& file)
{
    // A cancelled dialog, or a file that cannot be played, keeps the sound
    // chosen before, and the list shows it again.
    QString why;
    const bool playable = !file.isEmpty() && services_.sound.canPlay(file, &why);
    if (!file.isEmpty() && !playable) {
        services_.dialogs.message(
            QStringLiteral("Quandrel"),
            tr("The sound file %1 cannot be played: %2. The sound stays %3.")
                .arg(QDir::toNativeSeparators(file), why, chosen_.isSilent() ? tr("None") : chosen_.shownName),
            MessageIcon::Warning);
    }
    if (!playable) {
        list_->setCurrentIndex(chosen_.listIndex);
        return;
    }
    show({file, SoundListPlayFile, pickedFileName(file)});
}

void SoundChoice::show(const SoundPick& pick)
{
    chosen_ = pick;
    const bool file = pick.listIndex == SoundListPlayFile;
    showElided(pickedFileLabel_, file ? pick.shownName : QString(), fontMetrics().averageCharWidth() * 30);
    if (file)
        pickedFileLabel_->setToolTip(QDir::toNativeSeparators(pick.path));
    list_->setCurrentIndex(pick.listIndex);
}

void SoundChoice::testPlay()
{
    if (testPlaying()) {
        stopTestPlay();
        return;
    }
    if (chosen_.isSilent())
        return;
    if (player_ && player_->busy())
        return; // an alert is sounding; it keeps the device
    SoundDevice& device = services_.sound;
    if (device.deviceCount() == 0) {
        AlertPlayer::sayNoSoundCard(services_.dialogs);
        return;
    }
    showTestPlaying(true);
    restoreRecording(services_.soundFolder, chosen_.path);
    testOpen_ = device.open(chosen_.path) && device.play();
    playWait_.begin();
}

void SoundChoice::stopTestPlay()
{
    if (!testPlaying())
        return;
    playWait_.cancel();
    testOpen_ = false;
    services_.sound.stop();
    services_.sound.close();
    showTestPlaying(false);
}

void SoundChoice::finishTestPlay()
{
    testOpen_ = false;
    services_.sound.close();
    showTestPlaying(false);
}

// The button, its tooltip and what screen readers hear say what it does now.
void SoundChoice::showTestPlaying(bool playing)
{
    testButton_->setText(playing ? tr("Stop Play") : tr("Test Play"));
    testButton_->setToolTip(playing ? tr("Stop the sound") : tr("Test sound to play when Timer goes off"));
    testButton_->setAccessibleDescription(testButton_->toolTip());
}

QWidget* SoundChoice::repeatCheck() const
{
    return repeatCheck_;
}

bool SoundChoice::repeatsAlert() const
{
    return repeatCheck_->isChecked();
}

} // namespace quandrel
