// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/remotecontrol.h"
#include "app/translations.h"
#include "engine/slottable.h"
#include "platform/clock.h"
#include "platform/dbusnotifier.h"
#include "platform/dialogs.h"
#include "platform/sdlsounddevice.h"
#include "platform/ticktimer.h"
#include "platform/windowops.h"
#include "sound/extraction.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <cstdio>
#include <memory>
#include <optional>
#include <thread>

#ifdef QUANDREL_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace {

void setUpApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quandrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1"));
    quandrel::installTranslations();
}

void printError(const QString& message)
{
    std::fputs(qPrintable(QStringLiteral("quandrel: ") + message + QLatin1Char('\n')), stderr);
}

// Help, the version or a fault in the options: printed, and the exit status.
std::optional<int> answeredAtOnce(const quandrel::ParsedCommandLine& parsed)
{
    if (!parsed.output.isEmpty()) {
        std::fputs(qPrintable(parsed.output + QLatin1Char('\n')), stdout);
        return 0;
    }
    if (!parsed.error.isEmpty()) {
        printError(parsed.error);
        return 2;
    }
    return std::nullopt;
}

// A command from a terminal without a display can still go to a running
// Quandrel; there is no window to start one in.
int commandWithoutDisplay(int argc, char** argv, const QStringList& arguments)
{
    using namespace quandrel;
    QCoreApplication app(argc, argv);
    setUpApplication();
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (const std::optional<int> status = answeredAtOnce(parsed))
        return *status;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()->isServiceRegistered(BusName))
        return runCommand(parsed.command, *callsOverBus());
    printError(
        QCoreApplication::translate("CommandLine", "Quandrel is not running, and there is no display to start it on."));
    return 1;
}

// This Quandrel is the session's: its windows, and the bus object through
// which later starts reach it.
int runTimers(QApplication& app, const quandrel::Command& command, QDBusConnection* bus)
{
    using namespace quandrel;
    SystemClock clock;
    QtTickTimerFactory timers(clock);
    QtDialogs dialogs;
    QtWindowOps windows;
    SdlSoundDevice sound;
    DBusNotifier notifier(QStringLiteral("io.github.quandrel.Quandrel"));
    Services services{clock, timers, dialogs, windows, sound, notifier, QLocale::system(), defaultSoundFolder()};
    SlotTable table;

    auto* mainWindow = new MainWindow(table, services);
    dialogs.setOwner(mainWindow);
    mainWindow->start();
    mainWindow->show();
    // Closing the main window ends the program, even with a message box open.
    QObject::connect(mainWindow, &QObject::destroyed, &app, &QApplication::quit);
    RemoteControl remote(*mainWindow, services);
    if (bus)
        bus->registerObject(BusPath, &remote, QDBusConnection::ExportAllSlots);
    if (command.any())
        runCommand(command, remote.localCalls());
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    // Read before QApplication takes its own options out of argv (it takes
    // -title and --title for the window's).
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (argc > 1 && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return commandWithoutDisplay(argc, argv, arguments);

#ifdef QUANDREL_HAVE_FONTCONFIG
    // Reading the font configuration is the largest single piece of work
    // before the window can be laid out: it goes on beside QApplication's
    // own start, and the first font is taken only once it is done.
    std::jthread fontConfiguration([] { FcInit(); });
#endif
    // On X11, Qt hands repaints to the X server through shared memory and
    // then waits for a round trip before it paints the same area again, which
    // wakes the program twice more for every clock tick. Our repaints are a
    // few small labels: sending the pixels is cheaper than waiting.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    setUpApplication();
    QApplication::setDesktopFileName(QStringLiteral("io.github.quandrel.Quandrel"));

    using namespace quandrel;
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (const std::optional<int> status = answeredAtOnce(parsed))
        return *status;
    // One Quandrel a session: the first owns the name on the session bus, a
    // second start hands its command to it. Without a bus, each runs alone.
    QDBusConnection bus = QDBusConnection::sessionBus();
    const bool onBus = bus.isConnected();
    if (onBus && !bus.registerService(BusName))
        return runCommand(parsed.command, *callsOverBus());
    if (parsed.command.any() && parsed.command.launch.isEmpty()) {
        // Listing, hiding or closing timers needs a Quandrel that has some.
        printError(QCoreApplication::translate("CommandLine", "Quandrel is not running."));
        return 1;
    }
#ifdef QUANDREL_HAVE_FONTCONFIG
    fontConfiguration.join();
#endif
    return runTimers(app, parsed.command, onBus ? &bus : nullptr);
}
