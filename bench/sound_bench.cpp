// Sound latency: from an alert sound request being raised to the SDL back end
// starting to play it.
//
// The real sound player (SoundForm) and command layer run over the real SDL
// back end, wrapped to time its calls. Run with SDL_AUDIODRIVER=dummy where
// there is no sound card (set by default here). "Cold" requests find the
// audio device closed, as after a few idle seconds; "warm" ones find it open.
//
//   quandrel_bench_sound [--quick] [--runs N]

#include "benchstubs.h"
#include "engine/slottable.h"
#include "engine/soundcatalog.h"
#include "platform/audiobackend.h"
#include "platform/audiocommands.h"
#include "platform/clock.h"
#include "platform/sdlaudiobackend.h"
#include "platform/services.h"
#include "platform/ticktimer.h"
#include "sound/extraction.h"
#include "sound/soundform.h"
#include "stats.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace quandrel::bench {
namespace {

// Forwards to the real back end and notes when each call began and ended.
class TimedBackend final : public AudioBackend {
public:
    explicit TimedBackend(SdlAudioBackend& inner) : inner_(inner)
    {
        inner_.onFinished = [this] {
            if (onFinished)
                onFinished();
        };
    }
    ~TimedBackend() override { inner_.onFinished = nullptr; }

    int deviceCount() override
    {
        if (std::isnan(firstCall))
            firstCall = wallMs();
        return inner_.deviceCount();
    }
    bool load(const QString& path) override
    {
        if (std::isnan(firstCall))
            firstCall = wallMs();
        loadBegan = wallMs();
        const bool ok = inner_.load(path);
        loadEnded = wallMs();
        return ok;
    }
    void unload() override { inner_.unload(); }
    int lengthMs() const override { return inner_.lengthMs(); }
    bool play(int limitMs) override
    {
        playBegan = wallMs();
        const bool ok = inner_.play(limitMs);
        playEnded = wallMs();
        if (ok && onPlayStarted)
            onPlayStarted();
        return ok;
    }
    bool isPlaying() const override { return inner_.isPlaying(); }
    void stop() override { inner_.stop(); }

    // The first call of a request (the player asks for the device count
    // first, which opens a closed device), then the load and the play.
    double firstCall = NAN, loadBegan = NAN, loadEnded = NAN, playBegan = NAN, playEnded = NAN;
    std::function<void()> onPlayStarted;

private:
    SdlAudioBackend& inner_;
};

class OneSound final : public SoundSource {
public:
    explicit OneSound(QString path) : path_(std::move(path)) {}
    bool windowSound(int, QString* path, QString* listPosition) const override
    {
        *path = path_;
        *listPosition = QStringLiteral("1");
        return true;
    }

private:
    QString path_;
};

struct Sample {
    double total, wait, open, load, play;
    bool deviceWasOpen;
};

class SoundBench final : public QObject {
public:
    SoundBench(SlotTable& table, SoundForm& form, SdlAudioBackend& sdl, TimedBackend& timed, int runs)
        : table_(table), form_(form), sdl_(sdl), timed_(timed), runs_(runs)
    {
        timed_.onPlayStarted = [this] { played(); };
    }

    void start()
    {
        QTimer::singleShot(100, this, [this] { next(); });
    }

private:
    bool cold() const { return count_ < runs_; }

    void next()
    {
        if (count_ == 2 * runs_) {
            report();
            QCoreApplication::quit();
            return;
        }
        // Cold requests let the device close as soon as nothing plays; warm
        // ones keep it open for the default few seconds.
        sdl_.setIdleCloseDelay(cold() ? 0 : 3000);
        if (!cold() && !sdl_.isDeviceOpen())
            sdl_.deviceCount(); // opens the device, as an earlier alert would have
        if (cold() && sdl_.isDeviceOpen()) {
            QTimer::singleShot(20, this, [this] { next(); });
            return;
        }
        waiting_ = true;
        deviceWasOpen_ = sdl_.isDeviceOpen();
        timed_.firstCall = timed_.loadBegan = timed_.loadEnded = timed_.playBegan = timed_.playEnded = NAN;
        raised_ = wallMs();
        table_.raiseAlertSound(0);
        QTimer::singleShot(2000, this, [this, n = count_] {
            if (waiting_ && count_ == n) {
                std::printf("  request %d never started to play\n", n + 1);
                ++failed_;
                finishRun();
            }
        });
    }

