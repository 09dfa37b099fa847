#include "platform/sdlsounddevice.h"

#include <QFile>
#include <QFileInfo>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>

namespace quandrel {
namespace {

constexpr int kChannel = 0;
constexpr int kIdleCloseMs = 3000;
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
// What one sound may take once converted to the device's format.
constexpr qint64 kMaxDecodedBytes = 256LL * 1024 * 1024;

// The instance that the mixer's end-of-play callback reports to.
std::atomic<SdlSoundDevice*> liveDevice{nullptr};

quint32 readLe32(const QByteArray& bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 readLe16(const QByteArray& bytes, qsizetype at)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint16(p[0] | p[1] << 8);
}

// Reads a regular file of sane size whole. Directories, devices and pipes
// are refused before they are opened.
bool readSoundFile(const QString& path, QByteArray* bytes)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxFileBytes)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.read(std::min(info.size(), kMaxFileBytes) + 1); // never a buffer of kMaxFileBytes
    return !bytes->isEmpty() && bytes->size() <= kMaxFileBytes;
}

// Checks the RIFF structure up to the sample data before the decoder sees it:
// every chunk must lie within the file (a declared size past the end would
// make the decoder allocate it), the format must be plausible, and the sound
// must not grow beyond kMaxDecodedBytes in the device's format.
bool isPlausibleWave(const QByteArray& bytes, qint64 deviceBytesPerSecond)
{
    const qsizetype size = bytes.size();
    if (size < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return false;
    int channels = 0;
    qint64 rate = 0;
    int bits = 0;
    qsizetype at = 12;
    while (at + 8 <= size) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 length = readLe32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (length > size - body)
            return false;
        if (id == "fmt ") {
            if (length < 16)
                return false;
            channels = readLe16(bytes, body + 2);
            rate = readLe32(bytes, body + 4);
            bits = readLe16(bytes, body + 14);
        } else if (id == "data") {
            if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000 || bits < 4 || bits > 64)
                return false;
            const qint64 frames = length * 8 / (qint64(bits) * channels);
            return frames * deviceBytesPerSecond / rate <= kMaxDecodedBytes;
        }
        at = body + length + (length & 1);
    }
    return false;
}

} // namespace

SdlSoundDevice::SdlSoundDevice(QObject* parent) : SoundDevice(parent)
{
    idleTimer_.setSingleShot(true);
    idleTimer_.setInterval(kIdleCloseMs);
    connect(&idleTimer_, &QTimer::timeout, this, &SdlSoundDevice::closeIfIdle);
    liveDevice.store(this);
}

SdlSoundDevice::~SdlSoundDevice()
{
    SdlSoundDevice* self = this;
    liveDevice.compare_exchange_strong(self, nullptr);
    if (deviceOpen_) {
        // Taken under the mixer's lock: once this returns, no end-of-play
        // callback is running or will run for this instance.
        Mix_ChannelFinished(nullptr);
    }
    closeDevice();
}

void SdlSoundDevice::setIdleCloseDelay(int ms)
{
    idleTimer_.setInterval(std::max(0, ms));
}

int SdlSoundDevice::deviceCount()
{
    if (deviceOpen_)
        return deviceCount_;
    if (!openDevice())
        return 0;
    scheduleIdleClose();
    return deviceCount_;
}

bool SdlSoundDevice::open(const QString& path)
{
    if (open_)
        return false;
    QByteArray bytes;
    if (!readSoundFile(path, &bytes) || !openDevice())
        return false;
    int rate = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&rate, &format, &channels);
    const qint64 bytesPerSecond = qint64(rate) * channels * (SDL_AUDIO_BITSIZE(format) / 8);
    if (bytesPerSecond > 0 && isPlausibleWave(bytes, bytesPerSecond)) {
        wave_ = bytes;
        if (decode()) {
            lengthMs_ = int((qint64(chunk_->alen) * 1000 + bytesPerSecond / 2) / bytesPerSecond);
            open_ = true;
            scheduleIdleClose();
            return true;
        }
        wave_.clear();
    }
    scheduleIdleClose();
    return false;
}

