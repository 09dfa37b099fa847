// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sdlsounddevice.h"

#include "platform/wavefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <QtEndian>

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace quandrel {
namespace {

constexpr int IdleCloseMs = 3000;
constexpr qint64 FeedBytes = 16384;
constexpr qint64 SilenceBytes = 4096; // put after a sound, as often as needed
// Encodings that SDL decodes whole are taken up to this size of file, and of
// samples once decoded (16 MiB of 4-bit ADPCM).
constexpr qint64 MaxDecodedFileBytes = 16LL * 1024 * 1024;
constexpr qint64 MaxDecodedBytes = 4 * MaxDecodedFileBytes;

// The SDL functions the device uses, looked up when the first sound is
// asked for, so that starting the program does not load the audio stack.
#define QUANDREL_SDL_FUNCTIONS(X)                                                                                      \
    X(SetHint)                                                                                                         \
    X(InitSubSystem)                                                                                                   \
    X(QuitSubSystem)                                                                                                   \
    X(GetNumAudioDevices)                                                                                              \
    X(OpenAudioDevice)                                                                                                 \
    X(CloseAudioDevice)                                                                                                \
    X(PauseAudioDevice)                                                                                                \
    X(LockAudioDevice)                                                                                                 \
    X(UnlockAudioDevice)                                                                                               \
    X(NewAudioStream)                                                                                                  \
    X(AudioStreamPut)                                                                                                  \
    X(AudioStreamGet)                                                                                                  \
    X(FreeAudioStream)                                                                                                 \
    X(RWFromConstMem)                                                                                                  \
    X(LoadWAV_RW)                                                                                                      \
    X(FreeWAV)

struct Sdl {
#define QUANDREL_SDL_MEMBER(name) decltype(&SDL_##name) name = nullptr;
    QUANDREL_SDL_FUNCTIONS(QUANDREL_SDL_MEMBER)
#undef QUANDREL_SDL_MEMBER
    bool loaded = false;
};

const Sdl& sdl()
{
    static const Sdl api = [] {
        Sdl s;
        QLibrary library(QStringLiteral("SDL2-2.0"), 0);
        if (!library.load()) {
            library.setFileName(QStringLiteral("SDL2"));
            if (!library.load())
                return s;
        }
        bool all = true;
        const auto resolve = [&library, &all](auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
            all = all && function;
        };
#define QUANDREL_SDL_RESOLVE(name) resolve(s.name, "SDL_" #name);
        QUANDREL_SDL_FUNCTIONS(QUANDREL_SDL_RESOLVE)
#undef QUANDREL_SDL_RESOLVE
        s.loaded = all;
        return s;
    }();
    return api;
}
#undef QUANDREL_SDL_FUNCTIONS

} // namespace

// The open sound: a file whose samples are read as they play, or samples
// SDL decoded whole.
struct SdlSoundDevice::Source {
    std::FILE* file = nullptr;
    qint64 dataOffset = 0;
    Uint8* decoded = nullptr;
    qint64 position = 0;
    qint64 bytes = 0;   // sample bytes in all
    int frameBytes = 1; // bytes of one frame as stored
    // How samples are handed on: as stored, 24-bit as 32-bit, doubles as floats.
    enum Conversion { AsStored, Widen24, Narrow64 } conversion = AsStored;
    SDL_AudioFormat format = AUDIO_S16LSB;
    int channels = 1;
    int rate = 44100;
    qint64 lengthMs = 0;

    ~Source()
    {
        if (file)
            std::fclose(file);
        if (decoded)
            sdl().FreeWAV(decoded);
    }
    void rewind()
    {
        position = 0;
        if (file)
            std::fseek(file, long(dataOffset), SEEK_SET);
    }
    // Up to `want` bytes as stored, whole frames only; what was read.
    qint64 read(unsigned char* to, qint64 want)
    {
        want = std::min(want, bytes - position) / frameBytes * frameBytes;
        if (want <= 0)
            return 0;
        const qint64 got = file ? qint64(std::fread(to, 1, size_t(want), file)) : want;
        if (!file)
            std::memcpy(to, decoded + position, size_t(got));
        position += got;
        return got / frameBytes * frameBytes;
    }
};

SdlSoundDevice::SdlSoundDevice(QObject* parent) : SoundDevice(parent)
{
    idleTimer_.setSingleShot(true);
    idleTimer_.setInterval(IdleCloseMs);
    connect(&idleTimer_, &QTimer::timeout, this, [this] {
        if (!active_)
            closeDevice();
    });
    buffer_.resize(size_t(FeedBytes) * 4 / 3 + 16);
}

SdlSoundDevice::~SdlSoundDevice()
{
    closeDevice();
    source_.reset();
}

void SdlSoundDevice::setIdleCloseDelay(int ms)
{
    idleTimer_.setInterval(std::max(0, ms));
}

int SdlSoundDevice::deviceCount()
{
    if (!device_ && openDevice())
        scheduleIdleClose();
    return device_ ? deviceCount_ : 0;
}

namespace {

// Samples read from the file as they play: PCM in 8- to 32-bit containers
// (12-bit samples in 16 bits, 20-bit in 24...) and 32- or 64-bit floats.
// Other encodings SDL decodes whole.
bool isStreamed(const WaveFormat& wave)
{
    const int bits = wave.bitsPerSample, stored = wave.blockAlign / wave.channels * 8;
    return (wave.encoding == WaveFormat::Pcm && bits >= 8 && stored <= 32) ||
           (wave.encoding == WaveFormat::Float && (bits == 32 || bits == 64));
}

// The most bytes SDL may make of the samples: it decodes compressed samples
// to 16 bits, so 4-bit ADPCM grows fourfold.
qint64 decodedBytes(const WaveFormat& wave)
{
    return wave.dataBytes * std::max(16, wave.bitsPerSample) / wave.bitsPerSample;
}

} // namespace

// The one decision on a file: the sound that will play, or nothing with the
// reason in *why.
namespace {
std::nullptr_t refused(QString* why, const char* reason)
{
    if (why)
        *why = QCoreApplication::translate("WaveFile", reason);
    return nullptr;
}
} // namespace

std::unique_ptr<SdlSoundDevice::Source> SdlSoundDevice::load(const QString& path, QString* why)
{
    const std::optional<WaveFormat> wave = readWaveFile(path, why);
    if (!wave)
        return nullptr;
    return isStreamed(*wave) ? loadStreamed(path, *wave, why) : loadDecoded(path, *wave, why);
}

// PCM and float samples are read from the file as they play.
std::unique_ptr<SdlSoundDevice::Source> SdlSoundDevice::loadStreamed(const QString& path, const WaveFormat& wave,
                                                                     QString* why)
{
    auto source = std::make_unique<Source>();
    source->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!source->file)
        return refused(why, QT_TRANSLATE_NOOP("WaveFile", "it cannot be read"));
    const int stored = wave.blockAlign / wave.channels * 8;
    source->dataOffset = wave.dataOffset;
    source->bytes = wave.dataBytes;
    source->frameBytes = wave.blockAlign;
    source->conversion = stored == 24 ? Source::Widen24 : stored == 64 ? Source::Narrow64 : Source::AsStored;
    source->format = stored == 64                         ? AUDIO_F32SYS // as narrowed
                     : wave.encoding == WaveFormat::Float ? AUDIO_F32LSB
                     : stored == 8                        ? AUDIO_U8
                     : stored == 16                       ? AUDIO_S16LSB
                                                          : AUDIO_S32LSB;
    source->channels = wave.channels;
    source->rate = wave.rate;
    source->lengthMs = wave.lengthMs();
    return source;
}

