// Hostile files, machines, clocks and locales: the timers still run, go off and flash, and no alert is lost.

#include "support/harness.h"
#include "support/invariants.h"
#include "support/wavefiles.h"

#include "../../fuzz/fuzz_checks.h"

#include "engine/soundcatalog.h"
#include "engine/timearith.h"
#include "platform/audiocommands.h"
#include "platform/reversedscrollbar.h"
#include "platform/sdlaudiobackend.h"
#include "platform/timeformat.h"
#include "sound/soundform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

using namespace quandrel;
using namespace quandrel::test;

namespace {

const QString OpenTail = QStringLiteral(" type waveaudio alias voice1");

QColor titleColour(AlarmForm* f)
{
    return f->Text1->palette().color(QPalette::Base);
}

void pickSound(Timermain& m, int listPosition)
{
    m.Combo1->setCurrentIndex(listPosition);
    m.Combo1_Click();
}

// Presses LaunchTimer; returns the window of the slot it took, or nullptr.
AlarmForm* pressLaunch(Timermain& m)
{
    for (int n = 0; n < SlotCount; ++n) {
        if (!m.ALARMFORM[size_t(n)] || !m.ALARMFORM[size_t(n)]->isLoaded()) {
            m.Command1->click();
            return m.ALARMFORM[size_t(n)];
        }
    }
    m.Command1->click();
    return nullptr;
}

AlarmForm* launchCountDown(Timermain& m, int seconds)
{
    m.Option2->setChecked(true);
    m.Check1->setChecked(false);
    m.VScroll1->setValue(0);
    m.VScroll2->setValue(seconds / 60);
    m.VScroll3->setValue(seconds % 60);
    return pressLaunch(m);
}

// Expired and flashing: the banner shows and the title alternates colours.
::testing::AssertionResult goesOffAndFlashes(Simulation& sim, AlarmForm* f)
{
    if (!f->Label6->isVisibleTo(f) || !f->Timer2->isEnabled())
        return ::testing::AssertionFailure() << "not expired";
    QColor colours[3];
    for (QColor& colour : colours) {
        sim.advance(500);
        colour = titleColour(f);
    }
    if (colours[0] == colours[1] || colours[2] != colours[0])
        return ::testing::AssertionFailure() << "the title does not flash";
    return ::testing::AssertionSuccess();
}

void playThrough(AppHarness& h)
{
    for (int guard = 0; guard < 100 && h.m().soundForm->busy(); ++guard) {
        h.audio.finishPlay();
        h.sim.advance(60);
    }
}

// Passes every command on and logs it with its error code: "open /x.wav ... -> 0".
class RecordingAudio final : public AudioCommands {
public:
    explicit RecordingAudio(AudioCommands& inner) : inner_(inner)
    {
        connect(&inner_, &AudioCommands::playEnded, this, &AudioCommands::playEnded);
    }
    QString mciSendString(const QString& command, int* error = nullptr) override
    {
        int code = 0;
        const QString answer = inner_.mciSendString(command, &code);
        log.push_back({command, code, answer});
        if (error)
            *error = code;
        return answer;
    }
    int waveOutGetNumDevs() override { return inner_.waveOutGetNumDevs(); }
    // The sound that plays now has reached its end (without waiting for it).
    void endPlay() { inner_.mciSendString(QStringLiteral("stop voice1")); }
    // Error codes of the opens of path, bare or in quotes.
    QList<int> opensOf(const QString& path) const
    {
        QList<int> codes;
        for (const Entry& e : log) {
            if (e.command == "open " + path + OpenTail || e.command == "open \"" + path + '"' + OpenTail)
                codes << e.code;
        }
        return codes;
    }
    QStringList answersTo(const QString& command) const
    {
        QStringList found;
        for (const Entry& e : log) {
            if (e.command == command)
                found << e.answer;
        }
        return found;
    }
    struct Entry {
        QString command;
        int code;
        QString answer;
    };
    std::vector<Entry> log;

private:
    AudioCommands& inner_;
};

// The real command layer over SDL2_mixer, on the dummy driver in tests.
struct RealAudio {
    SdlAudioBackend backend;
    MciCommandLayer layer{backend};
    RecordingAudio audio{layer};
    bool usable() { return audio.waveOutGetNumDevs() > 0; }
};

// The whole program on the simulated clock, over the audio device and sound folder a test chooses.
class Rig {
public:
    Rig(AudioCommands& audio, const QString& soundFolder)
        : services{clock, sim, dialogs, windows, audio, QLocale(QLocale::English, QLocale::UnitedStates), soundFolder}
    {
        clock.setLocal(QDateTime(QDate(2026, 12, 6), QTime(9, 0, 0)));
        main = new Timermain(table, services);
        main->Form_Load();
        main->show();
    }
    ~Rig()
    {
        if (main)
            main->close();
        AppHarness::flushDeletes();
    }
    Timermain& m() { return *main; }

