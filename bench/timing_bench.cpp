// SPDX-License-Identifier: GPL-3.0-or-later
// Expiry and clock-line precision in a real event loop.
//
// The whole main window runs on the real system clock and the real tick
// timers; only message boxes, window-manager calls and the sound device are
// quiet stand-ins. Timers are launched through the board at random phases of
// the second. After every tick of a display the benchmark looks at what
// changed, and times each new clock line and "EXPIRED!" banner at the moment
// its label paints.
//
//   quandrel_bench_timing [--quick] [--rounds N] [--steady SECONDS] [--seed N]

#include "app/mainwindow.h"
#include "benchstubs.h"
#include "timerwindow/timerwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <map>
#include <random>

namespace quandrel::bench {
namespace {

// A run-queue wait of this much before a tick or paint means the machine,
// not the program, made it late.
constexpr double StallMs = 2.0;

// Milliseconds that the calling thread has waited so far for a CPU while it
// was ready to run; NaN when the kernel does not say.
double runQueueWaitMs()
{
    std::FILE* file = std::fopen("/proc/thread-self/schedstat", "r");
    if (!file)
        return std::nan("");
    unsigned long long running = 0, waiting = 0;
    const int read = std::fscanf(file, "%llu %llu", &running, &waiting);
    std::fclose(file);
    return read == 2 ? double(waiting) / 1e6 : std::nan("");
}

// The real tick timers, each wrapped so that the benchmark hears of every
// tick of a display (an aligned timer) once its handler has returned, with
// the moment the tick began and the run-queue wait that preceded it.
class ProbeTimers final : public TickTimerFactory {
public:
    std::unique_ptr<TickTimer> create(TickSchedule schedule) override
    {
        const bool display = bool(schedule.nextDue);
        return std::make_unique<Probe>(*this, real_.create(std::move(schedule)), display);
    }
    // The run-queue wait since the end of the last tick.
    double waitSinceTick() const { return runQueueWaitMs() - markMs_; }

    std::function<void(double startMs, double waitMs)> afterDisplayTick;

private:
    class Probe final : public TickTimer {
    public:
        Probe(ProbeTimers& timers, std::unique_ptr<TickTimer> inner, bool display) : inner_(std::move(inner))
        {
            inner_->onTick = [this, &timers, display] {
                const double start = wallMs();
                const double waited = timers.waitSinceTick();
                if (onTick)
                    onTick();
                if (display && timers.afterDisplayTick)
                    timers.afterDisplayTick(start, waited);
                timers.markMs_ = runQueueWaitMs();
            };
        }
        void setEnabled(bool enabled) override { inner_->setEnabled(enabled); }
        bool isEnabled() const override { return inner_->isEnabled(); }

    private:
        std::unique_ptr<TickTimer> inner_;
    };

