#pragma once

#include "support/harness.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace quandrel::test {

// Every rule broken between slot table, windows, tick timers and player after any handler ran; heldPath is the
// sound holding the audio device ("" when none or unknown).
QStringList brokenInvariants(AppHarness& h);
QStringList brokenInvariants(Timermain& m, const SlotTable& t, const QString& heldPath = QString());
// The same as a gtest assertion that lists what broke.
::testing::AssertionResult invariantsHold(AppHarness& h);
::testing::AssertionResult invariantsHold(Timermain& m, const SlotTable& t);

// Follows every sound request the timer windows raise: once the player takes it, it must open the window's sound
// (or show "Sound Card Check") unless the window closed first; a failed open of a playable file, or an open while
// another sound holds the device, is a fault too. It empties the fake device's command log and message list.
class AlertAudit {
public:
    explicit AlertAudit(AppHarness& h);
    ~AlertAudit();

    // Reads commands and messages since the last call and settles what the player took. Call after every step.
    void update();
    // Ends sounds and closes boxes until every request raised so far is settled; a fault for any that is not.
    void drain(int maxRounds = 400);
    ::testing::AssertionResult clean() const;

    QStringList faults;
    long requests = 0;    // raised
    long played = 0;      // settled by an open of the window's sound
    long told = 0;        // settled by a "Sound Card Check" box
    long dropped = 0;     // the window closed before its sound came up
    long opens = 0;       // open commands seen
    long failedOpens = 0; // of which failed (unplayable files)

private:
    struct Pending {
        int slot;
        bool alert;
        QString path;
        long fromCommand;
        long fromCheck;
        long closesAt;
    };
    struct Opened {
        long command;
        QString path;
        bool ok;
    };

    void raised();
    void readAudio();
    void readMessages();
    void noteCloses();
    void settle();
    bool heard(const Pending& p) const;

    AppHarness& h_;
    FakeAudioCommands shadow_;
    std::vector<Pending> pending_; // raised, not yet taken
    std::vector<Pending> taken_;   // taken, its sound not yet opened
    std::vector<Opened> opened_;
    long commands_ = 0;
    long checks_ = 0;
    qsizetype messagesRead_ = 0;
    PerSlot<long> closes_{};
    PerSlot<bool> loaded_{};
    std::function<void()> inner_;
};

// Reproducible choices: the same seed gives the same sequence with any standard library.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : gen_(seed) {}
    int below(int n) { return int(gen_() % std::uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    qint64 between64(qint64 lo, qint64 hi) { return lo + qint64(gen_() % std::uint64_t(hi - lo + 1)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T> const T& pick(const std::vector<T>& items) { return items[size_t(below(int(items.size())))]; }

private:
    std::mt19937_64 gen_;
};

// QUANDREL_JOURNEY_SEED and QUANDREL_JOURNEY_STEPS from the environment, or the defaults.
std::uint64_t journeySeed(std::uint64_t fallback);
long journeySteps(long fallback);

} // namespace quandrel::test