    ManualClock clock;
    Simulation sim{clock};
    FakeDialogs dialogs;
    FakeWindowOps windows;
    Services services;
    SlotTable table;
    QPointer<Timermain> main;
};

// Ends each play at once (a refused file ends before it starts) until the player is free.
void playThrough(Rig& rig, RecordingAudio& audio)
{
    for (int guard = 0; guard < 20 && rig.m().soundForm->busy(); ++guard) {
        audio.endPlay();
        rig.sim.advance(300);
    }
}

TEST(HostilePicks, EveryChoiceStillGoesOffAndTheNextSoundPlays)
{
    AppHarness h;
    AlertAudit audit(h);
    struct Case {
        QString path;
        bool playable;
        QString shown; // the name in the window
    };
    const Case cases[] = {
        {QString(), false, "None"}, // the dialog was cancelled
        {"/home/ana/My Sounds/door bell.wav", true, "door bell"},
        {"/home/ana/Klänge/Glöckchen 鐘.WAV", true, "Glöckchen 鐘"},
        {"/tmp/x type waveaudio alias y.wav", true, "x type waveaudio alias y"},
        {"/tmp/ type waveaudio alias voice1", true, " type waveaudio alias voice1"},
        {"/tmp/empty.wav", false, "empty"},
        {"/tmp/folder.wav", false, "folder"},
        {"/tmp/notes.txt", false, "notes.txt"},
    };
    for (const Case& c : cases) {
        if (!c.playable && !c.path.isEmpty())
            h.audio.unplayable.insert(c.path);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        h.dialogs.nextPickedFile = c.path;
        pickSound(h.m(), SoundListPlayFile);
        EXPECT_EQ(h.m().FilePlayLabel->text(), c.shown);
        AlarmForm* f = launchCountDown(h.m(), 1);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->WavLabel->text(), c.shown);
        audit.update();
        h.sim.advance(1010);
        EXPECT_TRUE(goesOffAndFlashes(h.sim, f));
        audit.drain();
        playThrough(h);
        EXPECT_TRUE(audit.clean());
        EXPECT_FALSE(h.m().soundForm->busy()) << "the player is free again";
        EXPECT_TRUE(h.audio.openPath.isEmpty()) << "and the device is closed";
        EXPECT_TRUE(invariantsHold(h));
        h.closeWindow(f->slot());
    }
    EXPECT_EQ(audit.requests, long(std::size(cases)));
    // Three tries for each unplayable file, and silence.
    EXPECT_EQ(audit.failedOpens, 3 * 4);

    pickSound(h.m(), 1);
    AlarmForm* f = launchCountDown(h.m(), 1);
    h.sim.advance(1600);
    EXPECT_TRUE(h.audio.playing);
    EXPECT_EQ(h.audio.openPath, soundFilePath(h.services.soundFolder, builtinSounds()[0]));
    EXPECT_TRUE(f->Label6->isVisibleTo(f));
}

// Through the real layer and SDL2_mixer: each file plays or is refused at once; the timer goes off regardless.
class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        if (!real.usable())
            GTEST_SKIP() << "no audio device, not even SDL's dummy driver";
        rig = std::make_unique<Rig>(real.audio, dir.filePath(QStringLiteral("sounds")));
    }
    void TearDown() override { rig.reset(); }

    // A count-down with path via "Play File..." goes off and plays through; returns its opens' error codes.
    QList<int> expireWith(const QString& path)
    {
        Timermain& m = rig->m();
        rig->dialogs.nextPickedFile = path;
        pickSound(m, SoundListPlayFile);
        AlarmForm* f = launchCountDown(m, 1);
        EXPECT_NE(f, nullptr);
        if (!f)
            return {};
        real.audio.log.clear();
        rig->sim.advance(1010);
        EXPECT_TRUE(goesOffAndFlashes(rig->sim, f)) << qPrintable(path);
        playThrough(*rig, real.audio);
        EXPECT_FALSE(m.soundForm->busy()) << "the alert for " << qPrintable(path) << " never ended";
        EXPECT_TRUE(invariantsHold(m, rig->table));
        f->close();
        AppHarness::flushDeletes();
        return real.audio.opensOf(path);
    }

    QTemporaryDir dir;
    RealAudio real;
    std::unique_ptr<Rig> rig;
};

