// SPDX-License-Identifier: GPL-3.0-or-later
// Prints where the controls that launch timers sit, in window coordinates,
// so that procbench.py can drive the real program with mouse clicks.
//
// It builds the main window as the program does (same sound folder, fonts and
// style on the same display), launches one stopwatch to find its Start
// button, and prints lines such as "launchButton 318 367".

#include "app/mainwindow.h"
#include "benchstubs.h"
#include "sound/extraction.h"
#include "timerwindow/timerwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

void print(QWidget* window, const char* name)
{
    if (auto* control = window->findChild<QWidget*>(QLatin1String(name))) {
        const QPoint centre = control->mapTo(window, control->rect().center());
        std::printf("%s %d %d\n", name, centre.x(), centre.y());
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quandrel"));

    using namespace quandrel;
    bench::QuietServices quiet(defaultSoundFolder());
    auto* main = new MainWindow(quiet.services);
    main->start();
    main->show();

    QTimer::singleShot(300, main, [main] {
        for (const char* name : {"countUpOption", "countDownOption", "alarmClockCheck", "stopwatchCheck",
                                 "launchButton", "hideShowAllButton"})
            print(main, name);
        main->findChild<QAbstractButton*>(QStringLiteral("stopwatchCheck"))->click();
        main->findChild<QAbstractButton*>(QStringLiteral("launchButton"))->click();
        QTimer::singleShot(300, main, [main] {
            if (TimerWindow* stopwatch = main->board().window(0))
                print(stopwatch, "stopwatchStartButton");
            std::fflush(stdout);
            main->close();
            QTimer::singleShot(100, &QCoreApplication::quit);
        });
    });
    return app.exec();
}
