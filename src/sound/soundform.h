#pragma once

#include "engine/slottable.h"
#include "platform/services.h"
#include "platform/ticktimer.h"
#include "sound/playwait.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

namespace quandrel {

// Where the player reads the sound of a timer window.
class SoundSource {
public:
    virtual ~SoundSource() = default;
    // The path box and list-position box of slot n's timer window; false
    // when the window has been closed.
    virtual bool windowSound(int slot, QString* path, QString* listPosition) const = 0;
};

// The hidden alert sound player. It takes the timer windows' sound requests
// one at a time, alerts before restart cycles and lower slots before higher
// ones, and plays each to its end. Nothing runs while no request waits: a
// raised request wakes PollTimer, which serves it within 50 ms.
class SoundForm final : public QObject {
    Q_OBJECT
public:
    SoundForm(SlotTable& table, Services& services, const SoundSource& source, QObject* parent = nullptr);
    ~SoundForm() override;

    std::unique_ptr<TickTimer> PollTimer; // 50 ms, enabled while a request waits
    PlayWait playWait;                    // until the sound that plays has ended
    QString WavFile;
    QString WavMode;

    // Called before an alert starts, to end a test play that holds the device.
    std::function<void()> preemptTestPlay;

    void Form_Load();
    void Form_Unload();
    void PollTimer_Timer();
    bool IsWavePlaying(const QString& sAlias);
    // True while a sequence plays or the "Sound Card Check" box is open.
    bool busy() const { return sequenceActive_ || messageOpen_; }

private:
    void wake();
    void PlayWav();
    void playNext();
    void finishPlay();

    SlotTable& table_;
    Services& services_;
    const SoundSource& source_;
    QStringList queue_;
    bool sequenceActive_ = false;
    bool messageOpen_ = false;
    bool loaded_ = false;
};

} // namespace quandrel