TEST_F(HostileFiles, BrokenFilesGiveSilenceAtOnce)
{
    const QByteArray samples = toneSamples(11025, 50);
    const QString hostile = dir.filePath(QStringLiteral("hostile/"));
    const QStringList refused = {
        writeFile(hostile + "empty.wav", {}),
        writeFile(hostile + "truncated.wav", toneWave(50).left(30)),
        writeFile(hostile + "not a wave.wav", "Dear diary, today I renamed a letter to .wav and tried to play it.\n"),
        writeFile(hostile + "huge.wav", "RIFF" + le32(0xfffffff0u) + "WAVE" +
                                            riffChunk("fmt ", pcmFormat(1, 11025, 8)) + "data" + le32(0x7ffffff0u) +
                                            samples),
        writeFile(hostile + "zero channels.wav",
                  riffWave(riffChunk("fmt ", pcmFormat(0, 11025, 8)) + riffChunk("data", samples))),
        writeFile(hostile + "zero rate.wav",
                  riffWave(riffChunk("fmt ", pcmFormat(1, 0, 8)) + riffChunk("data", samples))),
        hostile + "gone.wav",
    };
    QStringList others = refused;
    QDir().mkpath(hostile + "folder.wav");
    others << hostile + "folder.wav";
    const QString fifo = hostile + "pipe.wav";
    if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0)
        others << fifo; // reading it would wait for a writer forever
    for (const QString& path : others) {
        const QList<int> codes = expireWith(path);
        EXPECT_EQ(codes.size(), 3) << qPrintable(path);
        EXPECT_FALSE(codes.contains(0)) << qPrintable(path) << " was opened";
    }
}

TEST_F(HostileFiles, AwkwardNamesPlay)
{
    const QByteArray wave = toneWave(40);
    const QStringList names = {
        writeFile(dir.filePath(QStringLiteral("My Sounds/door  bell.wav")), wave),
        writeFile(dir.filePath(QStringLiteral("Klänge/Glöckchen am Morgen 鐘.WAV")), wave),
        writeFile(dir.filePath(QStringLiteral("x type waveaudio alias y.wav")), wave),
        writeFile(dir.filePath(QStringLiteral("z type waveaudio alias voice1")), wave),
        writeFile(dir.filePath(QStringLiteral("quotes \"inside\".wav")), wave),
    };
    const QString locked = writeFile(dir.filePath(QStringLiteral("locked.wav")), wave);
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const bool lockedReadable = QFile(locked).open(QIODevice::ReadOnly); // root reads anyway

    for (const QString& path : names)
        EXPECT_EQ(expireWith(path), QList<int>({0, 0, 0})) << qPrintable(path);
    const QList<int> codes = expireWith(locked);
    EXPECT_EQ(codes.size(), 3);
    EXPECT_EQ(codes.contains(0), lockedReadable) << "an unreadable file is refused, a readable one plays";
}

TEST_F(HostileFiles, BlanksAtTheEndOfANameBelongToIt)
{
    // "bell.wav " next to a longer "bell.wav": the alert must play the one picked.
    const QString picked = writeFile(dir.filePath(QStringLiteral("bell.wav ")), toneWave(40));
    writeFile(dir.filePath(QStringLiteral("bell.wav")), toneWave(900));
    EXPECT_EQ(expireWith(picked), QList<int>({0, 0, 0}));
    const QStringList lengths = real.audio.answersTo(QStringLiteral("status voice1 length"));
    ASSERT_EQ(lengths.size(), 3);
    for (const QString& length : lengths)
        EXPECT_NEAR(length.toInt(), 40, 5) << "played the 900 ms bell.wav instead";
}

// Address space limited to what the process has now plus room bytes (little memory, no overcommit).
class LittleMemory {
public:
    explicit LittleMemory(qint64 room)
    {
        QFile statm(QStringLiteral("/proc/self/statm"));
        const qint64 pages = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(0).toLongLong() : 0;
        getrlimit(RLIMIT_AS, &old_);
        rlimit small = old_;
        small.rlim_cur = rlim_t(pages * sysconf(_SC_PAGESIZE) + room);
        active_ = pages > 0 && setrlimit(RLIMIT_AS, &small) == 0;
    }
    ~LittleMemory() { setrlimit(RLIMIT_AS, &old_); }
    bool active() const { return active_; }

private:
    rlimit old_{};
    bool active_ = false;
};

TEST(HostileMachine, LittleMemoryStillLoadsASmallSound)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer needs the address space that this test takes away";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer needs the address space that this test takes away";
#endif
#endif
    QTemporaryDir dir;
    const QString tone = writeFile(dir.filePath(QStringLiteral("tone.wav")), toneWave(40));
    SdlAudioBackend backend;
    if (backend.deviceCount() == 0)
        GTEST_SKIP() << "no audio device, not even SDL's dummy driver";
    bool loaded = false;
    {
        // A 2 KB sound and 48 MB to spare.
        LittleMemory memory(48LL * 1024 * 1024);
        ASSERT_TRUE(memory.active());
        try {
            loaded = backend.load(tone);
        } catch (const std::bad_alloc&) {
            ADD_FAILURE() << "loading a 2 KB sound ran out of memory";
        }
    }
    EXPECT_TRUE(loaded);
    EXPECT_NEAR(backend.lengthMs(), 40, 5);
}

