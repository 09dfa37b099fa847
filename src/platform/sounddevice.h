// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace quandrel {

// The sound output as the program uses it: one sound open at a time, played
// without blocking, whole or cut short, and a notice when it ends by itself.
class SoundDevice : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Number of playback devices that can be used now (0: nothing can play).
    virtual int deviceCount() = 0;
    // Whether the file at path is a sound this device can play, without
    // playing it; when not, *why says what is wrong with it.
    virtual bool canPlay(const QString& path, QString* why = nullptr) = 0;
    // Opens the wave file at path. False when it is missing or cannot be
    // decoded, or while another sound is open.
    virtual bool open(const QString& path) = 0;
    // Play time of the open sound in milliseconds (0 when none is open).
    virtual int lengthMs() const = 0;
    // Starts the open sound from its beginning; limitMs < 0 plays it whole.
    // Returns at once; false when nothing is open or the device failed.
    virtual bool play(int limitMs = -1) = 0;
    virtual bool isPlaying() const = 0;
    virtual void stop() = 0;
    // Stops and forgets the open sound.
    virtual void close() = 0;

signals:
    // The sound that was played stopped by itself (it reached its end or its
    // cut); never after stop() or close().
    void playEnded();
};

} // namespace quandrel
