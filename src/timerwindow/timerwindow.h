// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/alerts.h"
#include "engine/launch.h"
#include "engine/timer.h"
#include "platform/services.h"
#include "platform/ticktimer.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <memory>

class QFrame;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

namespace quandrel {

class TimerWindowHost;

// The small window of one timer ("timerWindow0".."timerWindow5"). It shows
// what its timer reads, keeps a clock line, lets the user edit the title and
// run the stopwatch, and when the timer goes off it pops up, shows the
// banner, flashes its title and asks for the timer's sound.
class TimerWindow final : public QWidget {
    Q_OBJECT
public:
    TimerWindow(Timer& timer, Services& services, TimerWindowHost& host);
    ~TimerWindow() override;

    // Fills the window for its newly launched timer.
    void showLaunch(const LaunchCaptions& captions);
    void showClock(const QString& timeOfDay);
    // The timer ran out for good (Final) or started its next cycle (Restart);
    // the window comes up, or stays as it is when a notification tells.
    void goOff(Expiry expiry, Presentation presentation);
    // The timer's own sound file could not be played when it went off.
    void showSoundFailed();
    void focusTitle();
    // The user stops a repeating alert (by going to the window, its Stop
    // button or the notification); the banner and the flashing stay.
    void acknowledgeAlert();

    int slot() const { return timer_.slot(); }
    bool isOpen() const { return open_; }

    // Where slot n's window first appears: the six windows tile from the top
    // right corner of the available area, so none hides another.
    static QPoint initialPosition(int slot, QSize windowSize, QRect available);

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showReading(const QString& face);
    void showProgress(const QString& text);
    // "Paused" beside the reading, which stands still meanwhile.
    void showPaused(bool paused);
    // "Cycles: 3": the restarts of an auto-restarting timer so far.
    void showCycles();
    // The timer was given more time or started again after it went off.
    void endAlert();
    void showLate();
    void showTitle(const QString& title);
    void buildControls();
    QLayout* buildInfoLines();
    QLayout* buildSettingsLines();
    void holdWidths();
    int soundNameWidth() const;
    void popUp();
    void putOnTop();
    void takeOffTop();
    void flash();
    void flashRestart();
    void endRestartAlert();
    void colourTitle(TitleColour colour);
    void showMenu(const QPoint& at);
    void startOrStopStopwatch();
    void followStopwatch();
    void resetStopwatch();

    Timer& timer_;
    Services& services_;
    TimerWindowHost& host_;
    bool open_ = true;
    AlertState alert_;

    QLabel* kindTitle_ = nullptr;
    QLabel* reading_ = nullptr;
    QLabel* pausedLabel_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    QLabel* launchLine_ = nullptr;
    QString launchText_; // what the launch line says while it is not late
    QLabel* clockLine_ = nullptr;
    QLabel* progressLine_ = nullptr;
    QLabel* expiredBanner_ = nullptr;
    QPushButton* stopAlertButton_ = nullptr; // while a repeating alert sounds
    QPushButton* stopwatchStartButton_ = nullptr;
    QPushButton* stopwatchResetButton_ = nullptr;
    QLabel* autoRestartLabel_ = nullptr;
    QLabel* cyclesLabel_ = nullptr;
    QLabel* soundNameLabel_ = nullptr;

    std::unique_ptr<TickTimer> flashTimer_;        // expiry alert, 500 ms
    std::unique_ptr<TickTimer> restartFlashTimer_; // restart alert, 500 ms
    std::unique_ptr<TickTimer> stopwatchTimer_;
};

} // namespace quandrel
