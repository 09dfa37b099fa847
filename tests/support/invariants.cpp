#include "support/invariants.h"

#include "sound/soundform.h"
#include "sound/soundselection.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>

namespace quandrel::test {

QStringList brokenInvariants(AppHarness& h)
{
    return brokenInvariants(h.m(), h.table, h.audio.openPath);
}

namespace {
::testing::AssertionResult noneOf(const QStringList& broken)
{
    if (broken.isEmpty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << qPrintable(broken.join('\n'));
}
} // namespace

::testing::AssertionResult invariantsHold(AppHarness& h)
{
    return noneOf(brokenInvariants(h));
}

::testing::AssertionResult invariantsHold(Timermain& m, const SlotTable& t)
{
    return noneOf(brokenInvariants(m, t));
}

::testing::AssertionResult AlertAudit::clean() const
{
    return noneOf(faults);
}

QStringList brokenInvariants(Timermain& m, const SlotTable& t, const QString& heldPath)
{
    QStringList broken;
    const auto fail = [&broken](const QString& what) { broken << what; };

    int loaded = 0;
    for (int n = 0; n < SlotCount; ++n) {
        AlarmForm* f = m.ALARMFORM[size_t(n)];
        if (f && !f->isLoaded())
            f = nullptr;
        const QString slot = QStringLiteral("slot %1: ").arg(n);
        const bool alarmTick = m.Timer[size_t(Timermain::alarmTimerOf(n))]->isEnabled();
        const bool downTick = m.Timer[size_t(Timermain::countDownTimerOf(n))]->isEnabled();
        const bool upTick = m.Timer[size_t(Timermain::countUpTimerOf(n))]->isEnabled();
        if (t.SlotInUse[n] != (f ? 1 : 0))
            fail(slot + QStringLiteral("SlotInUse %1 but window %2").arg(t.SlotInUse[n]).arg(f ? "loaded" : "gone"));
        if ((t.TimerWinState[n] != WinNone) != (f != nullptr))
            fail(slot +
                 QStringLiteral("TimerWinState %1 but window %2").arg(t.TimerWinState[n]).arg(f ? "loaded" : "gone"));
        if (!f) {
            if (alarmTick || downTick || upTick)
                fail(slot + QStringLiteral("a tick timer runs for a free slot"));
            continue;
        }
        ++loaded;
        if ((t.TimerWinState[n] == WinShown) != f->isVisible())
            fail(slot + QStringLiteral("TimerWinState %1 but visible %2").arg(t.TimerWinState[n]).arg(f->isVisible()));
        const QString title = f->Text1->text().isEmpty() ? f->defaultTitle() : f->Text1->text();
        if (f->windowTitle() != title)
            fail(slot + QStringLiteral("caption '%1' for title '%2'").arg(f->windowTitle(), title));

        const bool flashing = f->Timer2->isEnabled();
        const bool banner = f->Label6->isVisibleTo(f);
        if (flashing && !banner)
            fail(slot + QStringLiteral("flashes without the EXPIRED banner"));
        if (banner && !flashing && !f->Timer3->isEnabled())
            fail(slot + QStringLiteral("EXPIRED banner without an alert running"));

        const QString kind = f->Label1->text();
        if (kind == QLatin1String("Stopwatch")) {
            if (alarmTick || downTick || upTick || flashing || f->Timer3->isEnabled())
                fail(slot + QStringLiteral("a stopwatch runs a timer's tick or alert"));
            if (f->SWTimer->isEnabled() != (f->SWStart->text() == QLatin1String("Stop")))
                fail(slot + QStringLiteral("stopwatch ticking %1 with its button '%2'")
                                .arg(f->SWTimer->isEnabled())
                                .arg(f->SWStart->text()));
            continue;
        }
        if (f->SWTimer->isEnabled())
            fail(slot + QStringLiteral("stopwatch tick on a ") + kind);
        const bool* ownTick = kind == QLatin1String("CountDown:")       ? &downTick
                              : kind == QLatin1String("CountUp:")       ? &upTick
                              : kind == QLatin1String("Alarm Set For:") ? &alarmTick
                                                                        : nullptr;
        if (!ownTick) {
            fail(slot + QStringLiteral("unknown kind '%1'").arg(kind));
            continue;
        }
        const bool own = *ownTick;
        if (int(alarmTick) + int(downTick) + int(upTick) > int(own))
            fail(slot + QStringLiteral("another kind's tick timer runs for a ") + kind);
        const bool restarts = kind != QLatin1String("Alarm Set For:") && t.AutoRestart[n] != 0;
        if (restarts) {
            if (!own || flashing)
                fail(slot + QStringLiteral("auto-restarting %1 tick %2 flashing %3").arg(kind).arg(own).arg(flashing));
        } else if (own == flashing) {
            // Stopped ticking without going off: an alert lost; or both.
            fail(slot + QStringLiteral("%1 ticking %2 and flashing %3").arg(kind).arg(own).arg(flashing));
        }
    }

    if (t.RunningCount != loaded)
        fail(QStringLiteral("RunningCount %1 for %2 loaded windows").arg(t.RunningCount).arg(loaded));
    const QString line = loaded == 1 ? QStringLiteral("There is Currently 1 Timer running")
                                     : QStringLiteral("There are Currently %1 Timers running").arg(loaded);
    if (m.Label12->text() != line)
        fail(QStringLiteral("count line '%1' for %2 windows").arg(m.Label12->text()).arg(loaded));
    if (m.Command4->isEnabled() != (loaded > 0) || m.Command5->isEnabled() != (loaded > 0))
        fail(QStringLiteral("Hide All %1 / Close All %2 with %3 windows")
                 .arg(m.Command4->isEnabled())
                 .arg(m.Command5->isEnabled())
                 .arg(loaded));

    // A waiting request is on its way to the player, only a playing sound holds the device, the test button is right.
    const SoundForm& player = *m.soundForm;
    if (t.anySoundRequest() && !player.busy() && !player.PollTimer->isEnabled())
        fail(QStringLiteral("a sound request waits but the player will not look"));
    const bool testPlaying = m.soundSelection->testPlaying();
    if ((m.Command3->text() == QLatin1String("Stop Play")) != testPlaying)
        fail(QStringLiteral("test button '%1' while test playing %2").arg(m.Command3->text()).arg(testPlaying));
    if (!heldPath.isEmpty() && !player.busy() && !testPlaying)
        fail(QStringLiteral("'%1' holds the device with nothing playing").arg(heldPath));
    return broken;
}

AlertAudit::AlertAudit(AppHarness& h) : h_(h)
{
    shadow_.unplayable = h_.audio.unplayable;
    for (int n = 0; n < SlotCount; ++n)
        loaded_[size_t(n)] = h_.form(n) != nullptr;
    inner_ = h_.table.onSoundRequest;
    h_.table.onSoundRequest = [this] {
        raised();
        if (inner_)
            inner_();
    };
}

AlertAudit::~AlertAudit()
{
    if (h_.main)
        h_.table.onSoundRequest = inner_;
}

void AlertAudit::raised()
{
    // Inside the raising tick: settle what the player took first, so a fresh request of a slot counts as its own.
    readAudio();
    readMessages();
    settle();
    for (int n = 0; n < SlotCount; ++n) {
        for (const bool alert : {true, false}) {
            const bool flag = alert ? h_.table.AlertSoundRequest[n] : h_.table.CycleSoundRequest[n];
            if (!flag)
                continue;
            // Only an alert on its first tick can have raised it just now; otherwise it is an older request.
            AlarmForm* f = h_.form(n);
            const bool mayHaveRaised = f && (alert ? f->alert.ExpiryTicks : f->alert.RestartTicks) == 1;
            const auto known = std::find_if(pending_.begin(), pending_.end(),
                                            [n, alert](const Pending& p) { return p.slot == n && p.alert == alert; });
            if (known != pending_.end()) {
                // Raised again: the same request if the first waits; a new one if its sound was heard meanwhile.
                if (!mayHaveRaised || !heard(*known))
                    continue;
                ++played;
                pending_.erase(known);
            }
            if (!mayHaveRaised) {
                faults << QStringLiteral("slot %1's request came from no alert").arg(n);
                continue;
            }
            if (f->Text2->text() == QLatin1String("None"))
                faults << QStringLiteral("slot %1 raised a request though its sound is None").arg(n);
            pending_.push_back({n, alert, f->Text2->text(), commands_, checks_, closes_[size_t(n)]});
            ++requests;
        }
    }
}

void AlertAudit::readAudio()
{
    const QStringList lines = h_.audio.take();
    shadow_.unplayable = h_.audio.unplayable;
    for (const QString& line : lines) {
        const long index = commands_++;
        if (!line.startsWith(QLatin1String("open "))) {
            shadow_.mciSendString(line);
            continue;
        }
        const QString held = shadow_.openPath;
        int error = 0;
        shadow_.mciSendString(line, &error);
        static const QString tail = QStringLiteral(" type waveaudio alias voice1");
        const QString path = line.endsWith(tail) ? line.mid(5, line.size() - 5 - tail.size()) : QString();
        ++opens;
        if (error)
            ++failedOpens;
        if (!held.isEmpty()) {
            faults << QStringLiteral("'%1' opened while '%2' still held the device").arg(path, held);
        } else if (error && !path.isEmpty() && !h_.audio.unplayable.contains(path)) {
            faults << QStringLiteral("opening the playable '%1' failed").arg(path);
        }
        opened_.push_back({index, path, error == 0 || path.isEmpty() || h_.audio.unplayable.contains(path)});
    }
}

void AlertAudit::readMessages()
{
    const auto& messages = h_.dialogs.messages;
    for (; messagesRead_ < messages.size(); ++messagesRead_) {
        if (messages[messagesRead_].title == QLatin1String("Sound Card Check"))
            ++checks_;
    }
    if (messages.size() > 1000) {
        h_.dialogs.messages.clear();
        messagesRead_ = 0;
    }
}

void AlertAudit::noteCloses()
{
    for (int n = 0; n < SlotCount; ++n) {
        const bool now = h_.form(n) != nullptr;
        if (loaded_[size_t(n)] && !now)
            ++closes_[size_t(n)];
        loaded_[size_t(n)] = now;
    }
}

bool AlertAudit::heard(const Pending& p) const
{
    return std::any_of(opened_.begin(), opened_.end(),
                       [&p](const Opened& o) { return o.command >= p.fromCommand && o.path == p.path && o.ok; });
}

void AlertAudit::settle()
{
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (it->alert ? h_.table.AlertSoundRequest[it->slot] : h_.table.CycleSoundRequest[it->slot]) {
            ++it;
            continue;
        }
        if (closes_[size_t(it->slot)] != it->closesAt)
            ++dropped; // the player found the window gone
        else
            taken_.push_back(*it);
        it = pending_.erase(it);
    }
    // A taken request plays now or, behind a dish sound's announcement, a little later.
    for (auto it = taken_.begin(); it != taken_.end();) {
        if (heard(*it)) {
            ++played;
        } else if (checks_ > it->fromCheck) {
            ++told;
        } else {
            ++it;
            continue;
        }
        it = taken_.erase(it);
    }
    long oldest = commands_;
    for (const auto* list : {&pending_, &taken_}) {
        for (const Pending& p : *list)
            oldest = std::min(oldest, p.fromCommand);
    }
    std::erase_if(opened_, [oldest](const Opened& o) { return o.command < oldest; });
}

void AlertAudit::update()
{
    noteCloses();
    readAudio();
    readMessages();
    settle();
}

void AlertAudit::drain(int maxRounds)
{
    update();
    std::vector<Pending> before = pending_;
    before.insert(before.end(), taken_.begin(), taken_.end());
    const auto same = [](const Pending& a, const Pending& b) {
        return a.slot == b.slot && a.alert == b.alert && a.fromCommand == b.fromCommand;
    };
    const auto waiting = [&](const std::vector<Pending>& list) {
        std::vector<Pending> found;
        for (const Pending& b : before) {
            if (std::any_of(list.begin(), list.end(), [&](const Pending& p) { return same(p, b); }))
                found.push_back(b);
        }
        return found;
    };
    for (int round = 0; round < maxRounds && !(waiting(pending_).empty() && waiting(taken_).empty()); ++round) {
        while (!h_.dialogs.heldMessages.isEmpty())
            h_.dialogs.closeHeldMessage();
        h_.audio.finishPlay();
        h_.sim.advance(100);
        update();
    }
    const auto describe = [](const Pending& p) {
        return QStringLiteral("slot %1's %2 request for '%3'").arg(p.slot).arg(p.alert ? "alert" : "cycle").arg(p.path);
    };
    for (const Pending& p : waiting(pending_))
        faults << describe(p) + QStringLiteral(" was never taken");
    for (const Pending& p : waiting(taken_))
        faults << describe(p) + QStringLiteral(" was taken but never played");
}

std::uint64_t journeySeed(std::uint64_t fallback)
{
    bool ok = false;
    const qulonglong seed = qgetenv("QUANDREL_JOURNEY_SEED").toULongLong(&ok, 0);
    return ok ? seed : fallback;
}

long journeySteps(long fallback)
{
    bool ok = false;
    const long steps = qgetenv("QUANDREL_JOURNEY_STEPS").toLong(&ok);
    return ok && steps > 0 ? steps : fallback;
}

} // namespace quandrel::test