    SystemClock clock_;
    QtTickTimerFactory real_{clock_};
    double markMs_ = runQueueWaitMs();
};

// One lateness and the run-queue wait that came before it.
struct Sample {
    double lateMs;
    double waitMs;
    int run;
};

std::vector<double> lateness(const std::vector<Sample>& samples, bool withoutStalls = false)
{
    std::vector<double> values;
    for (const Sample& s : samples) {
        if (!withoutStalls || !(s.waitMs >= StallMs))
            values.push_back(s.lateMs);
    }
    return values;
}

// "01:02:03" -> 3723; -1 for anything else ("Start", "1:00:00 AM").
int faceSeconds(const QString& face)
{
    const QStringList parts = face.split(QLatin1Char(':'));
    int seconds = 0;
    bool ok = parts.size() == 3;
    for (qsizetype i = 0; ok && i < 3; ++i)
        seconds = seconds * 60 + parts[i].toInt(&ok);
    return ok ? seconds : -1;
}

// "3 elapsed of 4 sec" -> 3.
int leadingCount(const QString& progress)
{
    bool ok = false;
    const int count = progress.section(QLatin1Char(' '), 0, 0).toInt(&ok);
    return ok ? count : -1;
}

// One launched timer window.
struct Watched {
    QPointer<TimerWindow> window;
    QLabel* face = nullptr;
    QLabel* clockLine = nullptr;
    QLabel* progress = nullptr;
    QLabel* banner = nullptr;
    TimerKind kind = TimerKind::CountDown;
    int slot = 0;
    double launchedMs = 0;
    double deadlineMs = NAN; // UTC; NaN when it does not expire within the benchmark
    QString lastFace, lastClock, lastProgress;
    bool expired = false;
};

class TimingBench final : public QObject {
public:
    TimingBench(MainWindow& main, Services& services, ProbeTimers& probe, int rounds, int steadySecs, unsigned seed)
        : main_(main), services_(services), probe_(probe), rounds_(rounds), steadySecs_(steadySecs), random_(seed)
    {
        mainClock_ = main_.findChild<QLabel*>(QStringLiteral("clockLabel"));
        mainClock_->installEventFilter(this);
        lastMainClock_ = mainClock_->text();
        probe_.afterDisplayTick = [this](double start, double waited) { afterTick(start, waited); };
        active_.fill(-1);
        std::printf("Expiry rounds: %d x (4 count-downs of 2-4 s + 2 alarm clocks 3-4 s ahead)...\n", rounds_);
        std::fflush(stdout);
        QTimer::singleShot(300, this, [this] { startRound(0); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const auto it = pending_.find(watched);
            if (it != pending_.end()) {
                it->into->push_back({wallMs() - it->boundaryMs, it->waitMs + probe_.waitSinceTick(), it->run});
                pending_.erase(it);
            }
        }
        return false;
    }

private:
    struct Pending {
        std::vector<Sample>* into;
        double boundaryMs;
        double waitMs; // run-queue wait before the tick that changed the label
        int run;
    };

    int run() const { return steady_ ? rounds_ : std::max(round_, 0); }
    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    // ---- Launching ------------------------------------------------------------

    // seconds: the duration of a count-down or count-up, or how far ahead of
    // the current second an alarm clock is set.
    int launch(TimerKind kind, int seconds)
    {
        LaunchRequest request;
        request.sound = builtinPick(services_.soundFolder, 1);
        const ClockReading now = services_.clock.now();
        const qint64 target = now.localWallMs() / 1000 % 86400 + seconds;
        if (kind == TimerKind::AlarmClock && target >= 86400)
            kind = TimerKind::CountDown; // would wrap over midnight
        request.kind = kind;
        request.durationSecs = seconds;
        const int hour = int(target / 3600);
        request.alarm = {hour % 12 == 0 ? 12 : hour % 12, int(target / 60 % 60), int(target % 60), hour >= 12};
        const int slot = main_.board().launch(request);
        TimerWindow* window = slot < 0 ? nullptr : main_.board().window(slot);
        if (!window)
            return -1;

        Watched t;
        t.window = window;
        t.face = window->findChild<QLabel*>(QStringLiteral("readingLabel"));
        t.clockLine = window->findChild<QLabel*>(QStringLiteral("clockLine"));
        t.progress = window->findChild<QLabel*>(QStringLiteral("progressLine"));
        t.banner = window->findChild<QLabel*>(QStringLiteral("expiredBanner"));
        t.kind = kind;
        t.slot = slot;
        t.launchedMs = wallMs();
        const TimerTimes& times = main_.board().timer(slot).times();
        if (kind == TimerKind::CountDown && seconds < 60)
            t.deadlineMs = double(times.durationStart + 1000 * qint64(times.durationSecs));
        if (kind == TimerKind::AlarmClock && times.alarmWait <= 10) {
            const qint64 wall = times.alarmStart / 1000 * 1000 + qint64(times.alarmWait) * 1000;
            t.deadlineMs = double(wall - qint64(now.offsetSecs) * 1000);
        }
        if (kind == TimerKind::Stopwatch)
            window->findChild<QAbstractButton*>(QStringLiteral("stopwatchStartButton"))->click();
        t.lastFace = t.face->text();
        t.lastClock = t.clockLine->text();
        t.lastProgress = t.progress->text();
        t.clockLine->installEventFilter(this);
        t.banner->installEventFilter(this);
        timers_.push_back(t);
        active_[size_t(slot)] = int(timers_.size()) - 1;
        return int(timers_.size()) - 1;
    }

    void close(int index)
    {
        Watched& t = timers_[size_t(index)];
        if (active_[size_t(t.slot)] != index)
            return;
        active_[size_t(t.slot)] = -1;
        if (t.window) {
            pending_.remove(t.clockLine);
            pending_.remove(t.banner);
            t.window->close();
        }
    }

    // ---- Expiry rounds, then six long-running windows --------------------------

    void startRound(int round)
    {
        if (round == rounds_) {
            startSteady();
            return;
        }
        round_ = round;
        std::vector<std::pair<TimerKind, int>> plan;
        for (int i = 0; i < 4; ++i)
            plan.push_back({TimerKind::CountDown, uniform(2, 4)});
        for (int i = 0; i < 2; ++i)
            plan.push_back({TimerKind::AlarmClock, uniform(3, 4)});
        std::shuffle(plan.begin(), plan.end(), random_);
        roundLeft_ = int(plan.size());
        // From a random phase of the second on, a launch every 150-450 ms.
        int at = uniform(0, 999);
        for (const auto& timer : plan) {
            QTimer::singleShot(at, this, [this, round, timer] {
                if (round_ == round && launch(timer.first, timer.second) < 0)
                    --roundLeft_;
            });
            at += uniform(150, 450);
        }
        QTimer::singleShot(15000, this, [this, round] { endRound(round); });
    }

    void endRound(int round)
    {
        if (round_ != round)
            return;
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (active_[size_t(slot)] >= 0)
                close(active_[size_t(slot)]);
        }
        round_ = -1;
        QTimer::singleShot(300, this, [this, round] { startRound(round + 1); });
    }

