#include "support/harness.h"

#include "engine/soundcatalog.h"
#include "platform/audiocommands.h"
#include "platform/resourcefiles.h"
#include "platform/sdlaudiobackend.h"
#include "sound/extraction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <map>

using namespace quandrel;
using namespace quandrel::test;

namespace {

struct WaveFormat {
    int tag, rate, bits, channels;
};

// The fmt chunk of a RIFF WAVE file.
WaveFormat formatOf(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {};
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        if (id == "fmt " && pos + 8 + 16 <= bytes.size()) {
            const char* f = bytes.constData() + pos + 8;
            return {qFromLittleEndian<quint16>(f), int(qFromLittleEndian<quint32>(f + 4)),
                    qFromLittleEndian<quint16>(f + 14), qFromLittleEndian<quint16>(f + 2)};
        }
        pos += 8 + size + (size & 1);
    }
    return {};
}

TEST(Recordings, EveryRecordingHasItsFormat)
{
    // tag 1 PCM, 2 Microsoft ADPCM; rate, bits, channels
    const std::map<QString, WaveFormat> expected{
        {"BLEEP", {1, 11025, 8, 1}}, {"BLEEP2", {1, 22050, 8, 2}}, {"DING", {1, 11025, 16, 1}},
        {"SIREN", {1, 22050, 8, 1}}, {"TINKLE", {1, 22050, 8, 1}}, {"WHOOP", {2, 11025, 4, 1}},
    };
    for (const QString& name : extractionOrder()) {
        QFile resource(recordingResourcePath(name));
        ASSERT_TRUE(resource.open(QIODevice::ReadOnly)) << name.toStdString();
        const WaveFormat got = formatOf(resource.readAll());
        const auto it = expected.find(name);
        const WaveFormat want = it != expected.end() ? it->second : WaveFormat{1, 44100, 16, 1};
        EXPECT_EQ(got.tag, want.tag) << name.toStdString();
        EXPECT_EQ(got.rate, want.rate) << name.toStdString();
        EXPECT_EQ(got.bits, want.bits) << name.toStdString();
        EXPECT_EQ(got.channels, want.channels) << name.toStdString();
    }
}

TEST(Recordings, EveryRecordingDecodesAndIsShorterThanThreeSeconds)
{
    SdlAudioBackend backend;
    MciCommandLayer audio(backend);
    if (audio.waveOutGetNumDevs() == 0)
        GTEST_SKIP() << "no audio device, not even SDL's dummy driver";
    QTemporaryDir dir;
    ASSERT_TRUE(extractRecordings(dir.path()).isEmpty());
    for (const QString& name : extractionOrder()) {
        const QString path = soundFilePath(dir.path(), *soundByResource(name));
        int error = 0;
        audio.mciSendString(QStringLiteral("open ") + path + QStringLiteral(" type waveaudio alias voice1"), &error);
        ASSERT_EQ(error, 0) << name.toStdString();
        const int length = audio.mciSendString(QStringLiteral("status voice1 length")).toInt();
        EXPECT_GT(length, 150) << name.toStdString();
        EXPECT_LT(length, 3000) << name.toStdString();
        audio.mciSendString(QStringLiteral("close voice1"));
    }
}

QDateTime modified(const QString& path)
{
    return QFileInfo(path).lastModified();
}

TEST(Extraction, WritesOnceAndNeverRewrites)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("deep/sounds"));
    ASSERT_TRUE(extractRecordings(folder).isEmpty());
    const QStringList files = QDir(folder).entryList(QDir::Files);
    EXPECT_EQ(files.size(), 25) << "and no temporary file left";
    const QString bleep = soundFilePath(folder, builtinSounds()[0]);
    QFile resource(recordingResourcePath(QStringLiteral("BLEEP")));
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    QFile written(bleep);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), resource.readAll()) << "byte for byte";
    written.close();

    // A file that is there is kept as it is, even one that holds other data.
    QFile ding(soundFilePath(folder, builtinSounds()[2]));
    ASSERT_TRUE(ding.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ding.write("mine");
    ding.close();
    const QDateTime before = modified(bleep);
    QFile::remove(soundFilePath(folder, readySound()));
    ASSERT_TRUE(extractRecordings(folder).isEmpty());
    EXPECT_EQ(modified(bleep), before);
    EXPECT_EQ(QFileInfo(ding.fileName()).size(), 4);
    EXPECT_TRUE(QFileInfo::exists(soundFilePath(folder, readySound()))) << "the deleted one is written again";
}

TEST(Extraction, UnwritableFolderIsReportedOnceAndTheProgramRuns)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("sounds")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    AppHarness h;
    h.services.soundFolder = blocker.fileName();
    Timermain second(h.table, h.services);
    second.Form_Load();
    EXPECT_EQ(second.missingRecordings().size(), 25);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].text.contains("Bleep"));
    EXPECT_TRUE(h.dialogs.messages[0].text.contains("Ready"));
    second.close();
}

TEST(Pictures, LoadThroughATemporaryFileThatIsRemoved)
{
    QTemporaryDir tmp;
    qputenv("TMPDIR", tmp.path().toLocal8Bit());
    for (int id : {101, 102, 103}) {
        EXPECT_FALSE(LoadResourcePicture(id, QStringLiteral("Custom")).isNull()) << id;
        EXPECT_FALSE(LoadResourcePicture(id, QStringLiteral("CUSTOM"), QString(), 2.0).isNull()) << id;
    }
    EXPECT_TRUE(LoadResourcePicture(999, QStringLiteral("Custom")).isNull());
    EXPECT_TRUE(LoadResourcePicture(101, QStringLiteral("Icon")).isNull());
    EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).isEmpty()) << "no ~rs file left";
    qunsetenv("TMPDIR");
}

TEST(Pictures, TempNamesAndTrimming)
{
    QTemporaryDir tmp;
    QString name;
    ASSERT_TRUE(MakeTempFileName(tmp.path(), QStringLiteral("~rs"), 0, name));
    EXPECT_TRUE(QFileInfo(name).fileName().startsWith("~rs"));
    EXPECT_TRUE(QFileInfo::exists(name));
    EXPECT_EQ(TrimAtNull(QStringLiteral("abc") + QChar(u'\0') + QStringLiteral("def")), "abc");
    EXPECT_EQ(TrimAtNull(QStringLiteral("abc")), "abc");
    EXPECT_EQ(SaveResourceToFile(101, QStringLiteral("custom"), tmp.filePath(QStringLiteral("none/x.gif"))), 75);
}

} // namespace
