// Prints where the controls that launch timers sit, in window coordinates,
// so that a script can drive the real program with mouse clicks.
//
// It builds the main window exactly as the program does (same sound folder,
// same fonts and style on the same display), launches one stopwatch to find
// its Start button, and prints lines such as "Command1 318 367".

#include "app/timermain.h"
#include "benchstubs.h"
#include "engine/slottable.h"
#include "platform/clock.h"
#include "platform/services.h"
#include "platform/ticktimer.h"
#include "sound/extraction.h"
#include "timerwindow/alarmform.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>

namespace {

void print(const char* name, QWidget* control)
{
    const QPoint centre = control->mapTo(control->window(), control->rect().center());
    std::printf("%s %d %d\n", name, centre.x(), centre.y());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quandrel"));

    using namespace quandrel;
    using namespace quandrel::bench;
    SystemClock clock;
    QtTickTimerFactory timers(clock);
    QuietDialogs dialogs;
    QuietWindowOps windows;
    QuietAudio audio;
    Services services{clock, timers, dialogs, windows, audio, QLocale::system(), defaultSoundFolder()};
    SlotTable table;

    auto* mainWindow = new Timermain(table, services);
    mainWindow->Form_Load();
    mainWindow->show();

    QTimer::singleShot(300, &app, [&] {
        Timermain& m = *mainWindow;
        std::printf("MainWindow %d %d\n", m.width(), m.height());
        print("Option1", m.Option1);
        print("Option2", m.Option2);
        print("Check2", m.Check2);
        print("Check3", m.Check3);
        print("Command1", m.Command1);
        m.Check3->setChecked(true);
        m.Command1->click();
        QTimer::singleShot(300, &app, [&] {
            if (AlarmForm* form = m.ALARMFORM[0]) {
                std::printf("TimerWindow %d %d\n", form->width(), form->height());
                print("SWStart", form->SWStart);
            }
            std::fflush(stdout);
            m.close();
            QTimer::singleShot(100, &app, &QCoreApplication::quit);
        });
    });
    return app.exec();
}
