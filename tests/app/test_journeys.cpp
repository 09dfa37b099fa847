// Seeded random use of the whole program on the simulated clock, every invariant checked after each step.
// Replay: QUANDREL_JOURNEY_SEED=<seed> QUANDREL_JOURNEY_STEPS=<steps> app_tests --gtest_filter='Journey.*'

#include "support/harness.h"
#include "support/invariants.h"

#include "engine/soundcatalog.h"
#include "platform/reversedscrollbar.h"
#include "sound/soundform.h"
#include "sound/soundselection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <iostream>

using namespace quandrel;
using namespace quandrel::test;

namespace {

// Files the user may pick with "Play File...": ordinary ones, awkward names, and some that cannot be played at all.
const std::vector<QString>& pickableFiles()
{
    static const std::vector<QString> files{
        QString(), // the dialog was cancelled
        QStringLiteral("/home/ana/Sounds/bell.wav"),
        QStringLiteral("/home/ana/My Sounds/door bell.WAV"),
        QStringLiteral("/home/ana/Klänge/Glöckchen am Morgen.wav"),
        QStringLiteral("/home/ana/音/鐘.wav"),
        QStringLiteral("/tmp/x type waveaudio alias y.wav"),
        QStringLiteral("/tmp/a.wav.wav"),
        QStringLiteral("/tmp/no extension"),
        QStringLiteral("/tmp/broken.wav"),
        QStringLiteral("/tmp/folder.wav"),
        QStringLiteral("/tmp/empty.wav"),
    };
    return files;
}

const QStringList& unplayableFiles()
{
    static const QStringList files{QStringLiteral("/tmp/no extension"), QStringLiteral("/tmp/broken.wav"),
                                   QStringLiteral("/tmp/folder.wav"), QStringLiteral("/tmp/empty.wav")};
    return files;
}

const std::vector<QString>& titles()
{
    static const std::vector<QString> texts{
        QString(),
        QStringLiteral("Tea"),
        QStringLiteral("Pizza out!"),
        QStringLiteral("Ünïcödé ☕ 時間"),
        QStringLiteral("&Accel %1 %n <b>bold</b>"),
        QStringLiteral("  blanks  "),
        QString(300, QLatin1Char('W')),
    };
    return texts;
}

class Journey {
public:
    explicit Journey(std::uint64_t seed) : seed_(seed), dice_(seed)
    {
        for (const QString& file : unplayableFiles())
            h.audio.unplayable.insert(file);
        h.audio.lengthsMs[QStringLiteral("/home/ana/Sounds/bell.wav")] = 4000;
        audit_ = std::make_unique<AlertAudit>(h);
        buildActions();
    }

    AppHarness h;

    // Runs steps actions; false after the first broken rule, with a report.
    bool run(long steps)
    {
        for (step_ = 1; step_ <= steps; ++step_) {
            if (h.audio.devices == 0 && dice_.chance(4))
                h.audio.devices = 1; // the device is back
            act();
            AppHarness::flushDeletes();
            audit_->update();
            if (step_ % 97 == 0)
                QCoreApplication::sendPostedEvents();
            if (step_ % 500 == 0)
                audit_->drain();
            if (!check())
                return false;
        }
        audit_->drain();
        return check();
    }

    QString report() const { return report_; }
    const AlertAudit& audit() const { return *audit_; }
    long launches = 0, closes = 0;
    qint64 simulatedMs = 0, jumpedMs = 0;

    // A digest of what the user sees and hears, to compare two runs.
    QByteArray fingerprint()
    {
        QCryptographicHash hash(QCryptographicHash::Sha256);
        for (const std::string& line : trailAll_)
            hash.addData(QByteArrayView(line.data(), qsizetype(line.size())));
        for (int n = 0; n < SlotCount; ++n) {
            if (AlarmForm* f = h.form(n))
                hash.addData((f->Label2->text() + f->Label5->text() + f->CyclesLabel->text()).toUtf8());
        }
        hash.addData(h.m().Label12->text().toUtf8());
        hash.addData(QByteArray::number(audit_->opens));
        return hash.result().toHex();
    }
    bool keepWholeTrail = false;

private:
    struct Action {
        int weight;
        const char* name;
        std::function<QString()> run; // returns a short description
    };

