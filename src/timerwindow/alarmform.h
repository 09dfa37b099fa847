#pragma once

#include "engine/alerts.h"
#include "engine/slottable.h"
#include "engine/stopwatch.h"
#include "platform/services.h"
#include "platform/ticktimer.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quandrel {

class TimerHost;

// The window of one timer slot (ALARMFORM0..ALARMFORM5). Constructing it
// loads it (Form_Load); closing it unloads it and frees the slot. Handlers are
// public so that the main window, the tick handlers and tests can run them.
class AlarmForm final : public QWidget {
    Q_OBJECT
public:
    AlarmForm(int slot, SlotTable& table, Services& services, TimerHost& host);
    ~AlarmForm() override;

    int slot() const { return slot_; }
    QString defaultTitle() const;
    bool isLoaded() const { return loaded_; }

    // Controls, under the names the rest of the program uses.
    QLabel* Label1 = nullptr;   // kind title
    QLabel* Label2 = nullptr;   // main time display
    QLineEdit* Text1 = nullptr; // timer title; becomes the caption
    QLabel* Label3 = nullptr;   // launch line
    QLabel* Label4 = nullptr;   // clock line
    QLabel* Label5 = nullptr;   // progress line
    QLabel* Label6 = nullptr;   // "       EXPIRED!" banner
    QPushButton* SWStart = nullptr;
    QPushButton* SWReset = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* Picture2 = nullptr; // circular arrow
    QLabel* AutoLabel = nullptr;
    QLabel* CyclesLabel = nullptr;
    QLabel* Picture1 = nullptr; // loudspeaker
    QLabel* WavLabel = nullptr;
    QLineEdit* Text2 = nullptr;        // hidden: sound file path or "None"
    QLineEdit* Text3 = nullptr;        // hidden: sound list position
    QPushButton* Command1 = nullptr;   // hidden pop-up button
    std::unique_ptr<TickTimer> Timer2; // expiry alert, 500 ms
    std::unique_ptr<TickTimer> Timer3; // restart alert, 500 ms
    std::unique_ptr<TickTimer> SWTimer;
    // The clock line ticks on the main window's once-a-second heartbeat.
    bool generalclocktimerEnabled = false;

    AlertState alert;
    StopwatchState stopwatch;

    void Form_Load();
    void Form_Unload();
    void Text1_Change();
    void Text1_GotFocus();
    void generalclocktimer_Timer();
    void Command1_Click();
    void MakeTopMost();
    void MakeNormal();
    void Timer2_Timer();
    void Timer3_Timer();
    void do_timer3shut();
    void SWStart_Click();
    void SWReset_Click();
    void SWTimer_Timer();

    // Where slot n's window first appears: the six windows tile from the top
    // right corner of the available area, so none hides another.
    static QPoint initialPosition(int slot, QSize windowSize, QRect available);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void colourTitle(TitleColour colour);
    QString clockLine() const;
    bool hasSound() const;

    const int slot_;
    SlotTable& table_;
    Services& services_;
    TimerHost& host_;
    bool loaded_ = false;
};

} // namespace quandrel
