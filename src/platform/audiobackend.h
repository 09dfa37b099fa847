#pragma once

#include <QString>

#include <functional>

namespace quandrel {

// What the audio command layer needs from a sound library: one sound loaded
// at a time, played without blocking, with an optional cut.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // Number of playback devices that can be used now (0: nothing can play).
    virtual int deviceCount() = 0;
    // Decodes the file at path into the one sound slot, replacing what was
    // there. False when the file is missing or cannot be decoded.
    virtual bool load(const QString& path) = 0;
    virtual void unload() = 0;
    // Play time of the loaded sound in milliseconds.
    virtual int lengthMs() const = 0;
    // Starts the loaded sound; limitMs < 0 plays it whole. Returns at once.
    virtual bool play(int limitMs) = 0;
    virtual bool isPlaying() const = 0;
    virtual void stop() = 0;

    // Called on the GUI thread when a play has ended by itself.
    std::function<void()> onFinished;
};

} // namespace quandrel