    void played()
    {
        if (!waiting_)
            return;
        samples_.push_back({timed_.playEnded - raised_, timed_.firstCall - raised_, timed_.loadBegan - timed_.firstCall,
                            timed_.loadEnded - timed_.loadBegan, timed_.playEnded - timed_.playBegan, deviceWasOpen_});
        // Let the sound be heard briefly, then end the sequence.
        QTimer::singleShot(150, this, [this] { finishRun(); });
        waiting_ = false;
    }

    void finishRun()
    {
        waiting_ = false;
        // Ends the sequence. The player keeps the last mode it read, which
        // would hold back the next request as if a sound still played: it
        // never reloads in the program, so clear it here.
        form_.Form_Unload();
        form_.WavMode.clear();
        form_.Form_Load();
        ++count_;
        QTimer::singleShot(std::uniform_int_distribution<int>(50, 250)(random_), this, [this] { next(); });
    }

    void report()
    {
        for (int pass = 0; pass < 2; ++pass) {
            const bool warm = pass == 1;
            std::vector<double> total, wait, open, load, play;
            for (const Sample& s : samples_) {
                if (s.deviceWasOpen != warm)
                    continue;
                total.push_back(s.total);
                wait.push_back(s.wait);
                open.push_back(s.open);
                load.push_back(s.load);
                play.push_back(s.play);
            }
            std::printf("\n== Sound latency, device %s (%zu requests) ==\n", warm ? "open (warm)" : "closed (cold)",
                        total.size());
            auto row = [](const char* what, const std::vector<double>& v) {
                std::printf("  %-44s median %6s ms   max %6s ms\n", what, qPrintable(ms(median(v))),
                            qPrintable(ms(maximum(v))));
            };
            row("request raised -> play() returned", total);
            row("  of which: waiting for the player's poll", wait);
            row("  of which: device count (opens the device)", open);
            row("  of which: read + decode (load)", load);
            row("  of which: play()", play);
            const char* key = warm ? "sound_warm" : "sound_cold";
            std::printf("RESULT %s_median_ms %s\n", key, qPrintable(ms(median(total))));
            std::printf("RESULT %s_max_ms %s\n", key, qPrintable(ms(maximum(total))));
        }
        std::printf("RESULT sound_failed %d\n", failed_);
        std::fflush(stdout);
    }

    SlotTable& table_;
    SoundForm& form_;
    SdlAudioBackend& sdl_;
    TimedBackend& timed_;
    const int runs_;
    std::mt19937 random_{std::random_device{}()};
    std::vector<Sample> samples_;
    int count_ = 0;
    int failed_ = 0;
    bool waiting_ = false;
    bool deviceWasOpen_ = false;
    double raised_ = 0;
};

} // namespace
} // namespace quandrel::bench

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quandrel"));

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
    const CatalogSound& sound = builtinSounds()[0];
    std::printf("SDL_AUDIODRIVER=%s, sound \"%s\"\n", qgetenv("SDL_AUDIODRIVER").constData(), sound.listItem);

    SystemClock clock;
    QtTickTimerFactory timers(clock);
    QuietDialogs dialogs;
    QuietWindowOps windows;
    SdlAudioBackend sdl;
    TimedBackend timed(sdl);
    MciCommandLayer audio(timed);
    Services services{clock, timers, dialogs, windows, audio, QLocale::system(), folder};
    SlotTable table;
    OneSound source(soundFilePath(folder, sound));
    SoundForm form(table, services, source);
    form.Form_Load();
    if (audio.waveOutGetNumDevs() == 0) {
        std::fprintf(stderr, "no audio device (try SDL_AUDIODRIVER=dummy)\n");
        return 1;
    }

    SoundBench bench(table, form, sdl, timed, runs);
    bench.start();
    const int rc = app.exec();
    form.Form_Unload();
    return rc;
}