    void startSteady()
    {
        steady_ = true;
        std::printf("Six running windows (2 count-downs, 2 count-ups, alarm clock, stopwatch) for %d s...\n",
                    steadySecs_);
        std::fflush(stdout);
        const std::pair<TimerKind, int> plan[] = {{TimerKind::CountDown, 3600},  {TimerKind::CountUp, 3600},
                                                  {TimerKind::AlarmClock, 7200}, {TimerKind::CountDown, 1800},
                                                  {TimerKind::CountUp, 1800},    {TimerKind::Stopwatch, 0}};
        int at = 0;
        for (const auto& timer : plan) {
            QTimer::singleShot(at, this, [this, timer] { launch(timer.first, timer.second); });
            at += uniform(100, 400);
        }
        QTimer::singleShot(at + steadySecs_ * 1000, this, [this] { finish(); });
    }

    // ---- After every tick of a display --------------------------------------------

    void pend(QLabel* label, std::vector<Sample>& into, double boundaryMs, double waitMs)
    {
        pending_.insert(label, {&into, boundaryMs, waitMs, run()});
    }

    // A display that went from one value to another: it should have moved by one step.
    void step(int slot, const QString& before, const QString& after, int (*value)(const QString&), int by)
    {
        const int from = value(before), to = value(after);
        if (from < 0 || to < 0 || to == from + by)
            return;
        (to == from ? repeated_ : skipped_) += std::max(1, std::abs(to - from - by));
        std::printf("  note: slot %d went from \"%s\" to \"%s\"\n", slot, qPrintable(before), qPrintable(after));
    }

