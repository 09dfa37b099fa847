// Expiry and clock-line precision in a real event loop.
//
// The whole main window runs on the real system clock and the real tick
// timers; only message boxes, window-manager calls and the audio device are
// quiet stand-ins. Timers are launched through the setup panel's controls at
// random phases of the second, and every change of a watched label is timed
// at the moment the label paints it.
//
//   quandrel_bench_timing [--quick] [--rounds N] [--steady SECONDS] [--seed N]

#include "app/timermain.h"
#include "benchstubs.h"
#include "engine/slottable.h"
#include "platform/clock.h"
#include "platform/reversedscrollbar.h"
#include "platform/services.h"
#include "platform/ticktimer.h"
#include "probetimers.h"
#include "stats.h"
#include "timerwindow/alarmform.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace quandrel::bench {
namespace {

enum class Kind { CountDown, CountUp, Alarm, Stopwatch };

// What a label change is timed against.
enum class Line { MainClock, WindowClock, Face, AlarmProgress, Floor };

// A run-queue wait of this much before a tick or paint means the machine,
// not the program, made it late.
constexpr double StallMs = 2.0;

struct Pending {
    Line line;
    int run;
    double boundaryMs;
    double waitMs; // run-queue delay of the tick that set the text
};

// One lateness measurement and the CPU wait that came before it.
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

int stalls(const std::vector<Sample>& samples)
{
    return int(std::count_if(samples.begin(), samples.end(), [](const Sample& s) { return s.waitMs >= StallMs; }));
}

// One launched timer window.
struct Window {
    QPointer<AlarmForm> form;
    int slot = 0;
    int run = 0;
    Kind kind = Kind::CountDown;
    int seconds = 0;         // duration, or the alarm's wait
    double originMs = 0;     // instant the face counts from
    double deadlineMs = NAN; // expiry instant; NaN when it does not expire here
    int lastValue = 0;       // last face or progress value
    QString lastClockLine;
    double launchedMs = 0;    // when the window was loaded
    bool clockTicked = false; // its clock line has had a tick
    double tickMs = NAN;      // expiry tick began
    double tickWaitMs = 0;    // run-queue delay before the expiry tick
    double paintWaitMs = 0;   // and up to the banner's paint
    double shownMs = NAN;     // banner made visible
    double paintedMs = NAN;   // banner painted
    bool closed = false;
};

int faceSeconds(const QString& face)
{
    const QStringList parts = face.split(QLatin1Char(':'));
    if (parts.size() != 3)
        return -1;
    return parts[0].toInt() * 3600 + parts[1].toInt() * 60 + parts[2].toInt();
}

class TimingBench final : public QObject {
public:
    TimingBench(Timermain& main, SlotTable& table, const Clock& clock, ProbeTimerFactory& probe, int rounds,
                int steadySecs, unsigned seed)
        : main_(main), table_(table), clock_(clock), probe_(probe), rounds_(rounds), steadySecs_(steadySecs),
          random_(seed)
    {
        probe.afterTick = [this](const TickTimer* timer, double start, double waited) {
            tickWait_ = waited;
            afterTick(timer, start);
        };
        main_.Label2->installEventFilter(this);
        active_.fill(-1);
    }