// Other encodings are decoded whole by SDL, up to a size.
std::unique_ptr<SdlSoundDevice::Source> SdlSoundDevice::loadDecoded(const QString& path, const WaveFormat& wave,
                                                                    QString* why)
{
    QFile file(path);
    if (file.size() > MaxDecodedFileBytes || decodedBytes(wave) > MaxDecodedBytes)
        return refused(why, QT_TRANSLATE_NOOP("WaveFile", "its compressed samples are too long to decode"));
    if (!sdl().loaded)
        return refused(why, QT_TRANSLATE_NOOP("WaveFile", "its encoding needs the SDL library, which is missing"));
    if (!file.open(QIODevice::ReadOnly))
        return refused(why, QT_TRANSLATE_NOOP("WaveFile", "it cannot be read"));
    // SDL sizes its buffers from the header: it is shown the file up to the
    // end of the samples, claiming no more of them than the file holds.
    QByteArray bytes = file.read(wave.dataOffset + wave.dataBytes);
    if (bytes.size() != wave.dataOffset + wave.dataBytes)
        return refused(why, QT_TRANSLATE_NOOP("WaveFile", "it cannot be read"));
    qToLittleEndian(quint32(bytes.size() - 8), bytes.data() + 4);
    qToLittleEndian(quint32(wave.dataBytes), bytes.data() + wave.dataOffset - 4);
    auto source = std::make_unique<Source>();
    SDL_AudioSpec spec{};
    Uint32 length = 0;
    SDL_RWops* in = sdl().RWFromConstMem(bytes.constData(), int(bytes.size()));
    if (!in || !sdl().LoadWAV_RW(in, 1, &spec, &source->decoded, &length))
        return refused(why, QT_TRANSLATE_NOOP("WaveFile", "its encoding is not one that can be played"));
    source->bytes = length;
    source->format = spec.format;
    source->channels = spec.channels;
    source->rate = spec.freq;
    source->frameBytes = std::max(1, SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels);
    source->lengthMs = qint64(length) / source->frameBytes * 1000 / std::max(1, spec.freq);
    return source;
}

