#pragma once

#include "platform/audiocommands.h"
#include "platform/dialogs.h"
#include "platform/windowops.h"

#include <QString>

#include <chrono>
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