    // Whatever the tick changed is what it was for; a tick that changed
    // nothing showed a second twice.
    void afterTick(double start, double waited)
    {
        const double second = 1000.0 * std::floor(start / 1000.0);
        bool changed = false;
        const bool clockTick = mainClock_->text() != lastMainClock_;
        if (clockTick) {
            changed = true;
            ++clockTicks_;
            const qint64 s = qint64(second / 1000);
            if (lastClockSecond_ >= 0 && s != lastClockSecond_ + 1) {
                (s == lastClockSecond_ ? repeated_ : skipped_) += int(std::max<qint64>(1, s - lastClockSecond_ - 1));
                std::printf("  note: the main clock went from \"%s\" to \"%s\"\n", qPrintable(lastMainClock_),
                            qPrintable(mainClock_->text()));
            }
            lastClockSecond_ = s;
            lastMainClock_ = mainClock_->text();
            pend(mainClock_, clockLate_, second, waited);
        }
        for (int index : active_) {
            if (index < 0)
                continue;
            Watched& t = timers_[size_t(index)];
            if (!t.window)
                continue;
            if (const QString face = t.face->text(); face != t.lastFace) {
                changed = true;
                ++valueChanges_;
                step(t.slot, t.lastFace, face, faceSeconds, t.kind == TimerKind::CountDown ? -1 : 1);
                t.lastFace = face;
            }
            if (const QString progress = t.progress->text(); progress != t.lastProgress) {
                changed = true;
                ++valueChanges_;
                step(t.slot, t.lastProgress, progress, leadingCount, 1);
                t.lastProgress = progress;
            }
            // A clock line under the banner is not seen, nor counted.
            const bool seen = t.clockLine->isVisible() && !t.banner->isVisible();
            if (const QString line = t.clockLine->text(); line != t.lastClock) {
                changed = true;
                t.lastClock = line;
                if (seen)
                    pend(t.clockLine, clockLate_, second, waited);
            } else if (clockTick && seen && t.launchedMs < second) {
                ++repeated_;
                std::printf("  note: slot %d's clock line showed \"%s\" twice\n", t.slot, qPrintable(line));
            }
            if (!t.expired && t.banner->isVisible()) {
                changed = true;
                t.expired = true;
                if (!std::isnan(t.deadlineMs))
                    pend(t.banner, expiry_, t.deadlineMs, waited);
                if (!steady_)
                    QTimer::singleShot(600, this, [this, index, round = round_] { closeExpired(index, round); });
            }
        }
        if (!changed) {
            ++repeated_;
            std::printf("  note: a display tick %.1f ms after the second changed nothing\n", start - second);
        }
    }

    void closeExpired(int index, int round)
    {
        if (round_ != round)
            return; // the round ran out of time and closed it already
        close(index);
        if (--roundLeft_ == 0)
            endRound(round);
    }

    // ---- Report -------------------------------------------------------------------

    static void row(const char* what, const std::vector<Sample>& samples)
    {
        for (const bool withoutStalls : {false, true}) {
            const std::vector<double> v = lateness(samples, withoutStalls);
            if (withoutStalls && v.size() == samples.size())
                break;
            std::printf("  %-40s n=%-4zu p50 %6s ms   p99 %6s ms   max %6s ms\n",
                        withoutStalls ? "  without CPU stalls" : what, v.size(), qPrintable(ms(percentile(v, 50))),
                        qPrintable(ms(percentile(v, 99))), qPrintable(ms(percentile(v, 100))));
        }
    }

    static void results(const char* key, const std::vector<Sample>& samples)
    {
        const std::vector<double> all = lateness(samples), own = lateness(samples, true);
        for (const auto& [name, value] :
             {std::pair{"p50", percentile(all, 50)}, std::pair{"p99", percentile(all, 99)},
              std::pair{"max", percentile(all, 100)}, std::pair{"own_p99", percentile(own, 99)}})
            std::printf("RESULT %s_%s_ms %s\n", key, name, qPrintable(ms(value)));
        std::printf("RESULT %s_stalls %zu\nRESULT %s_samples %zu\n", key, all.size() - own.size(), key, all.size());
    }

