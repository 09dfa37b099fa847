#pragma once

#include "engine/slottable.h"
#include "platform/services.h"
#include "platform/ticktimer.h"
#include "sound/soundform.h"
#include "timerwindow/timerhost.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quandrel {

class AlarmForm;
class ReversedScrollBar;
class SoundSelection;

// The main window: the setup panel, the sound choice, the launch button, the
// window commands, the clock and the eighteen tick timers that drive the
// count-downs, count-ups and alarm clocks. Handlers are public so that tests
// and the timer windows can run them.
class Timermain final : public QWidget, public TimerHost, public SoundSource {
    Q_OBJECT
public:
    Timermain(SlotTable& table, Services& services, QWidget* parent = nullptr);
    ~Timermain() override;

    // Frames and controls.
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr, *Frame5 = nullptr,
              *Frame6 = nullptr, *Frame7 = nullptr;
    QRadioButton *Option1 = nullptr, *Option2 = nullptr;
    QCheckBox *Check1 = nullptr, *Check2 = nullptr, *Check3 = nullptr, *PopChk = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
              *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr, *Text11 = nullptr;
    ReversedScrollBar *VScroll1 = nullptr, *VScroll2 = nullptr, *VScroll3 = nullptr, *VScroll4 = nullptr,
                      *VScroll5 = nullptr, *VScroll6 = nullptr, *VScroll7 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr,
           *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr, *Label9 = nullptr, *Label10 = nullptr,
           *Label11 = nullptr, *Label12 = nullptr, *Label13 = nullptr, *Label14 = nullptr, *Label15 = nullptr,
           *FilePlayLabel = nullptr, *Picture3 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr, *Command5 = nullptr;

    // Timer0..Timer5 alarm clocks, Timer6..Timer11 count-downs and
    // Timer12..Timer17 count-ups of slots 0..5; generalclock the clock, which
    // also drives every timer window's clock line.
    std::array<std::unique_ptr<TickTimer>, 18> Timer;
    std::unique_ptr<TickTimer> generalclock;
    static int alarmTimerOf(int slot) { return slot; }
    static int countDownTimerOf(int slot) { return 6 + slot; }
    static int countUpTimerOf(int slot) { return 12 + slot; }

    std::array<QPointer<AlarmForm>, SlotCount> ALARMFORM;
    std::unique_ptr<SoundForm> soundForm;
    std::unique_ptr<SoundSelection> soundSelection;

    // Start-up.
    void Form_Load();
    void Form_Unload();
    // Setup panel.
    void Option1_Click();
    void Option2_Click();
    void Check2_Click();
    void Check3_Click();
    void VScroll_Change(int bar); // bar 1..7
    void Text8_GotFocus();
    void Combo1_GotFocus();
    // Launch.
    void Command1_Click();
    // Ticks.
    void Timer_Timer(int index); // index 0..17
    void generalclock_Timer();
    // Window commands.
    void command2_click();
    void Command4_Click();
    void Command5_Click();
    // Sound choice.
    void Combo1_Click();
    void Command3_Click();

    // Recordings that could not be written at start-up (list names).
    QStringList missingRecordings() const { return missingRecordings_; }
    QString clockText() const;

    // Left and top that centre a window of this size on a screen of that size.
    static QPoint centredPosition(QSize screen, QSize window);

    // TimerHost
    LaunchChoices launchChoices() const override;
    bool popOnTop() const override;
    void runningCountChanged() override;
    void stopSlotTickTimers(int slot) override;
    void restoreFocus() override;

    // SoundSource
    bool windowSound(int slot, QString* path, QString* listPosition) const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void createTimers();
    void durationTimerTick(int slot, bool countDown);
    void alarmTimerTick(int slot);
    void optionSelected();
    AlarmForm* loadedForm(int slot) const;

    SlotTable& table_;
    Services& services_;
    QStringList missingRecordings_;
    bool unloaded_ = false;
};

} // namespace quandrel
