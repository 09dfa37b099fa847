// SPDX-License-Identifier: GPL-3.0-or-later
// A state file of any content: refused whole, or read into timers that write
// back the same and come back, tick and read without fault.
#include "engine/timerfile.h"
#include "fuzz_main.h"

#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace quandrel;
    const TimerFileContents read =
        readTimerFile(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!read.error.isEmpty())
        return fuzz::report(read.timers.isEmpty() ? QString() : QStringLiteral("a refused file gave timers"));
    const QByteArray written = writeTimerFile(read.timers);
    const TimerFileContents again = readTimerFile(written);
    if (!again.error.isEmpty() || writeTimerFile(again.timers) != written)
        return fuzz::report(QStringLiteral("what was read does not write back the same: ") + again.error);
    const ClockReading now{1'796'601'294'000, 3600, 1'000'000'000};
    for (const SavedTimer& saved : read.timers) {
        Timer timer(saved.slot);
        timer.restore(saved, now, QString());
        timer.tick(now);
        timer.reading(now);
        timer.commands(now);
        if (timer.saved(now).slot != saved.slot)
            return fuzz::report(QStringLiteral("a timer came back in another slot"));
    }
    return 0;
}