bool SdlSoundDevice::canPlay(const QString& path, QString* why)
{
    return load(path, why) != nullptr;
}

bool SdlSoundDevice::open(const QString& path)
{
    if (source_)
        return false;
    source_ = load(path, nullptr);
    return source_ != nullptr;
}

int SdlSoundDevice::lengthMs() const
{
    return source_ ? int(std::min<qint64>(source_->lengthMs, INT_MAX)) : 0;
}

bool SdlSoundDevice::play(int limitMs)
{
    if (!source_ || !openDevice())
        return false;
    halt();
    const Sdl& api = sdl();
    SDL_AudioStream* stream = api.NewAudioStream(source_->format, Uint8(source_->channels), source_->rate, AUDIO_F32SYS,
                                                 Uint8(channelsOut_), rateOut_);
    if (!stream) {
        scheduleIdleClose();
        return false;
    }
    source_->rewind();
    qint64 bytes = source_->bytes;
    if (limitMs >= 0)
        bytes = std::min(bytes, qint64(source_->rate) * limitMs / 1000 * source_->frameBytes);
    idleTimer_.stop();
    api.LockAudioDevice(device_);
    stream_ = stream;
    feedLeft_ = bytes;
    framesIn_ = 0;
    bytesOut_ = 0;
    ++generation_;
    active_ = true;
    api.UnlockAudioDevice(device_);
    api.PauseAudioDevice(device_, 0);
    return true;
}

void SdlSoundDevice::halt()
{
    if (!device_)
        return;
    const Sdl& api = sdl();
    api.LockAudioDevice(device_);
    active_ = false;
    ++generation_;
    if (stream_)
        api.FreeAudioStream(static_cast<SDL_AudioStream*>(stream_));
    stream_ = nullptr;
    api.UnlockAudioDevice(device_);
}

void SdlSoundDevice::stop()
{
    halt();
    if (device_)
        sdl().PauseAudioDevice(device_, 1);
    scheduleIdleClose();
}

void SdlSoundDevice::close()
{
    stop();
    source_.reset();
}

