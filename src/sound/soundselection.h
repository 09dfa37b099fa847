#pragma once

#include "platform/services.h"
#include "platform/ticktimer.h"

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
    std::unique_ptr<TickTimer> PlayCheckTimer; // looks at the mode while a test plays

    void fillList();
    void Combo1_Click();
    void Command3_Click();
    void GetFile(std::function<void(const QString&)> picked);
    QString FileSelectedName() const;
    bool IsWavePlaying(const QString& sAlias);
    bool testPlaying() const { return waiting_; }
    // Ends a running test play ("Stop Play").
    void stopTestPlay();

private:
    void checkPlay();
    void finishTestPlay();

    Controls c_;
    Services& services_;
    const SoundForm* player_ = nullptr;
    bool waiting_ = false;
};

} // namespace quandrel
