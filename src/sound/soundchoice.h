// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/soundcatalog.h"
#include "platform/services.h"
#include "sound/playwait.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace quandrel {

class AlertPlayer;

// The "Sound Select" frame: the sound list, the picked file's name and the
// test play button. Holds the sound the next timer will play.
class SoundChoice final : public QGroupBox {
    Q_OBJECT
public:
    SoundChoice(Services& services, QWidget* parent = nullptr);
    ~SoundChoice() override;

    // The alert player, so that a test play never cuts into an alert.
    void setPlayer(const AlertPlayer* player) { player_ = player; }
    // Fills the list and chooses "None".
    void fillList();
    SoundPick pick() const { return chosen_; }
    // "Repeat until stopped": the next timer's alert sound comes again until acknowledged.
    bool repeatsAlert() const;
    QWidget* soundList() const;
    QWidget* testPlayButton() const;
    QWidget* repeatCheck() const;
    bool testPlaying() const { return playWait_.waiting(); }
    // Ends a running test play, as "Stop Play" does.
    void stopTestPlay();

signals:
    void soundListFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTestPlaying(bool playing);
    void choose(int index);
    void filePicked(const QString& file);
    void show(const SoundPick& pick);
    void testPlay();
    void finishTestPlay();

    Services& services_;
    const AlertPlayer* player_ = nullptr;
    PlayWait playWait_; // until the test sound has ended
    SoundPick chosen_;
    bool testOpen_ = false;
    QComboBox* list_ = nullptr;
    QPushButton* testButton_ = nullptr;
    QLabel* pickedFileLabel_ = nullptr;
    QCheckBox* repeatCheck_ = nullptr;
};

} // namespace quandrel