    void start()
    {
        std::printf("Platform floor: a bare label set from a precise QTimer...\n");
        std::fflush(stdout);
        floorLabel_ = new QLabel(QStringLiteral("floor"));
        floorLabel_->setAttribute(Qt::WA_DeleteOnClose);
        floorLabel_->resize(200, 40);
        floorLabel_->installEventFilter(this);
        floorLabel_->show();
        QTimer::singleShot(300, this, [this] { floorStep(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            const double now = wallMs();
            const double waited = probe_.waitSinceMark();
            const auto it = pending_.find(watched);
            if (it != pending_.end()) {
                lateness_[it->line].push_back({now - it->boundaryMs, it->waitMs + waited, it->run});
                pending_.erase(it);
            }
            const auto owner = bannerOwner_.find(watched);
            if (owner != bannerOwner_.end()) {
                Window& w = windows_[size_t(*owner)];
                if (!std::isnan(w.shownMs) && std::isnan(w.paintedMs)) {
                    w.paintedMs = now;
                    w.paintWaitMs = w.tickWaitMs + waited;
                }
            }
        } else if (event->type() == QEvent::Show) {
            const auto owner = bannerOwner_.find(watched);
            if (owner != bannerOwner_.end()) {
                Window& w = windows_[size_t(*owner)];
                if (std::isnan(w.shownMs))
                    w.shownMs = wallMs();
            }
        }
        return false;
    }

private:
    // ---- Platform floor ------------------------------------------------

    void floorStep()
    {
        const int samples = rounds_ >= 6 ? 80 : 40;
        if (floorCount_ == samples) {
            floorLabel_->close();
            QTimer::singleShot(200, this, [this] { startRound(0); });
            return;
        }
        const int delay = uniform(20, 120);
        const double due = wallMs() + delay;
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        probe_.mark();
        connect(timer, &QTimer::timeout, this, [this, timer, due] {
            const double now = wallMs();
            tickWait_ = probe_.waitSinceMark();
            floorTimer_.push_back({now - due, tickWait_, 0});
            floorLabel_->setText(QString::number(++floorCount_));
            setPending(floorLabel_, Line::Floor, due);
            probe_.mark();
            timer->deleteLater();
            QTimer::singleShot(uniform(5, 30), this, [this] { floorStep(); });
        });
        timer->start(delay);
    }

    // ---- Launching through the setup panel -------------------------------

    int uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    void setDuration(int h, int min, int s)
    {
        main_.VScroll1->setValue(h);
        main_.VScroll2->setValue(min);
        main_.VScroll3->setValue(s);
    }

    // Launches a window of the given kind; seconds is the duration of a
    // count-down or count-up, or how far ahead of the current second an alarm
    // clock is set.
    int launch(Kind kind, int seconds, int run)
    {
        const ClockReading now = clock_.now();
        if (kind == Kind::Alarm) {
            const qint64 secondOfDay = (qint64(std::floor(double(now.localWallMs()) / 1000.0)) % 86400 + 86400) % 86400;
            const qint64 target = secondOfDay + seconds;
            if (target >= 86400) {
                kind = Kind::CountDown; // would wrap over midnight
            } else {
                const int hour = int(target / 3600);
                main_.Check2->setChecked(true);
                main_.VScroll4->setValue(hour % 12 == 0 ? 12 : hour % 12);
                main_.VScroll5->setValue(int(target / 60 % 60));
                main_.VScroll6->setValue(int(target % 60));
                main_.VScroll7->setValue(hour >= 12 ? 2 : 1);
            }
        }
        if (kind == Kind::CountDown || kind == Kind::CountUp) {
            (kind == Kind::CountDown ? main_.Option2 : main_.Option1)->setChecked(true);
            main_.Check1->setChecked(false);
            setDuration(seconds / 3600, seconds / 60 % 60, seconds % 60);
        } else if (kind == Kind::Stopwatch) {
            main_.Check3->setChecked(true);
        }

        const int slot = table_.findFreeSlot();
        if (slot < 0)
            return -1;
        main_.Command1->click();
        AlarmForm* form = main_.ALARMFORM[size_t(slot)];
        if (!form)
            return -1;

        Window w;
        w.form = form;
        w.slot = slot;
        w.run = run;
        w.kind = kind;
        w.seconds = seconds;
        w.lastClockLine = form->Label4->text();
        w.launchedMs = wallMs();
        switch (kind) {
        case Kind::CountDown:
            w.originMs = double(table_.DurationStart[size_t(slot)]);
            w.lastValue = table_.DurationSecs[size_t(slot)];
            if (w.seconds < 60)
                w.deadlineMs = w.originMs + 1000.0 * table_.DurationSecs[size_t(slot)];
            break;
        case Kind::CountUp:
            w.originMs = double(table_.DurationStart[size_t(slot)]);
            break;
        case Kind::Alarm: {
            const qint64 startWall = table_.AlarmStart[size_t(slot)];
            const qint64 deadlineWall =
                qint64(std::floor(double(startWall) / 1000.0)) * 1000 + qint64(table_.AlarmWait[size_t(slot)]) * 1000;
            w.seconds = table_.AlarmWait[size_t(slot)];
            if (w.seconds <= 10)
                w.deadlineMs = double(deadlineWall - qint64(now.offsetSecs) * 1000);
            break;
        }
        case Kind::Stopwatch:
            form->SWStart->click();
            w.originMs = double(form->stopwatch.SwStartTime);
            break;
        }
        const int index = int(windows_.size());
        windows_.push_back(w);
        active_[size_t(slot)] = index;
        form->Label2->installEventFilter(this);
        form->Label4->installEventFilter(this);
        form->Label5->installEventFilter(this);
        form->Label6->installEventFilter(this);
        bannerOwner_.insert(form->Label6, index);
        return index;
    }

    void closeWindow(int index)
    {
        Window& w = windows_[size_t(index)];
        if (w.closed)
            return;
        w.closed = true;
        if (w.form) {
            bannerOwner_.remove(w.form->Label6);
            for (QObject* label : {w.form->Label2, w.form->Label4, w.form->Label5, w.form->Label6})
                pending_.remove(label);
            w.form->close();
        }
        if (active_[size_t(w.slot)] == index)
            active_[size_t(w.slot)] = -1;
    }

    // ---- Expiry rounds ----------------------------------------------------

    void startRound(int round)
    {
        if (round == 0) {
            std::printf("Expiry rounds: %d x (4 count-downs of 2-4 s + 2 alarm clocks 2-4 s ahead)...\n", rounds_);
            std::fflush(stdout);
        }
        if (round == rounds_) {
            startSteady();
            return;
        }
        round_ = round;
        plan_.clear();
        for (int i = 0; i < 4; ++i)
            plan_.push_back({Kind::CountDown, uniform(2, 4)});
        for (int i = 0; i < 2; ++i)
            plan_.push_back({Kind::Alarm, uniform(3, 4)});
        std::shuffle(plan_.begin(), plan_.end(), random_);
        roundWindows_.clear();
        // Start at a random phase of the second.
        QTimer::singleShot(uniform(0, 999), this, [this, round] { launchNext(round, 0); });
        QTimer::singleShot(15000, this, [this, round] {
            if (round_ == round)
                finishRound(round);
        });
    }

    void launchNext(int round, int i)
    {
        if (round_ != round || i >= int(plan_.size()))
            return;
        const int index = launch(plan_[size_t(i)].first, plan_[size_t(i)].second, round);
        if (index >= 0)
            roundWindows_.push_back(index);
        if (i + 1 < int(plan_.size()))
            QTimer::singleShot(uniform(150, 450), this, [this, round, i] { launchNext(round, i + 1); });
    }

    void expired(int index)
    {
        QTimer::singleShot(600, this, [this, index] {
            closeWindow(index);
            if (steady_)
                return;
            for (int i : roundWindows_) {
                if (!windows_[size_t(i)].closed)
                    return;
            }
            if (int(roundWindows_.size()) == int(plan_.size()))
                finishRound(round_);
        });
    }

    void finishRound(int round)
    {
        if (round_ != round)
            return;
        for (int i : roundWindows_)
            closeWindow(i);
        round_ = -1;
        QTimer::singleShot(300, this, [this, round] { startRound(round + 1); });
    }

    // ---- Six long-running windows ------------------------------------------

    void startSteady()
    {
        steady_ = true;
        std::printf("Six running windows (2 count-downs, 2 count-ups, alarm clock, stopwatch) for %d s...\n",
                    steadySecs_);
        std::fflush(stdout);
        const std::vector<std::pair<Kind, int>> plan{{Kind::CountDown, 3600}, {Kind::CountUp, 3600},
                                                     {Kind::Alarm, 7200},     {Kind::CountDown, 1800},
                                                     {Kind::CountUp, 1800},   {Kind::Stopwatch, 0}};
        auto step = std::make_shared<std::function<void(size_t)>>();
        *step = [this, plan, step](size_t i) {
            if (i == plan.size()) {
                QTimer::singleShot(steadySecs_ * 1000, this, [this] { finish(); });
                return;
            }
            launch(plan[i].first, plan[i].second, rounds_);
            QTimer::singleShot(uniform(100, 400), this, [step, i] { (*step)(i + 1); });
        };
        (*step)(0);
    }

    // ---- Ticks ------------------------------------------------------------

    void setPending(QObject* label, Line line, double boundaryMs)
    {
        const int run = steady_ ? rounds_ : std::max(round_, 0);
        if (pending_.contains(label))
            ++overwritten_; // changed again before it was painted: a value never shown
        pending_.insert(label, {line, run, boundaryMs, tickWait_});
    }

    void afterTick(const TickTimer* timer, double start)
    {
        if (timer == main_.generalclock.get()) {
            clockTick(start);
            return;
        }
        for (int slot = 0; slot < SlotCount; ++slot) {
            const int index = active_[size_t(slot)];
            if (index < 0)
                continue;
            Window& w = windows_[size_t(index)];
            if (!w.form || w.closed)
                continue;
            if (timer == main_.Timer[size_t(Timermain::countDownTimerOf(slot))].get() ||
                timer == main_.Timer[size_t(Timermain::countUpTimerOf(slot))].get() || timer == w.form->SWTimer.get())
                faceTick(index, start);
            else if (timer == main_.Timer[size_t(Timermain::alarmTimerOf(slot))].get())
                alarmTick(index, start);
        }
    }

    void countStep(int previous, int value, int step)
    {
        ++valueTicks_;
        if (value == previous)
            ++repeated_;
        else if (value != previous + step)
            skipped_ += std::abs(value - previous) - 1;
        if (value != previous + step)
            std::printf("  note: a display went from %d to %d\n", previous, value);
    }

    void clockTick(double start)
    {
        const qint64 second = qint64(std::floor(start / 1000.0));
        const double boundary = double(second) * 1000.0;
        clockTickLate_.push_back({start - boundary, tickWait_, 0});
        const QString text = main_.Label2->text();
        ++clockTicks_;
        if (lastClockSecond_ >= 0) {
            if (second == lastClockSecond_ || text == lastClockText_)
                ++clockRepeated_;
            else if (second > lastClockSecond_ + 1)
                clockSkipped_ += int(second - lastClockSecond_ - 1);
            if (second != lastClockSecond_ + 1 || text == lastClockText_)
                std::printf("  note: the main clock went from \"%s\" to \"%s\" (tick %.1f ms after the second)\n",
                            qPrintable(lastClockText_), qPrintable(text), start - boundary);
        }
        lastClockSecond_ = second;
        lastClockText_ = text;
        setPending(main_.Label2, Line::MainClock, boundary);
        for (int index : active_) {
            if (index < 0)
                continue;
            Window& w = windows_[size_t(index)];
            if (!w.form || w.closed || !w.form->Label4->isVisible() || w.form->Label6->isVisible())
                continue;
            const QString line = w.form->Label4->text();
            // A window loaded after the second began already shows that second.
            const bool loadedThisSecond = !w.clockTicked && w.launchedMs >= boundary;
            w.clockTicked = true;
            if (line == w.lastClockLine && !loadedThisSecond) {
                ++clockRepeated_;
                std::printf("  note: a clock line showed \"%s\" twice (tick %.1f ms after the second)\n",
                            qPrintable(line), start - boundary);
            } else if (line == w.lastClockLine)
                continue;
            else
                setPending(w.form->Label4, Line::WindowClock, boundary);
            w.lastClockLine = line;
        }
    }

    void faceTick(int index, double start)
    {
        Window& w = windows_[size_t(index)];
        const int value = faceSeconds(w.form->Label2->text());
        countStep(w.lastValue, value, w.kind == Kind::CountDown ? -1 : 1);
        w.lastValue = value;
        const double boundary = w.originMs + 1000.0 * std::floor((start - w.originMs) / 1000.0);
        faceTickLate_.push_back({start - boundary, tickWait_, 0});
        setPending(w.form->Label2, Line::Face, boundary);
        checkExpiry(index, start);
    }

    void alarmTick(int index, double start)
    {
        Window& w = windows_[size_t(index)];
        const int value = w.form->Label5->text().section(QLatin1Char(' '), 0, 0).toInt();
        countStep(w.lastValue, value, 1);
        w.lastValue = value;
        const double boundary = 1000.0 * std::floor(start / 1000.0);
        faceTickLate_.push_back({start - boundary, tickWait_, 0});
        setPending(w.form->Label5, Line::AlarmProgress, boundary);
        checkExpiry(index, start);
    }

    void checkExpiry(int index, double start)
    {
        Window& w = windows_[size_t(index)];
        if (!std::isnan(w.tickMs) || !w.form->Label6->isVisible())
            return;
        w.tickMs = start;
        w.tickWaitMs = tickWait_;
        if (std::isnan(w.shownMs))
            w.shownMs = wallMs();
        expired(index);
    }

    // ---- Report -----------------------------------------------------------

    void finish()
    {
        for (size_t i = 0; i < windows_.size(); ++i)
            closeWindow(int(i));
        report();
        main_.close();
        QTimer::singleShot(100, qApp, &QCoreApplication::quit);
    }

    // All samples, then those that did not wait for a CPU first.
    static void line3(const char* what, const std::vector<Sample>& samples)
    {
        const std::vector<double> all = lateness(samples);
        std::printf("  %-44s n=%-4zu p50 %6s ms   p99 %6s ms   max %6s ms\n", what, all.size(),
                    qPrintable(ms(percentile(all, 50))), qPrintable(ms(percentile(all, 99))),
                    qPrintable(ms(maximum(all))));
        const int stalled = stalls(samples);
        if (stalled > 0) {
            const std::vector<double> own = lateness(samples, true);
            std::printf("  %-44s n=%-4zu p50 %6s ms   p99 %6s ms   max %6s ms\n", "  without CPU stalls", own.size(),
                        qPrintable(ms(percentile(own, 50))), qPrintable(ms(percentile(own, 99))),
                        qPrintable(ms(maximum(own))));
        }
    }

    static void result(const char* key, double value) { std::printf("RESULT %s %s\n", key, qPrintable(ms(value))); }

    static std::vector<Sample> joined(const std::vector<Sample>& a, const std::vector<Sample>& b)
    {
        std::vector<Sample> all = a;
        all.insert(all.end(), b.begin(), b.end());
        return all;
    }

    // p99 of each run's samples.
    static std::vector<double> runP99(const std::vector<Sample>& samples)
    {
        std::map<int, std::vector<double>> byRun;
        for (const Sample& s : samples)
            byRun[s.run].push_back(s.lateMs);
        std::vector<double> values;
        for (const auto& [run, late] : byRun)
            values.push_back(percentile(late, 99));
        return values;
    }

    void report()
    {
        std::vector<Sample> expiryPaint, expiryShow, expiryTick;
        int expected = 0, missing = 0;
        std::map<Kind, int> kinds;
        for (const Window& w : windows_) {
            if (std::isnan(w.deadlineMs))
                continue;
            ++expected;
            ++kinds[w.kind];
            if (std::isnan(w.tickMs) || std::isnan(w.paintedMs)) {
                ++missing;
                continue;
            }
            expiryPaint.push_back({w.paintedMs - w.deadlineMs, w.paintWaitMs, w.run});
            expiryShow.push_back({w.shownMs - w.deadlineMs, w.tickWaitMs, w.run});
            expiryTick.push_back({w.tickMs - w.deadlineMs, w.tickWaitMs, w.run});
        }
        std::map<int, std::vector<double>> expiryByRun;
        for (const Sample& s : expiryPaint)
            expiryByRun[s.run].push_back(s.lateMs);
        std::vector<double> roundWorst;
        for (const auto& [run, values] : expiryByRun)
            roundWorst.push_back(maximum(values));
        const std::vector<Sample> clockAll = joined(lateness_[Line::MainClock], lateness_[Line::WindowClock]);
        const std::vector<double> clockRunP99 = runP99(clockAll);

        std::printf("\n(\"without CPU stalls\": leaving out samples before which the thread waited %.0f ms or more\n"
                    " in the kernel's run queue, i.e. was ready but another process had the CPU.)\n",
                    StallMs);
        std::printf("\n== Platform floor (bare QLabel, precise QTimer, same event loop) ==\n");
        line3("timer callback after its due time", floorTimer_);
        line3("label painted after the timer's due time", lateness_[Line::Floor]);

        std::printf(
            "\n== Expiry: deadline to \"EXPIRED!\" (%d windows: %d count-downs, %d alarm clocks; %d rounds) ==\n",
            expected, kinds[Kind::CountDown], kinds[Kind::Alarm], rounds_);
        line3("banner painted (what the window shows)", expiryPaint);
        line3("banner made visible (in the tick handler)", expiryShow);
        line3("expiry tick began", expiryTick);
        std::printf("  worst window of each round: median %s ms, worst %s ms; missing expiries: %d\n",
                    qPrintable(ms(median(roundWorst))), qPrintable(ms(maximum(roundWorst))), missing);

        std::printf("\n== Displayed seconds ==\n");
        std::printf("  timer faces and alarm progress: %d ticks, %d skipped, %d shown twice\n", valueTicks_, skipped_,
                    repeated_);
        std::printf("  clock lines: %d clock ticks, %d seconds skipped, %d shown twice\n", clockTicks_, clockSkipped_,
                    clockRepeated_);
        std::printf("  values changed again before being painted: %d\n", overwritten_);
        line3("face change painted after its second", lateness_[Line::Face]);
        line3("alarm progress painted after its second", lateness_[Line::AlarmProgress]);
        line3("face/progress tick began after its second", faceTickLate_);

        std::printf("\n== Clock lines: wall-clock second to the line painted ==\n");
        line3("main window (Label2)", lateness_[Line::MainClock]);
        line3("timer windows (Label4)", lateness_[Line::WindowClock]);
        line3("all clock lines", clockAll);
        line3("clock tick began", clockTickLate_);
        std::printf("  p99 of each run (%zu runs): median %s ms, worst %s ms\n", clockRunP99.size(),
                    qPrintable(ms(median(clockRunP99))), qPrintable(ms(maximum(clockRunP99))));

        std::printf("\n");
        result("floor_paint_p50_ms", percentile(lateness(lateness_[Line::Floor]), 50));
        result("floor_paint_p99_ms", percentile(lateness(lateness_[Line::Floor]), 99));
        result("floor_paint_max_ms", maximum(lateness(lateness_[Line::Floor])));
        std::printf("RESULT floor_stalls %d\n", stalls(lateness_[Line::Floor]));
        result("expiry_p50_ms", percentile(lateness(expiryPaint), 50));
        result("expiry_p99_ms", percentile(lateness(expiryPaint), 99));
        result("expiry_max_ms", maximum(lateness(expiryPaint)));
        result("expiry_own_p99_ms", percentile(lateness(expiryPaint, true), 99));
        result("expiry_own_max_ms", maximum(lateness(expiryPaint, true)));
        std::printf("RESULT expiry_stalls %d\n", stalls(expiryPaint));
        result("expiry_round_worst_median_ms", median(roundWorst));
        result("expiry_round_worst_max_ms", maximum(roundWorst));
        std::printf("RESULT expiry_samples %zu\n", expiryPaint.size());
        std::printf("RESULT expiry_missing %d\n", missing);
        std::printf("RESULT seconds_skipped %d\n", skipped_ + clockSkipped_);
        std::printf("RESULT seconds_repeated %d\n", repeated_ + clockRepeated_);
        result("clock_p50_ms", percentile(lateness(clockAll), 50));
        result("clock_p99_ms", percentile(lateness(clockAll), 99));
        result("clock_max_ms", maximum(lateness(clockAll)));
        result("clock_own_p99_ms", percentile(lateness(clockAll, true), 99));
        result("clock_own_max_ms", maximum(lateness(clockAll, true)));
        std::printf("RESULT clock_stalls %d\n", stalls(clockAll));
        result("clock_run_p99_median_ms", median(clockRunP99));
        result("clock_run_p99_worst_ms", maximum(clockRunP99));
        std::printf("RESULT clock_samples %zu\n", clockAll.size());
        std::fflush(stdout);
    }

    Timermain& main_;
    SlotTable& table_;
    const Clock& clock_;
    ProbeTimerFactory& probe_;
    const int rounds_;
    const int steadySecs_;
    std::mt19937 random_;

    QPointer<QLabel> floorLabel_;
    int floorCount_ = 0;
    std::vector<Sample> floorTimer_;

    std::vector<Window> windows_;
    std::array<int, SlotCount> active_{};
    QHash<QObject*, int> bannerOwner_;
    QHash<QObject*, Pending> pending_;
    std::map<Line, std::vector<Sample>> lateness_;
    std::vector<Sample> faceTickLate_, clockTickLate_;
    double tickWait_ = 0;

    int round_ = -1;
    bool steady_ = false;
    std::vector<std::pair<Kind, int>> plan_;
    std::vector<int> roundWindows_;

    int valueTicks_ = 0, skipped_ = 0, repeated_ = 0;
    int clockTicks_ = 0, clockSkipped_ = 0, clockRepeated_ = 0;
    qint64 lastClockSecond_ = -1;
    QString lastClockText_;
    int overwritten_ = 0;
};

} // namespace
} // namespace quandrel::bench

namespace {

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

int main(int argc, char** argv)
{
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
        const QString next = i + 1 < args.size() ? args[i + 1] : QString();
        if (a == QLatin1String("--quick")) {
            rounds = 3;
            steady = 5;
        } else if (a == QLatin1String("--rounds")) {
            rounds = std::max(1, next.toInt());
            ++i;
        } else if (a == QLatin1String("--steady")) {
            steady = std::max(1, next.toInt());
            ++i;
        } else if (a == QLatin1String("--seed")) {
            seed = next.toUInt();
            ++i;
        } else {
            std::fprintf(stderr, "usage: %s [--quick] [--rounds N] [--steady SECONDS] [--seed N]\n", argv[0]);
            return 2;
        }
    }
    std::printf("seed %u, platform %s\n", seed, qPrintable(QGuiApplication::platformName()));

    using namespace quandrel;
    using namespace quandrel::bench;
    QTemporaryDir dir;
    SystemClock clock;
    QtTickTimerFactory realTimers(clock);
    ProbeTimerFactory timers(realTimers);
    QuietDialogs dialogs;
    QuietWindowOps windows;
    QuietAudio audio;
    Services services{
        clock, timers, dialogs, windows, audio, QLocale::system(), dir.path() + QStringLiteral("/sounds")};
    SlotTable table;

    auto* mainWindow = new Timermain(table, services);
    mainWindow->Form_Load();
    mainWindow->show();

    TimingBench bench(*mainWindow, table, clock, timers, rounds, steady, seed);
    bench.start();
    return app.exec();
}
