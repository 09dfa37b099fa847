// SPDX-License-Identifier: GPL-3.0-or-later
// A picked file of any content on the real sound device (SDL's dummy
// driver): refused at once, or played and closed cleanly.
#include "fuzz_main.h"
#include "platform/sdlsounddevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace {
// Both live until the process ends: Qt's own globals are gone by the time
// static destructors would run.
QCoreApplication* app = nullptr;
quandrel::SdlSoundDevice* device = nullptr;
QString* file = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    app = new QCoreApplication(*argc, *argv);
    device = new quandrel::SdlSoundDevice;
    if (device->deviceCount() == 0) {
        std::fprintf(stderr, "no audio device, not even SDL's dummy driver\n");
        std::exit(1);
    }
    file = new QString(QDir::temp().filePath(QStringLiteral("quandrel-fuzz-%1.wav").arg(getpid())));
    std::atexit([] { QFile::remove(*file); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QFile out(*file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return quandrel::fuzz::report(QStringLiteral("cannot write %1").arg(*file));
    out.write(reinterpret_cast<const char*>(data), qint64(size));
    out.close();
    QString problem;
    if (device->open(*file)) {
        if (device->lengthMs() < 0 || (!device->play(100) && device->lengthMs() > 0))
            problem = QStringLiteral("an open sound of %1 ms does not play").arg(device->lengthMs());
        device->close();
    } else if (device->lengthMs() != 0) {
        problem = QStringLiteral("a refused file has a length");
    }
    if (device->isPlaying())
        problem = QStringLiteral("the sound outlived its close");
    return quandrel::fuzz::report(problem);
}
