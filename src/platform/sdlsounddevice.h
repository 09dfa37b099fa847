#pragma once

#include "platform/sounddevice.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

struct Mix_Chunk;

namespace quandrel {

// The sound output over SDL2_mixer. The audio device is opened on demand and
// closed again a few seconds after the last play, since an open idle device
// keeps waking the process. The mixer is process-wide: make one instance.
class SdlSoundDevice final : public SoundDevice {
    Q_OBJECT
public:
    explicit SdlSoundDevice(QObject* parent = nullptr);
    ~SdlSoundDevice() override;

    int deviceCount() override;
    bool open(const QString& path) override;
    void close() override;
    int lengthMs() const override;
    bool play(int limitMs = -1) override;
    bool isPlaying() const override;
    void stop() override;

    // How long the device stays open once nothing plays (3 s unless changed).
    void setIdleCloseDelay(int ms);
    bool isDeviceOpen() const { return deviceOpen_; }

private:
    bool openDevice();
    void closeDevice();
    void closeIfIdle();
    void scheduleIdleClose();
    bool decode();
    void freeChunk();
    void channelDone();
    static void channelFinished(int channel);

    QTimer idleTimer_;
    bool open_ = false;
    QByteArray wave_;            // the open file; decoded again after the device was closed
    Mix_Chunk* chunk_ = nullptr; // wave_ in the device's format while the device is open
    int lengthMs_ = 0;
    int deviceCount_ = 0;
    bool deviceOpen_ = false;
    bool awaitingEnd_ = false; // a play was started and has neither ended nor been stopped
};

} // namespace quandrel