bool SdlSoundDevice::openDevice()
{
    if (device_)
        return true;
    const Sdl& api = sdl();
    if (!api.loaded)
        return false;
    // SDL would otherwise take over SIGINT and SIGTERM.
    api.SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (api.InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = [](void* self, Uint8* out, int len) { static_cast<SdlSoundDevice*>(self)->fill(out, len); };
    want.userdata = this;
    SDL_AudioSpec got{};
    device_ = api.OpenAudioDevice(nullptr, 0, &want, &got,
                                  SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (!device_) {
        // Let go of the subsystem, so that a sound server that comes up
        // later is found on the next try.
        api.QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    rateOut_ = got.freq;
    channelsOut_ = got.channels;
    deviceCount_ = std::max(1, api.GetNumAudioDevices(0));
    return true;
}

void SdlSoundDevice::closeDevice()
{
    idleTimer_.stop();
    if (!device_)
        return;
    const Sdl& api = sdl();
    active_ = false;
    api.CloseAudioDevice(device_); // waits for the callback to return
    if (stream_)
        api.FreeAudioStream(static_cast<SDL_AudioStream*>(stream_));
    stream_ = nullptr;
    device_ = 0;
    deviceCount_ = 0;
    api.QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundDevice::scheduleIdleClose()
{
    if (device_ && !active_)
        idleTimer_.start();
}

// The audio thread asks for len bytes of the device's format.
void SdlSoundDevice::fill(unsigned char* out, int len)
{
    std::memset(out, 0, size_t(len)); // silence in float samples
    if (!active_ || !stream_)
        return;
    const Sdl& api = sdl();
    auto* stream = static_cast<SDL_AudioStream*>(stream_);
    const qint64 frameOut = channelsOut_ * qint64(sizeof(float));
    int got = 0;
    while (got < len) {
        // What the samples handed on make at the device's rate; what the
        // stream gives beyond that is the silence put after them.
        const qint64 due = framesIn_ * rateOut_ / source_->rate * frameOut - bytesOut_;
        const int n = due > 0 ? api.AudioStreamGet(stream, out + got, int(std::min<qint64>(len - got, due))) : 0;
        if (n < 0)
            break;
        got += n;
        bytesOut_ += n;
        if (n > 0)
            continue;
        if (feedLeft_ > 0 && feed())
            continue;
        // SDL's resampler keeps the last samples back until more come, and
        // a flush does not always let them go: silence after them does.
        if (due > 0) {
            const int frame = SDL_AUDIO_BITSIZE(source_->format) / 8 * source_->channels;
            const int silence = int(SilenceBytes) / frame * frame;
            std::memset(buffer_.data(), source_->format == AUDIO_U8 ? 0x80 : 0, size_t(silence));
            if (api.AudioStreamPut(stream, buffer_.data(), silence) == 0)
                continue;
        }
        // Everything has been handed to the device.
        active_ = false;
        QMetaObject::invokeMethod(
            this, [this, generation = unsigned(generation_)] { playbackEnded(generation); }, Qt::QueuedConnection);
        break;
    }
}

bool SdlSoundDevice::feed()
{
    unsigned char* data = buffer_.data();
    const qint64 stored = source_->read(data, std::min(feedLeft_, FeedBytes));
    if (stored <= 0) {
        feedLeft_ = 0; // the file ended early
        return false;
    }
    feedLeft_ -= stored;
    framesIn_ += stored / source_->frameBytes;
    qint64 bytes = stored;
    if (source_->conversion == Source::Widen24) {
        // Each 3-byte sample becomes the top three bytes of a 32-bit one,
        // working from the end so that nothing is overwritten before it is read.
        const qint64 samples = stored / 3;
        for (qint64 i = samples - 1; i >= 0; --i) {
            data[i * 4 + 3] = data[i * 3 + 2];
            data[i * 4 + 2] = data[i * 3 + 1];
            data[i * 4 + 1] = data[i * 3];
            data[i * 4] = 0;
        }
        bytes = samples * 4;
    } else if (source_->conversion == Source::Narrow64) {
        // Each double becomes a float, working from the start.
        const qint64 samples = stored / 8;
        for (qint64 i = 0; i < samples; ++i) {
            const float sample = float(std::bit_cast<double>(qFromLittleEndian<quint64>(data + i * 8)));
            std::memcpy(data + i * 4, &sample, 4);
        }
        bytes = samples * 4;
    }
    return sdl().AudioStreamPut(static_cast<SDL_AudioStream*>(stream_), data, int(bytes)) == 0;
}

void SdlSoundDevice::playbackEnded(unsigned generation)
{
    if (generation != generation_ || active_)
        return; // a stop or a newer play came first
    sdl().PauseAudioDevice(device_, 1);
    scheduleIdleClose();
    emit playEnded();
}

} // namespace quandrel