    void finish()
    {
        probe_.afterDisplayTick = nullptr;
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (active_[size_t(slot)] >= 0)
                close(active_[size_t(slot)]);
        }
        int expected = 0;
        for (const Watched& t : timers_)
            expected += std::isnan(t.deadlineMs) ? 0 : 1;
        const int missing = expected - int(expiry_.size());
        std::map<int, std::vector<double>> byRun;
        for (const Sample& s : clockLate_)
            byRun[s.run].push_back(s.lateMs);
        std::vector<double> runP99;
        for (const auto& [run, late] : byRun)
            runP99.push_back(percentile(late, 99));

        std::printf("\n(\"without CPU stalls\": leaving out samples before which the thread waited %.0f ms or more\n"
                    " in the kernel's run queue, i.e. was ready but another process had the CPU.)\n",
                    StallMs);
        std::printf("\n== Expiry: deadline to \"EXPIRED!\" painted (%d windows in %d rounds) ==\n", expected, rounds_);
        row("banner painted", expiry_);
        std::printf("  missing expiries: %d; over %d clock ticks and %d new faces or alarm progress lines,\n"
                    "  seconds skipped: %d, shown twice: %d\n",
                    missing, clockTicks_, valueChanges_, skipped_, repeated_);
        std::printf("\n== Clock lines: wall-clock second to the new time painted ==\n");
        row("main window and timer windows", clockLate_);
        std::printf("  p99 of each run (%zu runs): median %s ms, worst %s ms\n\n", runP99.size(),
                    qPrintable(ms(percentile(runP99, 50))), qPrintable(ms(percentile(runP99, 100))));
        results("expiry", expiry_);
        results("clock", clockLate_);
        std::printf("RESULT expiry_missing %d\nRESULT seconds_skipped %d\nRESULT seconds_repeated %d\n", missing,
                    skipped_, repeated_);
        std::printf("RESULT clock_run_p99_median_ms %s\nRESULT clock_run_p99_worst_ms %s\n",
                    qPrintable(ms(percentile(runP99, 50))), qPrintable(ms(percentile(runP99, 100))));
        std::fflush(stdout);
        main_.close();
        QTimer::singleShot(100, &QCoreApplication::quit);
    }

    MainWindow& main_;
    Services& services_;
    ProbeTimers& probe_;
    const int rounds_;
    const int steadySecs_;
    std::mt19937 random_;

    QLabel* mainClock_ = nullptr;
    QString lastMainClock_;
    qint64 lastClockSecond_ = -1;
    std::vector<Watched> timers_;
    std::array<int, SlotCount> active_{};
    QHash<QObject*, Pending> pending_;
    std::vector<Sample> expiry_, clockLate_;
    int round_ = -1;
    int roundLeft_ = 0;
    bool steady_ = false;
    int clockTicks_ = 0, valueChanges_ = 0, skipped_ = 0, repeated_ = 0;
};

// The offscreen platform warns about every timer window it sizes; keep the
// figures readable.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace
} // namespace quandrel::bench

int main(int argc, char** argv)
{
    using namespace quandrel;
    using namespace quandrel::bench;
    qInstallMessageHandler(quietMessages);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quandrel"));

    int rounds = 8;
    int steady = 15;
    unsigned seed = std::random_device{}();
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--quick")) {
            rounds = 3;
            steady = 5;
        } else if (a == QLatin1String("--rounds") && hasValue) {
            rounds = std::max(1, args[++i].toInt());
        } else if (a == QLatin1String("--steady") && hasValue) {
            steady = std::max(1, args[++i].toInt());
        } else if (a == QLatin1String("--seed") && hasValue) {
            seed = args[++i].toUInt();
        } else {
            std::fprintf(stderr, "usage: %s [--quick] [--rounds N] [--steady SECONDS] [--seed N]\n", argv[0]);
            return 2;
        }
    }
    std::printf("seed %u, platform %s\n", seed, qPrintable(QGuiApplication::platformName()));

    QTemporaryDir dir;
    ProbeTimers timers;
    QuietServices quiet(dir.path() + QStringLiteral("/sounds"), &timers);
    auto* main = new MainWindow(quiet.services);
    main->start();
    main->show();
    TimingBench bench(*main, quiet.services, timers, rounds, steady, seed);
    return app.exec();
}
