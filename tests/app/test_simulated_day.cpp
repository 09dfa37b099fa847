// A day in the life: six auto-restarting timers of different lengths run for
// 24 hours of simulated time. Every cycle is counted once and sounds once,
// no cycle drifts from the clock, and nothing grows.

#include "support/harness.h"
#include "support/invariants.h"

#include "engine/soundcatalog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>

#include <iostream>
#include <map>

using namespace quandrel;
using namespace quandrel::test;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool underAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool underAddressSanitizer = true;
#else
constexpr bool underAddressSanitizer = false;
#endif
#else
constexpr bool underAddressSanitizer = false;
#endif

// Resident memory of this process, from /proc/self/statm.
qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

int objectsUnder(AppHarness& h)
{
    int count = int(h.m().findChildren<QObject*>().size());
    for (int n = 0; n < SlotCount; ++n) {
        if (AlarmForm* f = h.form(n))
            count += int(f->findChildren<QObject*>().size());
    }
    return count;
}

struct Cycler {
    int seconds;
    bool countDown;
    int sound; // list position; each timer has its own
    AlarmForm* window;
    QString soundPath;
};

TEST(SimulatedDay, SixRestartingTimersCountEveryCycleOnceWithoutDriftOrGrowth)
{
    AppHarness h;
    std::vector<Cycler> timers{{5, true, 1, nullptr, {}},    {7, false, 2, nullptr, {}},
                               {13, true, 3, nullptr, {}},   {61, false, 4, nullptr, {}},
                               {1023, true, 5, nullptr, {}}, {3601, false, 6, nullptr, {}}};
    for (Cycler& t : timers) {
        h.m().Combo1->setCurrentIndex(t.sound);
        h.m().Combo1_Click();
        t.soundPath = soundFilePath(h.services.soundFolder, builtinSounds()[size_t(t.sound - 1)]);
        if (t.countDown)
            h.chooseCountDown(t.seconds / 3600, t.seconds / 60 % 60, t.seconds % 60, true);
        else
            h.chooseCountUp(t.seconds / 3600, t.seconds / 60 % 60, t.seconds % 60, true);
        t.window = h.launch();
        ASSERT_NE(t.window, nullptr);
    }
    // Put away for the day, as one does: Hide All, the main window out of sight.
    h.m().Command4->click();
    h.m().hide();
    const qint64 launched = h.clock.utcMs();
    std::map<QString, long> opens;
    long wakeupsFirstHour = 0, objectsFirstHour = 0;
    qint64 rssFirstHour = 0, heapFirstHour = 0;

    for (int hour = 1; hour <= 24; ++hour) {
        const long wakeupsBefore = h.sim.wakeups();
        for (int second = 0; second < 3600; ++second) {
            h.sim.advance(1000);
            if (h.audio.playing)
                h.audio.finishPlay(); // the recordings last well under a second
            if (second % 600 == 0)
                QCoreApplication::processEvents(); // what the event loop does between ticks
            for (const QString& line : h.audio.take()) {
                if (line.startsWith(QLatin1String("open ")))
                    ++opens[line.mid(5).section(QStringLiteral(" type waveaudio"), 0, 0)];
            }
        }
        const qint64 t = h.clock.utcMs() - launched;
        for (const Cycler& c : timers) {
            const qint64 cycleMs = qint64(c.seconds) * 1000;
            // A restart is due 5 ms after each deadline; its alert counts it
            // half a second later.
            const long cycles = long((t - 505) / cycleMs);
            SCOPED_TRACE(QStringLiteral("%1 s timer, hour %2").arg(c.seconds).arg(hour).toStdString());
            const QString shown = cycles ? QStringLiteral("Cycles: %1").arg(cycles) : QString();
            EXPECT_EQ(c.window->CyclesLabel->text().toStdString(), shown.toStdString()) << "every cycle counted once";
            EXPECT_EQ(h.table.DurationStart[c.window->slot()], launched + (t - 5) / cycleMs * cycleMs)
                << "each cycle starts on the deadline of the one before";
            EXPECT_GE(opens[c.soundPath], cycles - 1) << "and sounds once";
            EXPECT_LE(opens[c.soundPath], cycles);
        }
        const QStringList broken = brokenInvariants(h);
        ASSERT_TRUE(broken.isEmpty()) << qPrintable(broken.join('\n'));
        if (hour == 1) {
            wakeupsFirstHour = h.sim.wakeups() - wakeupsBefore;
            objectsFirstHour = objectsUnder(h);
            rssFirstHour = residentBytes();
            heapFirstHour = qint64(mallinfo2().uordblks);
        }
        if (hour == 24) {
            const long wakeups = h.sim.wakeups() - wakeupsBefore;
            EXPECT_NEAR(double(wakeups), double(wakeupsFirstHour), wakeupsFirstHour * 0.02)
                << "the last hour wakes the program as often as the first";
            EXPECT_EQ(objectsUnder(h), objectsFirstHour) << "no objects pile up";
            const qint64 rss = residentBytes();
            const qint64 heap = qint64(mallinfo2().uordblks);
            std::cout << "[          ] 24 h simulated: " << h.sim.wakeups() << " wake-ups; " << objectsFirstHour
                      << " objects at hour 1 and " << objectsUnder(h) << " at hour 24; heap in use "
                      << heapFirstHour / 1024 << " KiB and " << heap / 1024 << " KiB; resident " << rssFirstHour / 1024
                      << " KiB and " << rss / 1024 << " KiB\n";
            if (!underAddressSanitizer) {
                // (AddressSanitizer keeps freed memory in quarantine and has
                // its own heap: both figures grow there without a leak.)
                EXPECT_LT(heap - heapFirstHour, 1024 * 1024) << "the heap grew by " << heap - heapFirstHour;
                EXPECT_LT(rss - rssFirstHour, 32LL * 1024 * 1024) << "resident memory grew by " << rss - rssFirstHour;
            }
        }
    }

    // After the day, every cycle's sound has been heard exactly once.
    for (int i = 0; i < 20 && h.audio.playing; ++i) {
        h.audio.finishPlay();
        h.sim.advance(100);
    }
    const qint64 t = h.clock.utcMs() - launched;
    for (const QString& line : h.audio.take()) {
        if (line.startsWith(QLatin1String("open ")))
            ++opens[line.mid(5).section(QStringLiteral(" type waveaudio"), 0, 0)];
    }
    for (const Cycler& c : timers)
        EXPECT_EQ(opens[c.soundPath], (t - 505) / (qint64(c.seconds) * 1000)) << c.seconds << " s timer";
}

} // namespace
