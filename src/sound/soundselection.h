#pragma once

#include "platform/services.h"
#include "platform/ticktimer.h"
#include "sound/playwait.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quandrel {

class SoundForm;

// The main window's sound choice: the sound list, the test play button, the
// picked file's name and the hidden path box that timer windows copy.
class SoundSelection final : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QComboBox* Combo1;
        QPushButton* Command3;
        QLabel* FilePlayLabel;
        QLineEdit* Text11;
    };
    SoundSelection(Controls controls, Services& services, QObject* parent = nullptr);
    ~SoundSelection() override;

    // The alert player, so that a test play never cuts into an alert.
    void setPlayer(const SoundForm* player) { player_ = player; }

    QString ChosenWavFile;
    PlayWait playWait; // until the test sound has ended

    void fillList();
    void Combo1_Click();
    void Command3_Click();
    void GetFile(std::function<void(const QString&)> picked);
    QString FileSelectedName() const;
    bool IsWavePlaying(const QString& sAlias);
    bool testPlaying() const { return playWait.waiting(); }
    // Ends a running test play ("Stop Play").
    void stopTestPlay();

private:
    void finishTestPlay();

    Controls c_;
    Services& services_;
    const SoundForm* player_ = nullptr;
};

} // namespace quandrel
