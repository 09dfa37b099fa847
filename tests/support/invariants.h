#pragma once

#include "support/harness.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace quandrel::test {

// The rules that hold between the slot table, the main window, the timer
// windows, the tick timers and the sound player after any handler has run.
// Returns a description of every rule broken; empty when all hold.
QStringList brokenInvariants(AppHarness& h);
// The same for a main window on other services; heldPath is the sound that
// holds the audio device ("" when none or unknown).
QStringList brokenInvariants(Timermain& m, const SlotTable& t, const QString& heldPath = QString());

// Watches every sound request the timer windows raise and what became of it.
// A request is kept until the player takes it; it must then have opened the
// window's sound (or shown "Sound Card Check"), unless the window was closed
// first. An open that fails for a playable file, or an open while another
// sound still holds the device, is a fault too. It reads (and empties) the
// fake device's command log and message list: a test using it leaves them be.
class AlertAudit {
public:
    explicit AlertAudit(AppHarness& h);
    ~AlertAudit();

    // Reads the audio commands and messages since the last call and settles
    // the requests the player has taken. Call after every step.
    void update();
    // Lets sounds end and boxes close until every request raised so far was
    // taken; records a fault for any that never is.
    void drain(int maxRounds = 400);

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
    bool settled(const Pending& p) const;
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

// A reproducible source of choices: the same seed gives the same sequence
// with any standard library.
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

// Seed and step count from the environment (QUANDREL_JOURNEY_SEED,
// QUANDREL_JOURNEY_STEPS), or the given defaults.
std::uint64_t journeySeed(std::uint64_t fallback);
long journeySteps(long fallback);

} // namespace quandrel::test
