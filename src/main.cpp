// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline.h"
#include "app/mainwindow.h"
#include "app/remotecontrol.h"
#include "app/translations.h"
#include "platform/clock.h"
#include "platform/dbusnotifier.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/sdlsounddevice.h"
#include "platform/sleepwatcher.h"
#include "platform/statefile.h"
#include "platform/statusitem.h"
#include "platform/ticktimer.h"
#include "platform/windowops.h"
#include "quandreladaptor.h"
#include "sound/extraction.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <cstdio>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#ifdef QUANDREL_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace {

void setUpApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quandrel"));
    QCoreApplication::setApplicationVersion(quandrel::Version);
    // QUANDREL_TRANSLATION may name a .qm file, to try a translation out.
    quandrel::installTranslations(qEnvironmentVariable("QUANDREL_TRANSLATION"));
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

// Whatever needs no window of this process: help, a faulty option, and a
// command for the running Quandrel. Also where no display answers: a
// command can still reach a Quandrel started elsewhere.
int withoutWindows(int argc, char** argv, const QStringList& arguments, const quandrel::DisplayEnvironment& display)
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
    if (parsed.command.any() && !parsed.command.starts()) {
        // Listing, hiding or closing timers needs a Quandrel that has some.
        printError(QCoreApplication::translate("CommandLine", "Quandrel is not running."));
        return 1;
    }
    QStringList names;
    for (const auto& [variable, value] :
         {std::pair{"DISPLAY", display.display}, {"WAYLAND_DISPLAY", display.waylandDisplay}})
        if (!value.isEmpty())
            names << QLatin1String(variable) + QLatin1Char('=') + value;
    printError(names.isEmpty()
                   ? QCoreApplication::translate("CommandLine", "There is no display to open Quandrel's windows on.")
                   : QCoreApplication::translate(
                         "CommandLine", "There is no display to open Quandrel's windows on (%1 does not answer).")
                         .arg(names.join(QStringLiteral(", "))));
    return 1;
}

// QApplication ends the process with abort() when its window system cannot
// be reached after all (refused, say): one line and exit status 1 instead.
QtMessageHandler previousMessageHandler = nullptr;
void failWithoutAbort(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtFatalMsg) {
        if (previousMessageHandler)
            previousMessageHandler(type, context, message);
        return;
    }
    printError(QCoreApplication::translate("CommandLine", "Quandrel cannot open its windows: %1")
                   .arg(message.section(QLatin1Char('\n'), 0, 0)));
    std::_Exit(1);
}

// The arguments for QApplication: without the timer's --title, which Qt
// would take as the title of the program's first window.
std::vector<char*> argumentsForQt(int argc, char** argv)
{
    std::vector<char*> kept;
    for (int i = 0; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (i > 0 && (argument == "--title" || argument == "-title")) {
            ++i;
            continue;
        }
        if (i > 0 && (argument.starts_with("--title=") || argument.starts_with("-title=")))
            continue;
        kept.push_back(argv[i]);
    }
    kept.push_back(nullptr);
    return kept;
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
    DBusNotificationService notificationService(AppId);
    DesktopNotifier notifier(notificationService);
    Services services{clock,
                      timers,
                      dialogs,
                      windows,
                      sound,
                      notifier,
                      QLocale::system(),
                      defaultSoundFolder(),
                      StateFile::defaultPath(QStringLiteral("timers.json")),
                      AutostartEntry::defaultPath(AppId)};

    auto* mainWindow = new MainWindow(services);
    dialogs.setOwner(mainWindow);
    mainWindow->start();
    mainWindow->show();
    // Closing the main window ends the program, even with a message box open.
    QObject::connect(mainWindow, &QObject::destroyed, &app, &QApplication::quit);
    // Ended by the session rather than by the user: the timers stay kept.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, mainWindow, &MainWindow::keepTimersAsTheyAre);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, mainWindow, &MainWindow::keepTimersAsTheyAre);
    mainWindow->bringBackTimers();
    SleepWatcher sleep;
    QObject::connect(&sleep, &SleepWatcher::resumed, mainWindow, &MainWindow::resumed);
    QtStatusItem statusItem;
    mainWindow->showInTray(statusItem, command.keepTrayItem);
    RemoteControl remote(*mainWindow, services);
    if (bus) {
        new QuandrelAdaptor(&remote); // owned by remote
        bus->registerObject(BusPath, &remote, QDBusConnection::ExportAdaptors);
    }
    if (command.any())
        runCommand(command, remote.localCalls());
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    using namespace quandrel;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Sorted before any window system is touched: what needs no window of
    // this process never opens one.
    const DisplayEnvironment display = DisplayEnvironment::current(arguments);
    const ParsedCommandLine sorted = parseCommandLine(arguments);
    const bool answeredAlone = !sorted.output.isEmpty() || !sorted.error.isEmpty();
    const bool forRunningQuandrel = sorted.command.any() && !sorted.command.starts();
    if (answeredAlone || forRunningQuandrel || !displayReachable(display))
        return withoutWindows(argc, argv, arguments, display);

#ifdef QUANDREL_HAVE_FONTCONFIG
    // Reading the font configuration is the largest single piece of work
    // before the window can be laid out: it goes on beside QApplication's
    // own start, and the first font is taken only once it is done.
    std::jthread fontConfiguration([] { FcInit(); });
#endif
    if (const QString platform = preferredPlatform(display); !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLocal8Bit());
    // On X11, Qt hands repaints to the X server through shared memory and
    // then waits for a round trip before it paints the same area again, which
    // wakes the program twice more for every clock tick. Our repaints are a
    // few small labels: sending the pixels is cheaper than waiting.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    std::vector<char*> qtArguments = argumentsForQt(argc, argv);
    int qtArgc = int(qtArguments.size()) - 1;
    previousMessageHandler = qInstallMessageHandler(failWithoutAbort);
    QApplication app(qtArgc, qtArguments.data());
    qInstallMessageHandler(previousMessageHandler);
    setUpApplication();
    QApplication::setDesktopFileName(AppId);

    const ParsedCommandLine parsed = parseCommandLine(arguments);
    // One Quandrel a session: the first owns the name on the session bus, a
    // second start hands its command to it. Without a bus, each runs alone.
    QDBusConnection bus = QDBusConnection::sessionBus();
    const bool onBus = bus.isConnected();
    if (onBus && !bus.registerService(BusName))
        return runCommand(parsed.command, *callsOverBus());
#ifdef QUANDREL_HAVE_FONTCONFIG
    fontConfiguration.join();
#endif
    return runTimers(app, parsed.command, onBus ? &bus : nullptr);
}
