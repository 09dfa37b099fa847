// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sounddevice.h"
#include "platform/wavefile.h"

#include <QTimer>

#include <atomic>
#include <memory>
#include <vector>

namespace quandrel {

// The sound output over SDL2's audio device, with PulseAudio, PipeWire or
// ALSA behind it. SDL is loaded when the first sound is asked for, not at
// start-up. A PCM or float wave file is read from disk as it plays, whatever
// its size; other encodings (ADPCM, A-law...) are decoded whole by SDL, up
// to a size. The device is opened on demand and closed again a few seconds
// after the last play, since an open idle device keeps waking the process.
// SDL's audio is process-wide: make one instance.
class SdlSoundDevice final : public SoundDevice {
    Q_OBJECT
public:
    explicit SdlSoundDevice(QObject* parent = nullptr);
    ~SdlSoundDevice() override;

    int deviceCount() override;
    bool canPlay(const QString& path, QString* why = nullptr) override;
    bool open(const QString& path) override;
    int lengthMs() const override;
    bool play(int limitMs = -1) override;
    bool isPlaying() const override { return active_; }
    void stop() override;
    void close() override;

    // How long the device stays open once nothing plays (3 s unless changed).
    void setIdleCloseDelay(int ms);
    bool isDeviceOpen() const { return device_ != 0; }

private:
    struct Source;
    static std::unique_ptr<Source> load(const QString& path, QString* why);
    static std::unique_ptr<Source> loadStreamed(const QString& path, const WaveFormat& wave, QString* why);
    static std::unique_ptr<Source> loadDecoded(const QString& path, const WaveFormat& wave, QString* why);
    bool openDevice();
    void closeDevice();
    void scheduleIdleClose();
    void halt();
    void fill(unsigned char* out, int len); // on the audio thread
    bool feed();                            // on the audio thread
    void playbackEnded(unsigned generation);

    QTimer idleTimer_;
    std::unique_ptr<Source> source_; // the open sound
    unsigned device_ = 0;
    int deviceCount_ = 0;
    int rateOut_ = 44100;
    int channelsOut_ = 2;
    // Shared with the audio thread; changed only under the device's lock.
    void* stream_ = nullptr; // SDL_AudioStream from the source's format to the device's
    qint64 feedLeft_ = 0;    // source bytes still to hand to the stream
    qint64 framesIn_ = 0;    // source frames handed to the stream
    qint64 bytesOut_ = 0;    // bytes the stream gave the device
    std::vector<unsigned char> buffer_;
    std::atomic<bool> active_{false};
    std::atomic<unsigned> generation_{0}; // which play an end notice belongs to
};

} // namespace quandrel