// Every write that would make a file longer than limit bytes fails, as on a disk that is full.
class DiskFull {
public:
    explicit DiskFull(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit full = old_;
        full.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &full);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN); // fail with EFBIG instead of dying
    }
    ~DiskFull()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

QStringList missingMessages(const FakeDialogs& dialogs)
{
    QStringList texts;
    for (const auto& message : dialogs.messages) {
        if (message.title == QLatin1String("Quandrel") && message.icon == MessageIcon::Warning)
            texts << message.text;
    }
    return texts;
}

// The list names in the start-up message.
QStringList namedIn(const QString& message)
{
    const qsizetype colon = message.lastIndexOf(QLatin1String(": "));
    QString names = message.mid(colon + 2);
    if (names.endsWith(QLatin1Char('.')))
        names.chop(1);
    return names.split(QStringLiteral(", "));
}

// Starts on folder: names exactly the sounds in missing, once, and a timer with a missing sound goes off.
void startsAndRuns(const QString& folder, QStringList missing)
{
    RealAudio real;
    Rig rig(real.audio, folder);
    const QStringList texts = missingMessages(rig.dialogs);
    if (missing.isEmpty()) {
        EXPECT_TRUE(texts.isEmpty()) << qPrintable(texts.join('\n'));
        return;
    }
    ASSERT_EQ(texts.size(), 1) << "said once";
    QStringList named = namedIn(texts[0]);
    named.sort();
    missing.sort();
    EXPECT_EQ(named, missing) << qPrintable(texts[0]);
    EXPECT_TRUE(texts[0].contains(folder));
    EXPECT_EQ(rig.m().missingRecordings().size(), missing.size());

    // It runs: a timer whose sound could not be written still goes off.
    const int bleep = 1;
    pickSound(rig.m(), bleep);
    AlarmForm* f = launchCountDown(rig.m(), 2);
    ASSERT_NE(f, nullptr);
    rig.sim.advance(2010);
    EXPECT_TRUE(goesOffAndFlashes(rig.sim, f));
    playThrough(rig, real.audio);
    EXPECT_FALSE(rig.m().soundForm->busy());
    EXPECT_EQ(missingMessages(rig.dialogs).size(), 1) << "and says nothing more";
    EXPECT_TRUE(invariantsHold(rig.m(), rig.table));
}

QStringList allSoundNames()
{
    QStringList names;
    for (const CatalogSound& sound : builtinSounds())
        names << QString::fromLatin1(sound.listItem);
    return names << QStringLiteral("Ready");
}

TEST(HostileStartUp, SoundFolderThatCannotBeMadeNamesEverySound)
{
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("a file")), "not a folder");
    startsAndRuns(dir.filePath(QStringLiteral("a file/sounds")), allSoundNames());
    startsAndRuns(dir.filePath(QStringLiteral("a file")), allSoundNames());

    // A folder the user may not write to (root may, and then all is well).
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool writable = QFile(locked + QStringLiteral("/probe")).open(QIODevice::WriteOnly);
    QFile::remove(locked + QStringLiteral("/probe"));
    startsAndRuns(locked + QStringLiteral("/sounds"), writable ? QStringList() : allSoundNames());
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(HostileStartUp, FullDiskNamesTheSoundsThatDidNotFit)
{
    QTemporaryDir dir;
    const rlim_t limit = 20'000;
    QStringList tooBig;
    for (const QString& name : extractionOrder()) {
        QFile resource(recordingResourcePath(name));
        ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
        if (rlim_t(resource.size()) > limit) {
            const QString item = QString::fromLatin1(soundByResource(name)->listItem);
            tooBig << (item.isEmpty() ? QStringLiteral("Ready") : item);
        }
    }
    ASSERT_FALSE(tooBig.isEmpty());
    ASSERT_LT(tooBig.size(), 25) << "some fit, some do not";
    {
        DiskFull full(limit);
        startsAndRuns(dir.filePath(QStringLiteral("sounds")), tooBig);
    }
    // Room again: the next start writes the rest and says nothing.
    startsAndRuns(dir.filePath(QStringLiteral("sounds")), {});
    for (const QString& name : extractionOrder()) {
        QFile resource(recordingResourcePath(name));
        ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
        const QString written = soundFilePath(dir.filePath(QStringLiteral("sounds")), *soundByResource(name));
        EXPECT_EQ(QFileInfo(written).size(), resource.size()) << qPrintable(name) << ": nothing half-written";
    }
}

TEST(HostileStartUp, OneBlockedRecordingIsTheOnlyOneNamed)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("sounds"));
    QDir().mkpath(soundFilePath(folder, builtinSounds()[2])); // a folder named tmpDing.$$$
    startsAndRuns(folder, {QStringLiteral("Ding")});
}