    void buildActions()
    {
        actions_ = {
            {300, "wait", [this] { return advance(dice_.between64(1, 1000)); }},
            {110, "wait seconds", [this] { return advance(dice_.between64(1000, 10'000)); }},
            {20, "wait a minute", [this] { return advance(dice_.between64(10'000, 120'000)); }},
            {3, "wait minutes", [this] { return advance(dice_.between64(120'000, 600'000)); }},
            {20, "set the clock", [this] { return jump(); }},
            {60, "a sound ends",
             [this] {
                 h.audio.finishPlay();
                 return QStringLiteral("finishPlay");
             }},
            {45, "launch", [this] { return launchSomething(); }},
            {10, "press LaunchTimer",
             [this] {
                 h.m().Command1->click();
                 return QStringLiteral("LaunchTimer as set");
             }},
            {40, "switch kind",
             [this] {
                 QAbstractButton* boxes[] = {h.m().Option1, h.m().Option2, h.m().Check1, h.m().Check2, h.m().Check3};
                 QAbstractButton* box = boxes[dice_.below(5)];
                 box->click();
                 return QStringLiteral("click ") + box->objectName();
             }},
            {50, "scroll", [this] { return scroll(); }},
            {20, "type alert text",
             [this] {
                 h.m().Text8_GotFocus();
                 h.m().Text8->setText(dice_.pick(titles()));
                 return QStringLiteral("Text8 '%1'").arg(h.m().Text8->text().left(20));
             }},
            {20, "type a title",
             [this] {
                 AlarmForm* f = anyWindow();
                 if (!f)
                     return QStringLiteral("no window to title");
                 f->Text1_GotFocus();
                 f->Text1->setText(dice_.pick(titles()));
                 return QStringLiteral("title %1 '%2'").arg(f->slot()).arg(f->Text1->text().left(20));
             }},
            {45, "pick a sound", [this] { return pickSound(); }},
            {30, "test play",
             [this] {
                 const QString before = h.m().Command3->text();
                 h.m().Command3->click();
                 return QStringLiteral("Command3 (%1)").arg(before);
             }},
            {40, "stopwatch button", [this] { return stopwatchButton(); }},
            {30, "close a window",
             [this] {
                 AlarmForm* f = anyWindow();
                 if (!f)
                     return QStringLiteral("no window to close");
                 const int slot = f->slot();
                 f->close();
                 ++closes;
                 return QStringLiteral("close %1").arg(slot);
             }},
            {5, "Close All",
             [this] {
                 closes += h.table.RunningCount;
                 h.m().Command5->click();
                 return QStringLiteral("Close All");
             }},
            {25, "Hide/Show All",
             [this] {
                 const QString caption = h.m().Command4->text();
                 h.m().Command4->click();
                 return caption;
             }},
            {10, "minimise",
             [this] {
                 AlarmForm* f = anyWindow();
                 if (!f)
                     return QStringLiteral("no window to minimise");
                 f->setWindowState(f->windowState() ^ Qt::WindowMinimized);
                 return QStringLiteral("minimise/restore %1").arg(f->slot());
             }},
            {10, "pop on top",
             [this] {
                 h.m().PopChk->click();
                 return QStringLiteral("pop on top %1").arg(h.m().PopChk->isChecked());
             }},
            {10, "switch programs",
             [this] {
                 h.windows.appActive = !h.windows.appActive;
                 return QStringLiteral("application active %1").arg(h.windows.appActive);
             }},
            {8, "focus the sound list",
             [this] {
                 h.m().Combo1_GotFocus();
                 return QStringLiteral("focus Combo1");
             }},
            {3, "the audio device goes away",
             [this] {
                 h.audio.devices = 0;
                 return QStringLiteral("no audio device");
             }},
            {4, "message boxes wait",
             [this] {
                 h.dialogs.holdMessages = !h.dialogs.holdMessages;
                 return QStringLiteral("hold messages %1").arg(h.dialogs.holdMessages);
             }},
            {20, "press OK",
             [this] {
                 h.dialogs.closeHeldMessage();
                 return QStringLiteral("OK on a message");
             }},
            {5, "events",
             [] {
                 QCoreApplication::processEvents();
                 return QStringLiteral("process events");
             }},
        };
        for (const Action& a : actions_)
            totalWeight_ += a.weight;
    }

    void act()
    {
        int roll = dice_.below(totalWeight_);
        for (const Action& a : actions_) {
            if (roll < a.weight) {
                const QString what = a.run();
                remember(QStringLiteral("#%1 t+%2s %3: %4")
                             .arg(step_)
                             .arg(simulatedMs / 1000)
                             .arg(QLatin1String(a.name), what)
                             .toStdString());
                return;
            }
            roll -= a.weight;
        }
    }

    void remember(std::string line)
    {
        if (keepWholeTrail)
            trailAll_.push_back(line);
        trail_.push_back(std::move(line));
        if (trail_.size() > 40)
            trail_.pop_front();
    }

    // Time passes; a sound that plays usually ends within a second or two, as the built-in recordings do.
    QString advance(qint64 ms)
    {
        for (qint64 left = ms; left > 0; left -= 1000) {
            h.sim.advance(std::min<qint64>(left, 1000));
            if (h.audio.playing && dice_.chance(60))
                h.audio.finishPlay();
        }
        simulatedMs += ms;
        return QStringLiteral("%1 ms").arg(ms);
    }

    QString jump()
    {
        static const qint64 spans[] = {1000, 60'000, 3'600'000, 86'400'000, 3 * 86'400'000LL};
        const qint64 span = spans[dice_.below(5)];
        const qint64 delta = dice_.between64(span / 2, span) * (dice_.chance(50) ? 1 : -1);
        h.clock.jump(delta);
        jumpedMs += delta;
        return QStringLiteral("clock %1%2 s").arg(delta > 0 ? "+" : "").arg(delta / 1000);
    }

    AlarmForm* anyWindow()
    {
        std::vector<AlarmForm*> open;
        for (int n = 0; n < SlotCount; ++n) {
            if (AlarmForm* f = h.form(n))
                open.push_back(f);
        }
        return open.empty() ? nullptr : open[size_t(dice_.below(int(open.size())))];
    }

    QString launchSomething()
    {
        QString what;
        switch (dice_.below(4)) {
        case 0:
        case 1: {
            const int hours = dice_.chance(90) ? 0 : dice_.between(0, 23);
            const int minutes = dice_.chance(75) ? 0 : dice_.between(0, 59);
            const int seconds = dice_.between(0, 59);
            const bool autostart = dice_.chance(35);
            const bool down = dice_.chance(50);
            if (down)
                h.chooseCountDown(hours, minutes, seconds, autostart);
            else
                h.chooseCountUp(hours, minutes, seconds, autostart);
            what = QStringLiteral("%1 %2:%3:%4%5")
                       .arg(down ? "count-down" : "count-up")
                       .arg(hours)
                       .arg(minutes)
                       .arg(seconds)
                       .arg(autostart ? " auto" : "");
            break;
        }
        case 2: {
            // Mostly soon, sometimes at any time of day.
            const QTime now = h.clock.now().localTime();
            const QTime at = dice_.chance(60) ? now.addSecs(dice_.between(0, 180))
                                              : QTime(dice_.between(0, 23), dice_.between(0, 59), dice_.between(0, 59));
            const int hour12 = at.hour() % 12 == 0 ? 12 : at.hour() % 12;
            h.chooseAlarm(hour12, at.minute(), at.second(), at.hour() >= 12);
            what = QStringLiteral("alarm %1").arg(at.toString(QStringLiteral("HH:mm:ss")));
            break;
        }
        default:
            h.chooseStopwatch();
            what = QStringLiteral("stopwatch");
            break;
        }
        const int before = h.table.RunningCount;
        h.m().Command1->click();
        if (h.table.RunningCount > before)
            ++launches;
        return what;
    }

    QString scroll()
    {
        Timermain& m = h.m();
        ReversedScrollBar* bars[] = {m.VScroll1, m.VScroll2, m.VScroll3, m.VScroll4,
                                     m.VScroll5, m.VScroll6, m.VScroll7};
        ReversedScrollBar* bar = bars[dice_.below(7)];
        if (!bar->isEnabled())
            return bar->objectName() + QStringLiteral(" is disabled");
        static const QAbstractSlider::SliderAction steps[] = {
            QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
            QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
            QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
        if (dice_.chance(50)) {
            bar->setValue(dice_.between(bar->bottom(), bar->top()));
        } else {
            bar->triggerAction(steps[dice_.below(6)]);
        }
        return bar->objectName() + QStringLiteral(" to %1").arg(bar->value());
    }

    QString pickSound()
    {
        Timermain& m = h.m();
        const int index = dice_.chance(20) ? SoundListPlayFile : dice_.below(SoundListCount);
        if (index == SoundListPlayFile)
            h.dialogs.nextPickedFile = dice_.pick(pickableFiles());
        m.Combo1->setCurrentIndex(index);
        m.Combo1_Click();
        if (index == SoundListPlayFile)
            return QStringLiteral("Play File '%1'").arg(h.dialogs.nextPickedFile);
        return QStringLiteral("sound %1").arg(m.Combo1->currentText());
    }

    QString stopwatchButton()
    {
        std::vector<AlarmForm*> watches;
        for (int n = 0; n < SlotCount; ++n) {
            AlarmForm* f = h.form(n);
            if (f && f->SWStart->isVisibleTo(f))
                watches.push_back(f);
        }
        if (watches.empty())
            return QStringLiteral("no stopwatch");
        AlarmForm* f = watches[size_t(dice_.below(int(watches.size())))];
        QPushButton* button = dice_.chance(70) ? f->SWStart : f->SWReset;
        const QString caption = button->text();
        button->click();
        return QStringLiteral("%1 %2 (%3)").arg(button->objectName()).arg(f->slot()).arg(caption);
    }

    bool check()
    {
        QStringList broken = brokenInvariants(h);
        broken += audit_->faults;
        if (broken.isEmpty())
            return true;
        std::string trail;
        for (const std::string& line : trail_)
            trail += "  " + line + "\n";
        report_ = QStringLiteral("seed %1, step %2 (replay: QUANDREL_JOURNEY_SEED=%1 QUANDREL_JOURNEY_STEPS=%2)\n"
                                 "broken: %3\nlast actions:\n%4")
                      .arg(seed_)
                      .arg(step_)
                      .arg(broken.join(QStringLiteral("; ")), QString::fromStdString(trail));
        return false;
    }

    std::uint64_t seed_;
    Dice dice_;
    std::unique_ptr<AlertAudit> audit_;
    std::vector<Action> actions_;
    int totalWeight_ = 0;
    long step_ = 0;
    std::deque<std::string> trail_;
    std::vector<std::string> trailAll_;
    QString report_;
};

TEST(Journey, RandomUseKeepsEveryRuleAndLosesNoAlert)
{
    const std::uint64_t seed = journeySeed(20261206);
    const long steps = journeySteps(3000);
    Journey j(seed);
    const bool ok = j.run(steps);
    EXPECT_TRUE(ok) << qPrintable(j.report());
    const AlertAudit& a = j.audit();
    std::cout << "[          ] seed " << seed << ", " << steps << " steps, " << j.simulatedMs / 1000
              << " s simulated, clock moved " << j.jumpedMs / 1000 << " s; " << j.launches << " launches, " << j.closes
              << " closes; " << a.requests << " sound requests: " << a.played << " played, " << a.told
              << " told no device, " << a.dropped << " dropped with their window; " << a.opens << " opens ("
              << a.failedOpens << " failed)\n";
    if (ok) {
        // A journey that never did the interesting things proves little.
        EXPECT_GT(j.launches, steps / 40);
        EXPECT_GT(a.played, 10);
        EXPECT_GT(a.failedOpens, 0);
    }
}

TEST(Journey, SameSeedSameJourney)
{
    const std::uint64_t seed = journeySeed(77) + 1;
    QByteArray first;
    for (int run = 0; run < 2; ++run) {
        Journey j(seed);
        j.keepWholeTrail = true;
        ASSERT_TRUE(j.run(300)) << qPrintable(j.report());
        const QByteArray print = j.fingerprint();
        if (run == 0)
            first = print;
        else
            EXPECT_EQ(print, first) << "seed " << seed << " did not replay the same journey";
    }
}

// The checks themselves must see a fault when there is one.

TEST(JourneyChecks, SeeATickTimerLeftRunningAndAWrongCount)
{
    AppHarness h;
    h.chooseCountDown(0, 0, 30);
    h.launch();
    EXPECT_TRUE(brokenInvariants(h).isEmpty()) << qPrintable(brokenInvariants(h).join('\n'));
    h.m().Timer[Timermain::countUpTimerOf(3)]->setEnabled(true);
    EXPECT_TRUE(brokenInvariants(h).join('\n').contains("slot 3: a tick timer runs for a free slot"));
    h.m().Timer[Timermain::countUpTimerOf(3)]->setEnabled(false);
    h.m().Label12->setText(QStringLiteral("There are Currently 0 Timers running"));
    EXPECT_FALSE(brokenInvariants(h).isEmpty());
    h.m().Command2->click();
    h.m().Timer[Timermain::countDownTimerOf(0)]->setEnabled(false); // stops without going off
    EXPECT_TRUE(brokenInvariants(h).join('\n').contains("ticking 0 and flashing 0"));
}

TEST(JourneyChecks, SeeARequestTakenWithoutItsSound)
{
    AppHarness h;
    AlertAudit audit(h);
    h.m().Combo1->setCurrentIndex(1);
    h.m().Combo1_Click();
    h.chooseCountDown(0, 0, 1);
    h.launch();
    // A player that takes requests and plays nothing.
    h.m().soundForm->PollTimer->onTick = [&h] { h.table.AlertSoundRequest.fill(false); };
    h.sim.advance(1510); // expires; the first flash raises the request
    audit.drain(5);
    ASSERT_EQ(audit.faults.size(), 1);
    EXPECT_TRUE(audit.faults[0].contains("taken but never played")) << qPrintable(audit.faults[0]);
}

TEST(JourneyChecks, SeeARequestNobodyTakes)
{
    AppHarness h;
    AlertAudit audit(h);
    h.m().Combo1->setCurrentIndex(2);
    h.m().Combo1_Click();
    h.chooseCountDown(0, 0, 1);
    h.launch();
    h.m().soundForm->PollTimer->onTick = nullptr; // a player that never looks
    h.sim.advance(1510);
    audit.drain(5);
    ASSERT_EQ(audit.faults.size(), 1);
    EXPECT_TRUE(audit.faults[0].contains("never taken")) << qPrintable(audit.faults[0]);
    h.m().soundForm->PollTimer->setEnabled(false);
    EXPECT_TRUE(brokenInvariants(h).join('\n').contains("the player will not look"));
}

} // namespace
