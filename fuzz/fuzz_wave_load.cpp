// A user-picked file of any content, loaded through SDL2_mixer on the dummy
// audio driver: the wave-header checks, the decoder and the play behind them.

#include "fuzz_checks.h"
#include "fuzz_main.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdlib>

#include <unistd.h>

namespace {

// Both live until the process ends: Qt's own globals are gone by the time
// static destructors would run.
QCoreApplication* app = nullptr;
quandrel::SdlAudioBackend* backend = nullptr;
QString* file = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    app = new QCoreApplication(*argc, *argv);
    backend = new quandrel::SdlAudioBackend;
    if (backend->deviceCount() == 0) {
        std::fprintf(stderr, "no audio device, not even SDL's dummy driver\n");
        std::exit(1);
    }
    file = new QString(QDir::temp().filePath(QStringLiteral("quandrel-fuzz-%1.wav").arg(getpid())));
    std::atexit([] { QFile::remove(*file); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return quandrel::fuzz::report(quandrel::fuzz::checkWaveLoad(data, size, *backend, *file));
}