TEST(NoAudioDevice, EachBoxWaitsForOkWhileTheTimersFlashAndNoAlertIsLost)
{
    AppHarness h;
    AlertAudit audit(h);
    h.audio.devices = 0;
    h.dialogs.holdMessages = true;
    pickSound(h.m(), 1);
    AlarmForm* first = launchCountDown(h.m(), 1);
    pickSound(h.m(), 7); // Biscuits, announced
    AlarmForm* second = launchCountDown(h.m(), 3);
    h.sim.advance(1560);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].title, "Sound Card Check");
    EXPECT_EQ(h.dialogs.messages[0].text, "Your system cannot play WAV files");

    // The box stays open a minute; both timers go off and flash meanwhile.
    h.sim.advance(2000);
    EXPECT_TRUE(goesOffAndFlashes(h.sim, first));
    EXPECT_TRUE(goesOffAndFlashes(h.sim, second));
    h.sim.advance(60'000);
    EXPECT_EQ(h.dialogs.messages.size(), 1) << "one box at a time";
    EXPECT_EQ(h.dialogs.heldMessages.size(), 1);

    // OK on each box brings the next: three for the first alert, seven for the announced one.
    for (int box = 2; box <= 10; ++box) {
        h.dialogs.closeHeldMessage();
        h.sim.advance(60);
        EXPECT_EQ(h.dialogs.messages.size(), box);
    }
    h.dialogs.closeHeldMessage();
    h.sim.advance(60);
    EXPECT_EQ(h.dialogs.messages.size(), 10);
    EXPECT_FALSE(h.m().soundForm->busy());
    EXPECT_TRUE(h.audio.log.filter(QStringLiteral("open ")).isEmpty());

    // The test button says so too; then the device comes back and plays.
    h.m().Command3->click();
    EXPECT_EQ(h.dialogs.messages.size(), 11);
    EXPECT_EQ(h.dialogs.messages.last().title, "Sound Card Check");
    EXPECT_EQ(h.m().Command3->text(), "Test Play");
    h.dialogs.closeHeldMessage();
    h.audio.devices = 1;
    pickSound(h.m(), 2);
    launchCountDown(h.m(), 1);
    h.sim.advance(1600);
    EXPECT_TRUE(h.audio.playing);
    audit.drain();
    EXPECT_TRUE(audit.clean());
    EXPECT_EQ(audit.told, 2);
    EXPECT_EQ(audit.played, 1);
    EXPECT_TRUE(invariantsHold(h));
}