void SdlSoundDevice::close()
{
    open_ = false;
    awaitingEnd_ = false;
    if (deviceOpen_)
        Mix_HaltChannel(kChannel);
    freeChunk();
    wave_.clear();
    lengthMs_ = 0;
    scheduleIdleClose();
}

int SdlSoundDevice::lengthMs() const
{
    return lengthMs_;
}

bool SdlSoundDevice::play(int limitMs)
{
    if (wave_.isEmpty() || !openDevice())
        return false;
    awaitingEnd_ = false; // a play that is still running is replaced, not finished
    idleTimer_.stop();
    if (!decode()) {
        scheduleIdleClose();
        return false;
    }
    if (limitMs == 0 || chunk_->alen == 0) {
        // Nothing to hear (the mixer would take a zero limit as none).
        Mix_HaltChannel(kChannel);
    } else if (Mix_PlayChannelTimed(kChannel, chunk_, 0, limitMs < 0 ? -1 : limitMs) < 0) {
        scheduleIdleClose();
        return false;
    }
    awaitingEnd_ = true;
    // A play that is over already has ended by itself all the same.
    if (!Mix_Playing(kChannel))
        QMetaObject::invokeMethod(this, &SdlSoundDevice::channelDone, Qt::QueuedConnection);
    return true;
}

bool SdlSoundDevice::isPlaying() const
{
    return deviceOpen_ && Mix_Playing(kChannel) != 0;
}

void SdlSoundDevice::stop()
{
    awaitingEnd_ = false;
    if (deviceOpen_)
        Mix_HaltChannel(kChannel);
    scheduleIdleClose();
}

bool SdlSoundDevice::openDevice()
{
    if (deviceOpen_)
        return true;
    // SDL would otherwise take over SIGINT and SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, MIX_DEFAULT_CHANNELS, 1024) != 0) {
        // Let go of the subsystem, so that a sound server that comes up later
        // is found on the next try.
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_ChannelFinished(&SdlSoundDevice::channelFinished);
    deviceOpen_ = true;
    deviceCount_ = std::max(1, SDL_GetNumAudioDevices(0));
    return true;
}

void SdlSoundDevice::closeDevice()
{
    idleTimer_.stop();
    if (!deviceOpen_)
        return;
    awaitingEnd_ = false;
    Mix_HaltChannel(-1);
    freeChunk();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceOpen_ = false;
    deviceCount_ = 0;
}

void SdlSoundDevice::closeIfIdle()
{
    // A play that is running or whose end is still on its way closes the
    // device later, through channelDone().
    if (awaitingEnd_ || isPlaying())
        return;
    closeDevice();
}

void SdlSoundDevice::scheduleIdleClose()
{
    if (deviceOpen_ && !awaitingEnd_)
        idleTimer_.start();
}

bool SdlSoundDevice::decode()
{
    if (chunk_)
        return true;
    if (wave_.isEmpty() || !deviceOpen_)
        return false;
    SDL_RWops* source = SDL_RWFromConstMem(wave_.constData(), int(wave_.size()));
    if (!source)
        return false;
    chunk_ = Mix_LoadWAV_RW(source, 1);
    return chunk_ != nullptr;
}

void SdlSoundDevice::freeChunk()
{
    if (!chunk_)
        return;
    Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
}

void SdlSoundDevice::channelDone()
{
    // Every halt and every replaced play reports too; only a play that we
    // still wait for and that no longer sounds has ended by itself.
    if (!awaitingEnd_ || !deviceOpen_ || Mix_Playing(kChannel))
        return;
    awaitingEnd_ = false;
    scheduleIdleClose();
    emit playEnded();
}

// Runs on the mixer's audio thread (or inside a halt): only hands over to
// the GUI thread.
void SdlSoundDevice::channelFinished(int channel)
{
    if (channel != kChannel)
        return;
    if (SdlSoundDevice* self = liveDevice.load())
        QMetaObject::invokeMethod(self, &SdlSoundDevice::channelDone, Qt::QueuedConnection);
}

} // namespace quandrel
