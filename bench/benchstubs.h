// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/notifier.h"
#include "platform/services.h"
#include "platform/sounddevice.h"
#include "platform/ticktimer.h"
#include "platform/windowops.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

// Quiet stand-ins for the parts of the outside world that a benchmark does
// not measure (message boxes close at once, window operations and the sound
// do nothing), and the few helpers the benchmarks share.
namespace quandrel::bench {

// Milliseconds since the epoch on the system clock, with sub-millisecond digits.
inline double wallMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(system_clock::now().time_since_epoch()).count();
}

// Nearest-rank percentile (p in 0..100); NaN when there is no value.
inline double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    const double rank = std::clamp(std::ceil(p / 100.0 * double(values.size())), 1.0, double(values.size()));
    return values[size_t(rank) - 1];
}

inline QString ms(double value)
{
    return std::isnan(value) ? QStringLiteral("n/a") : QString::number(value, 'f', 1);
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
    bool isActive(QWidget*) override { return false; }
    bool canRaise() override { return true; }
    void hide(QWidget* window) override { window->hide(); }
    void show(QWidget* window) override { window->show(); }
};

// A device that takes every sound and has finished it at once, so that an
// alert sequence runs through without a sound card.
class QuietSound final : public SoundDevice {
public:
    int deviceCount() override { return 1; }
    bool canPlay(const QString&, QString*) override { return true; }
    bool open(const QString&) override { return true; }
    int lengthMs() const override { return 0; }
    bool play(int) override { return true; }
    bool isPlaying() const override { return false; }
    void stop() override {}
    void close() override {}
};

class QuietNotifier final : public Notifier {
public:
    void show(int, const Notification&) override {}
    void withdraw(int) override {}
};

// The services of the real program on the real clock and timers, with the
// quiet stand-ins above. A benchmark may put its own timers or sound device
// in their place.
struct QuietServices {
    explicit QuietServices(const QString& soundFolder, TickTimerFactory* ownTimers = nullptr,
                           SoundDevice* ownSound = nullptr)
        : services{clock,
                   ownTimers ? *ownTimers : realTimers,
                   dialogs,
                   windows,
                   ownSound ? *ownSound : sound,
                   notifier,
                   QLocale::system(),
                   soundFolder,
                   {}, // the benchmarks keep no timers between runs
                   {}}
    {
    }
    SystemClock clock;
    QtTickTimerFactory realTimers{clock};
    QuietDialogs dialogs;
    QuietWindowOps windows;
    QuietSound sound;
    QuietNotifier notifier;
    Services services;
};

} // namespace quandrel::bench