TEST(NoAudioDevice, WithoutADriverTheRealLayerSaysSoAndPlaysWhenOneComes)
{
    QTemporaryDir dir;
    RealAudio real;
    if (!real.usable())
        GTEST_SKIP() << "no audio device, not even SDL's dummy driver";
    real.backend.setIdleCloseDelay(0);
    Rig rig(real.audio, dir.filePath(QStringLiteral("sounds")));
    const QString tone = writeFile(dir.filePath(QStringLiteral("tone.wav")), toneWave(40));
    rig.dialogs.nextPickedFile = tone;
    pickSound(rig.m(), SoundListPlayFile);
    // Let the device that the start-up check opened close again.
    real.backend.stop();
    for (int i = 0; i < 100 && real.backend.isDeviceOpen(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_FALSE(real.backend.isDeviceOpen());
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        AlarmForm* f = launchCountDown(rig.m(), 1);
        rig.sim.advance(1560);
        EXPECT_TRUE(goesOffAndFlashes(rig.sim, f));
        ASSERT_GE(rig.dialogs.messages.size(), 1);
        EXPECT_EQ(rig.dialogs.messages.last().title, "Sound Card Check");
        EXPECT_EQ(rig.dialogs.messages.last().text, "Your system cannot play WAV files");
        EXPECT_TRUE(real.audio.opensOf(tone).isEmpty());
        EXPECT_FALSE(rig.m().soundForm->busy());
    }
    AlarmForm* g = launchCountDown(rig.m(), 1);
    rig.sim.advance(1560);
    EXPECT_TRUE(goesOffAndFlashes(rig.sim, g));
    EXPECT_EQ(real.audio.opensOf(tone).value(0, -1), 0) << "the device is found again";
}

struct EveryKind {
    AlarmForm *down, *up, *alarm, *watch, *cycling;
    qint64 launchedUtc;
    qint64 launchedWall;
};

// 10-minute count-down and count-up, an alarm 30 minutes on, a running stopwatch, a 5-minute cycling count-down.
EveryKind launchEveryKind(AppHarness& h)
{
    EveryKind k{};
    pickSound(h.m(), 1);
    k.launchedUtc = h.clock.utcMs();
    k.launchedWall = h.clock.now().localWallMs();
    h.chooseCountDown(0, 10, 0);
    k.down = h.launch();
    h.chooseCountUp(0, 10, 0);
    k.up = h.launch();
    const QTime at = h.clock.now().localTime().addSecs(1800);
    h.chooseAlarm(at.hour() % 12 == 0 ? 12 : at.hour() % 12, at.minute(), at.second(), at.hour() >= 12);
    k.alarm = h.launch();
    h.chooseStopwatch();
    k.watch = h.launch();
    k.watch->SWStart->click();
    h.chooseCountDown(0, 5, 0, true);
    k.cycling = h.launch();
    return k;
}

TEST(ClockSet, EveryKindFollowsTheClockWithoutABurstOrALostAlert)
{
    const qint64 hour = 3'600'000, day = 24 * hour;
    for (const qint64 jump : {hour, -hour, day, -day}) {
        SCOPED_TRACE(jump / 1000);
        AppHarness h;
        AlertAudit audit(h);
        const EveryKind k = launchEveryKind(h);
        h.sim.advance(60'000);
        h.clock.jump(jump);
        const long wakeupsBefore = h.sim.wakeups();
        h.sim.advance(1100);
        EXPECT_LT(h.sim.wakeups() - wakeupsBefore, 40) << "no burst of ticks";

        // Every display follows the clock as it now reads.
        const ClockReading now = h.clock.now();
        const qint64 gone = floorDiv(now.utcMs - k.launchedUtc, 1000);
        if (gone < 600) {
            EXPECT_EQ(k.up->Label2->text().toStdString(), clockFace(gone).toStdString());
        }
        if (gone <= StopwatchMaxSecs) {
            EXPECT_EQ(k.watch->Label2->text().toStdString(), clockFace(gone).toStdString());
        } else {
            EXPECT_TRUE(k.watch->Label2->text().startsWith("00:00:0")) << "past 23:59:59 it starts again";
        }
        if (gone < 600) {
            EXPECT_EQ(k.down->Label2->text().toStdString(), clockFace(600 - gone).toStdString());
        }
        const qint64 wallGone = floorDiv(now.localWallMs(), 1000) - floorDiv(k.launchedWall, 1000);
        if (wallGone < 1800) {
            EXPECT_EQ(k.alarm->Label5->text(), QStringLiteral("%1 elapsed of 1800 sec").arg(wallGone));
        }
        EXPECT_EQ(h.m().Label2->text(), longTimeText(now.localTime(), h.services.locale));
        EXPECT_EQ(k.down->Label4->text(), "Current Time: " + h.m().Label2->text());

        if (jump > 0) {
            // All go off together; the cycling one counts one cycle, not one per five minutes skipped.
            for (AlarmForm* f : {k.down, k.up, k.alarm})
                EXPECT_TRUE(goesOffAndFlashes(h.sim, f)) << qPrintable(f->Label1->text());
            h.sim.advance(4000);
            EXPECT_EQ(k.cycling->CyclesLabel->text(), "Cycles: 1");
            const qint64 restartedAt = h.table.DurationStart[k.cycling->slot()];
            EXPECT_GT(restartedAt, k.launchedUtc + 60'000 + jump) << "the next cycle starts when the jump is seen";
            EXPECT_LE(restartedAt, k.launchedUtc + 61'100 + jump);
        } else {
            for (AlarmForm* f : {k.down, k.up, k.alarm, k.cycling})
                EXPECT_FALSE(f->Label6->isVisibleTo(f)) << "nothing goes off early";
            // An hour back: each goes off an hour late, when the clock reads its end. A day back is set right
            // again first: each goes off when it always would have.
            if (jump == -day)
                h.clock.jump(-jump);
            const qint64 monotonic = h.sim.monotonicMs();
            h.sim.advanceToUtc(k.launchedUtc + 600'000 - 20);
            if (jump == -hour) {
                EXPECT_EQ(h.sim.monotonicMs() - monotonic, 3'600'000 + 600'000 - 61'100 - 20);
            }
            EXPECT_FALSE(k.down->Label6->isVisibleTo(k.down));
            h.sim.advance(40);
            EXPECT_TRUE(goesOffAndFlashes(h.sim, k.down));
            EXPECT_TRUE(goesOffAndFlashes(h.sim, k.up));
            EXPECT_EQ(k.cycling->CyclesLabel->text(), "Cycles: 2");
        }
        audit.drain();
        EXPECT_TRUE(audit.clean());
        EXPECT_GE(audit.played, 3);
        EXPECT_TRUE(invariantsHold(h));
    }
}

TEST(DaylightSaving, FallBackStretchesNothing)
{
    // Berlin, 25 October 2026: at 03:00 summer time the clocks go back to 02:00.
    AppHarness h(QTimeZone("Europe/Berlin"));
    h.clock.setLocal(QDateTime(QDate(2026, 10, 25), QTime(1, 30, 0)));
    const qint64 start = h.clock.utcMs();
    pickSound(h.m(), 2);
    h.chooseCountDown(2, 0, 0);
    AlarmForm* down = h.launch();
    h.chooseCountUp(2, 0, 0);
    AlarmForm* up = h.launch();
    h.chooseCountDown(0, 20, 0, true);
    AlarmForm* cycling = h.launch();
    h.chooseStopwatch();
    AlarmForm* watch = h.launch();
    watch->SWStart->click();
    h.chooseAlarm(3, 0, 0, false);
    AlarmForm* alarm = h.launch();

    h.sim.advanceToUtc(start + 3'600'000 + 20);
    EXPECT_EQ(h.m().Label2->text(), "2:30:00 AM");
    EXPECT_EQ(down->Label2->text(), "01:00:00");
    EXPECT_EQ(up->Label2->text(), "01:00:00");
    h.sim.advanceToUtc(start + 7'200'000 - 20);
    EXPECT_EQ(h.m().Label2->text(), "2:29:59 AM") << "the second 2:29:59";
    EXPECT_FALSE(down->Label6->isVisibleTo(down));
    h.sim.advance(40);
    EXPECT_EQ(watch->Label2->text(), "02:00:00");
    EXPECT_EQ(h.table.DurationStart[cycling->slot()], start + 6 * 1'200'000);
    EXPECT_TRUE(goesOffAndFlashes(h.sim, down)) << "two hours, not three";
    EXPECT_TRUE(goesOffAndFlashes(h.sim, up));
    EXPECT_EQ(cycling->CyclesLabel->text(), "Cycles: 6");

    // The alarm rings when the clock shows 3:00, which is later in real time.
    EXPECT_FALSE(alarm->Label6->isVisibleTo(alarm));
    h.sim.advanceToUtc(start + 9'000'000 - 20);
    EXPECT_FALSE(alarm->Label6->isVisibleTo(alarm));
    h.sim.advance(40);
    EXPECT_TRUE(alarm->Label6->isVisibleTo(alarm));
    EXPECT_EQ(h.m().Label2->text(), "3:00:00 AM");
    EXPECT_TRUE(invariantsHold(h));
}

TEST(DaylightSaving, SpringForwardShortensNothing)
{
    // Berlin, 29 March 2026: at 02:00 winter time the clocks go on to 03:00.
    AppHarness h(QTimeZone("Europe/Berlin"));
    h.clock.setLocal(QDateTime(QDate(2026, 3, 29), QTime(1, 30, 0)));
    const qint64 start = h.clock.utcMs();
    h.chooseCountDown(1, 0, 0);
    AlarmForm* down = h.launch();
    h.chooseCountUp(0, 15, 0, true);
    AlarmForm* cycling = h.launch();
    h.chooseStopwatch();
    AlarmForm* watch = h.launch();
    watch->SWStart->click();

    h.sim.advanceToUtc(start + 1'800'000 + 20);
    EXPECT_EQ(h.m().Label2->text(), "3:00:00 AM");
    EXPECT_EQ(down->Label2->text(), "00:30:00");
    h.sim.advanceToUtc(start + 3'600'000 - 20);
    EXPECT_FALSE(down->Label6->isVisibleTo(down)) << "the clock shows 3:29:59, yet only 59:59 have gone";
    h.sim.advance(40);
    EXPECT_TRUE(goesOffAndFlashes(h.sim, down));
    EXPECT_EQ(h.m().Label2->text(), "3:30:01 AM");
    EXPECT_EQ(watch->Label2->text(), "01:00:01");
    EXPECT_EQ(cycling->CyclesLabel->text(), "Cycles: 4");
    EXPECT_EQ(h.table.DurationStart[cycling->slot()], start + 4 * 900'000);
    EXPECT_TRUE(invariantsHold(h));
}

TEST(HostileLocales, EveryLocaleReadsTheLaunchTimeRightOrLeavesItToTheClock)
{
    // When countTime says it read the launch time back from the user's format, it must have read it right.
    QStringList wrong;
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    for (const QLocale& locale : locales) {
        for (const int hour : {0, 1, 9, 10, 11, 12, 13, 21, 23}) {
            for (const QTime time : {QTime(hour, 0, 7), QTime(hour, 35, 47)}) {
                SlotTable table;
                table.LaunchTimeText[0] = longTimeText(time, locale);
                if (countTime(table, 0) && table.LaunchSecs[0] != secondsOfDay(time)) {
                    wrong << QStringLiteral("%1 '%2' read as %3:%4:%5")
                                 .arg(locale.name(), table.LaunchTimeText[0])
                                 .arg(table.LaunchHour[0])
                                 .arg(table.LaunchMinute[0])
                                 .arg(table.LaunchSecond[0]);
                }
            }
        }
    }
    EXPECT_TRUE(wrong.isEmpty()) << wrong.size() << " misread, e.g.\n" << qPrintable(wrong.mid(0, 12).join('\n'));
}

TEST(HostileLocales, JapaneseAlarmSetBeforeTenRingsOnTime)
{
    AppHarness h(QTimeZone::utc(), QLocale(QLocale::Japanese, QLocale::Japan));
    h.clock.setLocal(QDateTime(QDate(2026, 12, 6), QTime(9, 35, 47)));
    h.chooseAlarm(10, 0, 0, false);
    AlarmForm* f = h.launch();
    EXPECT_EQ(f->Label3->text().toStdString(), "Alarm Set At: 9時35分47秒");
    EXPECT_EQ(h.table.AlarmWait[0], 1453) << "24 minutes 13 seconds to go";
    h.sim.advance(1453'000 - 990);
    EXPECT_FALSE(f->Label6->isVisibleTo(f));
    h.sim.advance(1000);
    EXPECT_TRUE(f->Label6->isVisibleTo(f)) << "rings at 10:00:00";
}

// Runs check on every file of fuzz/corpus/<target> and fuzz/regressions/<target>.
void replayFuzzInputs(const char* target, const std::function<QString(const std::uint8_t*, std::size_t)>& check)
{
    const QDir fuzz(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../fuzz")));
    int inputs = 0;
    for (const char* kind : {"corpus", "regressions"}) {
        const QDir folder(fuzz.filePath(QLatin1String(kind) + QLatin1Char('/') + QLatin1String(target)));
        for (const QFileInfo& file : folder.entryInfoList(QDir::Files, QDir::Name)) {
            QFile in(file.filePath());
            ASSERT_TRUE(in.open(QIODevice::ReadOnly)) << qPrintable(file.filePath());
            const QByteArray bytes = in.readAll();
            const QString problem =
                check(reinterpret_cast<const std::uint8_t*>(bytes.constData()), size_t(bytes.size()));
            EXPECT_TRUE(problem.isEmpty())
                << kind << '/' << target << '/' << qPrintable(file.fileName()) << ": " << qPrintable(problem);
            ++inputs;
        }
    }
    EXPECT_GE(inputs, 3) << "the inputs of " << target << " were not found under " << qPrintable(fuzz.path());
}

TEST(FuzzInputs, AudioCommandsLaunchTimesAndFileNames)
{
    replayFuzzInputs("mci_command", fuzz::checkMciCommands);
    replayFuzzInputs("count_time", fuzz::checkCountTime);
    replayFuzzInputs("file_name", fuzz::checkFileName);
}

TEST(FuzzInputs, WaveFiles)
{
    QTemporaryDir dir;
    SdlAudioBackend backend;
    if (backend.deviceCount() == 0)
        GTEST_SKIP() << "no audio device, not even SDL's dummy driver";
    const QString file = dir.filePath(QStringLiteral("input.wav"));
    replayFuzzInputs("wave_load", [&](const std::uint8_t* data, std::size_t size) {
        return fuzz::checkWaveLoad(data, size, backend, file);
    });
}

TEST(Exit, StartLaunchesClosesAndExitLeaveNothingBehind)
{
    const auto ourWindows = [] {
        int count = 0;
        for (QWidget* w : QApplication::allWidgets())
            count += qobject_cast<Timermain*>(w) || qobject_cast<AlarmForm*>(w);
        return count;
    };
    AppHarness::flushDeletes();
    const int before = ourWindows();
    {
        QTemporaryDir dir;
        FakeAudioCommands audio;
        Rig rig(audio, dir.filePath(QStringLiteral("sounds")));
        Timermain& m = rig.m();
        pickSound(m, 3);
        for (int round = 0; round < 3; ++round) {
            launchCountDown(m, 1);
            m.Check2->click(); // an alarm clock
            pressLaunch(m);
            m.Check3->click();
            if (AlarmForm* watch = pressLaunch(m))
                watch->SWStart->click();
            m.Option1->click();
            pressLaunch(m);
            rig.sim.advance(1600);
            m.ALARMFORM[1]->close();
            m.Command4->click();
            rig.sim.advance(1000);
            if (round < 2)
                m.Command5->click();
        }
        EXPECT_EQ(rig.table.RunningCount, 3);
        m.close(); // with windows open and a sound playing
        AppHarness::flushDeletes();
        EXPECT_EQ(rig.sim.armedTimers(), 0) << "nothing left ticking";
    }
    AppHarness::flushDeletes();
    EXPECT_EQ(ourWindows(), before) << "every window was deleted";
}

} // namespace
