#pragma once

#include "platform/audiobackend.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace quandrel::test {

// An AudioBackend that records what it is asked to do. The test decides
// whether loads succeed and whether a sound is playing, and ends a play
// with finish().
class FakeAudioBackend final : public AudioBackend {
public:
    int deviceCount() override { return devices; }

    bool load(const QString& path) override
    {
        loadedPaths.append(path);
        loaded = loadSucceeds;
        playing = false;
        return loaded;
    }

    void unload() override
    {
        ++unloadCount;
        loaded = false;
        playing = false;
    }

    int lengthMs() const override { return loaded ? soundLengthMs : 0; }

    bool play(int limitMs) override
    {
        playLimits.push_back(limitMs);
        playing = loaded && playSucceeds;
        return playing;
    }

    bool isPlaying() const override { return playing; }

    void stop() override
    {
        ++stopCount;
        playing = false;
    }

    // The play ends by itself, as the real back end reports it.
    void finish()
    {
        playing = false;
        if (onFinished)
            onFinished();
    }

    // What the test sets.
    int devices = 1;
    bool loadSucceeds = true;
    bool playSucceeds = true;
    int soundLengthMs = 598;
    bool playing = false;

    // What the code under test did.
    bool loaded = false;
    QStringList loadedPaths;
    std::vector<int> playLimits;
    int stopCount = 0;
    int unloadCount = 0;
};

} // namespace quandrel::test
