// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/timerboard.h"
#include "platform/services.h"
#include "platform/ticktimer.h"

#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;

namespace quandrel {

class AlertPlayer;
class StatusItem;
class TimerKeeper;
class TrayMenu;
class SetupPanel;
class SoundChoice;
class WindowCommands;

// The main window ("mainWindow"): the setup panel, the sound choice, the
// launch button, the clock and the running count, and the window commands.
// Closing it ends the program.
class MainWindow final : public QWidget, public BoardOwner {
    Q_OBJECT
public:
    explicit MainWindow(Services& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Everything start-up does before the window is first shown: writes the
    // recordings, fills the sound list, sets the panel's defaults, starts the
    // clock and the alert player.
    void start();
    TimerBoard& board() { return *board_; }
    // The window commands, as their buttons do them.
    void hideAll();
    void showAll();
    void closeAll();
    // Shows the main window and brings it to the front.
    void bringToFront();
    // Launches the nth (from 0) of the set-ups launched last; the slot it
    // took, or -1 when there is no such set-up or all six are in use.
    int launchRecent(int index);
    const TimerKeeper& keeper() const { return *keeper_; }
    // Brings back the timers the last run left, and keeps them from now on.
    void bringBackTimers();
    // The program ends without closing its timers: the next run brings them back.
    void keepTimersAsTheyAre();
    // The machine woke up from sleep: every timer and clock looks at the time.
    void resumed();
    // Shows the program in the desktop's tray while timers run (always, when kept).
    void showInTray(StatusItem& item, bool kept);
    TrayMenu* tray() const { return tray_.get(); }

    // "There are Currently 2 Timers running": each translation, English
    // included, words its singular and plural forms.
    static QString runningCountText(int count);
    // Left and top that centre a window of this size on a screen of that size.
    static QPoint centredPosition(QSize screen, QSize window);

    // BoardOwner
    bool popOnTop() const override;
    void focusField(int16_t code) override;
    void runningCountChanged(int count) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QWidget* buildClockFrame();
    QLayout* buildBrand();
    void buildLaunchButton();
    QPushButton* buildRecentButton();
    void launchTimer();
    void tickClock();
    void followClock();
    QString timeOfDay() const;
    void shutDown();

    Services& services_;
    std::unique_ptr<TimerBoard> board_;
    std::unique_ptr<AlertPlayer> player_;
    std::unique_ptr<TimerKeeper> keeper_;
    std::unique_ptr<TrayMenu> tray_;
    std::unique_ptr<TickTimer> clockTimer_; // once a second, for every clock line on the screen
    SetupPanel* setupPanel_ = nullptr;
    SoundChoice* soundChoice_ = nullptr;
    WindowCommands* windowCommands_ = nullptr;
    QPushButton* launchButton_ = nullptr;
    QPushButton* recentButton_ = nullptr;
    QLabel* clockLabel_ = nullptr;
    QLabel* runningCountLine_ = nullptr;
    QLabel* logo_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* creditLabel_ = nullptr;
    QStringList missingRecordings_;
    bool shutDown_ = false;
};

} // namespace quandrel
