#include "app/mainwindow.h"
#include "engine/slottable.h"
#include "platform/clock.h"
#include "platform/dbusnotifier.h"
#include "platform/dialogs.h"
#include "platform/sdlsounddevice.h"
#include "platform/ticktimer.h"
#include "platform/windowops.h"
#include "sound/extraction.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // On X11, Qt hands repaints to the X server through shared memory and
    // then waits for a round trip before it paints the same area again, which
    // wakes the program twice more for every clock tick. Our repaints are a
    // few small labels: sending the pixels is cheaper than waiting.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quandrel"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.quandrel.Quandrel"));

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
    return app.exec();
}
