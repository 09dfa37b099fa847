// SPDX-License-Identifier: GPL-3.0-or-later
// A picked file of any content on the real sound device (SDL's dummy
// driver): refused at once, or played and closed cleanly.
#include "fuzz_main.h"
#include "platform/sdlsounddevice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <unistd.h>

// They live until the process ends: Qt's globals are gone before static destructors run.
static quandrel::SdlSoundDevice* device = nullptr;
static QString* file = nullptr;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    new QCoreApplication(*argc, *argv);
    device = new quandrel::SdlSoundDevice;
    file = new QString(QDir::temp().filePath(QStringLiteral("quandrel-fuzz-%1.wav").arg(getpid())));
    std::atexit([] { QFile::remove(*file); });
    return device->deviceCount() == 0 ? quandrel::fuzz::report(QStringLiteral("no audio device")) : 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QFile out(*file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        out.write(reinterpret_cast<const char*>(data), qint64(size)) < 0)
        return quandrel::fuzz::report(QStringLiteral("cannot write %1").arg(*file));
    out.close();
    const bool opened = device->open(*file);
    QString problem;
    if (opened && device->lengthMs() > 0 && !device->play(100))
        problem = QStringLiteral("an open sound of %1 ms does not play").arg(device->lengthMs());
    if (!opened && device->lengthMs() != 0)
        problem = QStringLiteral("a refused file has a length");
    device->close();
    if (device->isPlaying())
        problem = QStringLiteral("the sound outlived its close");
    return quandrel::fuzz::report(problem);
}
