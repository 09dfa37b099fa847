#pragma once

#include "platform/audiocommands.h"
#include "platform/dialogs.h"
#include "platform/windowops.h"

#include <QString>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

// Quiet stand-ins for the parts of the outside world that a benchmark does
// not measure: message boxes close at once, window operations do nothing and
// the audio device accepts every command without playing anything.
namespace quandrel::bench {

// Milliseconds since the epoch on the system clock, with sub-millisecond digits.
inline double wallMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

// Milliseconds that the calling thread has spent so far waiting for a CPU
// while it was ready to run (the kernel's run-queue delay); NaN when unknown.
// A rise across a wake-up says the machine, not the program, was late.
inline double runQueueWaitMs()
{
    std::FILE* file = std::fopen("/proc/thread-self/schedstat", "r");
    if (!file)
        return std::nan("");
    unsigned long long running = 0, waiting = 0;
    const int read = std::fscanf(file, "%llu %llu", &running, &waiting);
    std::fclose(file);
    return read == 2 ? double(waiting) / 1e6 : std::nan("");
}

class QuietDialogs final : public Dialogs {
public:
    void message(const QString&, const QString&, MessageIcon, std::function<void()> closed) override
    {
        if (closed)
            closed();
    }
    void openFile(const QString&, const QString&, std::function<void(const QString&)> picked) override
    {
        picked(QString());
    }
};

class QuietWindowOps final : public WindowOps {
public:
    bool isMinimized(QWidget*) override { return false; }
    void restore(QWidget*) override {}
    void setStaysOnTop(QWidget*, bool) override {}
    void raise(QWidget*) override {}
    void activate(QWidget*) override {}
    void alert(QWidget*) override {}
    bool applicationActive() override { return true; }
    void setFocus(QWidget*) override {}
};

// Answers every command with success and nothing playing, so that an alert
// sequence runs through at once.
class QuietAudio final : public AudioCommands {
public:
    QString mciSendString(const QString&, int* error = nullptr) override
    {
        if (error)
            *error = 0;
        return QString();
    }
    int waveOutGetNumDevs() override { return 1; }
};

} // namespace quandrel::bench
