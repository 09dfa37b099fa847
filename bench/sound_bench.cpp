// SPDX-License-Identifier: GPL-3.0-or-later
// Sound latency: from an alert sound request being raised to the sound device
// starting to play it.
//
// The real alert player runs over the real SDL sound device, wrapped to note
// when play() returns. Run with SDL_AUDIODRIVER=dummy where there is no sound
// card (the default here). "Closed" requests find the audio device closed, as
// after a few idle seconds; "open" ones find it open.
//
//   quandrel_bench_sound [--quick] [--runs N]

#include "benchstubs.h"
#include "engine/timer.h"
#include "platform/sdlsounddevice.h"
#include "sound/alertplayer.h"
#include "sound/extraction.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <random>

namespace quandrel::bench {
namespace {

// Forwards to the real device and calls onPlay when a play has started.
class TimedDevice final : public SoundDevice {
public:
    explicit TimedDevice(SdlSoundDevice& inner) : inner_(inner)
    {
        connect(&inner_, &SoundDevice::playEnded, this, &SoundDevice::playEnded);
    }
    int deviceCount() override { return inner_.deviceCount(); }
    bool canPlay(const QString& path, QString* why) override { return inner_.canPlay(path, why); }
    bool open(const QString& path) override { return inner_.open(path); }
    int lengthMs() const override { return inner_.lengthMs(); }
    bool play(int limitMs) override
    {
        const bool ok = inner_.play(limitMs);
        if (ok && onPlay)
            onPlay(wallMs());
        return ok;
    }
    bool isPlaying() const override { return inner_.isPlaying(); }
    void stop() override { inner_.stop(); }
    void close() override { inner_.close(); }

    std::function<void(double returnedMs)> onPlay;

private:
    SdlSoundDevice& inner_;
};

// Six timers, of which the first runs with the sound under test.
class OneSound final : public SoundSource {
public:
    explicit OneSound(SoundPick pick)
    {
        for (int slot = 0; slot < SlotCount; ++slot)
            timers_[slot] = std::make_unique<quandrel::Timer>(slot);
        LaunchRequest request;
        request.kind = TimerKind::CountDown;
        request.sound = std::move(pick);
        timers_[0]->launch(request, ClockReading{}, QString());
    }
    quandrel::Timer& timer(int slot) override { return *timers_[slot]; }
    void soundFailed(int) override {}

private:
    PerSlot<std::unique_ptr<quandrel::Timer>> timers_;
};

class SoundBench final : public QObject {
public:
    SoundBench(SoundSource& source, AlertPlayer& player, SdlSoundDevice& sdl, TimedDevice& timed, int runs)
        : source_(source), player_(player), sdl_(sdl), runs_(runs)
    {
        timed.onPlay = [this](double returned) { played(returned); };
        QTimer::singleShot(100, this, [this] { next(); });
    }

private:
    bool closedRun() const { return count_ < runs_; }

    void next()
    {
        if (count_ == 2 * runs_) {
            report();
            QCoreApplication::quit();
            return;
        }
        // A closed run lets the device close as soon as nothing plays; an open
        // one keeps it open for the usual few seconds.
        sdl_.setIdleCloseDelay(closedRun() ? 0 : 3000);
        if (closedRun() && sdl_.isDeviceOpen()) {
            QTimer::singleShot(20, this, [this] { next(); });
            return;
        }
        if (!closedRun() && !sdl_.isDeviceOpen())
            sdl_.deviceCount(); // opens it, as an earlier alert would have
        waiting_ = true;
        raisedMs_ = wallMs();
        source_.timer(0).requestSound(Expiry::Final);
        QTimer::singleShot(2000, this, [this, n = count_] {
            if (waiting_ && count_ == n) {
                std::printf("  request %d never started to play\n", n + 1);
                ++failed_;
                finishRun();
            }
        });
    }

    void played(double returnedMs)
    {
        if (!waiting_)
            return;
        (closedRun() ? closed_ : open_).push_back(returnedMs - raisedMs_);
        waiting_ = false;
        // Let it be heard briefly, then end the sequence.
        QTimer::singleShot(150, this, [this] { finishRun(); });
    }

    void finishRun()
    {
        waiting_ = false;
        player_.stop();
        player_.start();
        ++count_;
        QTimer::singleShot(std::uniform_int_distribution<int>(50, 250)(random_), this, [this] { next(); });
    }

    void report() const
    {
        const auto print = [](const char* key, const std::vector<double>& values) {
            const QString median = ms(percentile(values, 50)), worst = ms(percentile(values, 100));
            std::printf("  device %-6s request raised -> play() returned: median %s ms, worst %s ms (%zu requests)\n",
                        key, qPrintable(median), qPrintable(worst), values.size());
            std::printf("RESULT sound_%s_median_ms %s\nRESULT sound_%s_max_ms %s\n", key, qPrintable(median), key,
                        qPrintable(worst));
        };
        print("closed", closed_);
        print("open", open_);
        std::printf("RESULT sound_failed %d\n", failed_);
        std::fflush(stdout);
    }

    SoundSource& source_;
    AlertPlayer& player_;
    SdlSoundDevice& sdl_;
    const int runs_;
    std::mt19937 random_{std::random_device{}()};
    std::vector<double> closed_, open_;
    int count_ = 0;
    int failed_ = 0;
    bool waiting_ = false;
    double raisedMs_ = 0;
};

} // namespace
} // namespace quandrel::bench

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    int runs = 12;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--quick")) {
            runs = 5;
        } else if (args[i] == QLatin1String("--runs") && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else {
            std::fprintf(stderr, "usage: %s [--quick] [--runs N]\n", argv[0]);
            return 2;
        }
    }

    using namespace quandrel;
    using namespace quandrel::bench;
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/sounds");
    if (!extractRecordings(folder).isEmpty()) {
        std::fprintf(stderr, "could not write the recordings to %s\n", qPrintable(folder));
        return 1;
    }
    SdlSoundDevice sdl;
    if (sdl.deviceCount() == 0) {
        std::fprintf(stderr, "no audio device (try SDL_AUDIODRIVER=dummy)\n");
        return 1;
    }
    TimedDevice timed(sdl);
    QuietServices quiet(folder, nullptr, &timed);
    OneSound source(builtinPick(folder, 1));
    AlertPlayer player(quiet.services, source);
    player.start();
    std::printf("SDL_AUDIODRIVER=%s, sound \"%s\"\n", qgetenv("SDL_AUDIODRIVER").constData(),
                qPrintable(builtinPick(folder, 1).shownName));

    SoundBench bench(source, player, sdl, timed, runs);
    const int rc = app.exec();
    player.stop();
    return rc;
}
