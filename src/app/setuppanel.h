// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/launch.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace quandrel {

class ReversedScrollBar;

// The setup half of the main window: the kind of the next timer (Count Up or
// Count Down with Autostart, the alarm clock, the stopwatch), its duration or
// alarm time in boxes that take a typed value, the arrow keys and the wheel,
// with scroll bars beside them, and the alert text that becomes its title. The
// four kinds exclude one another; LaunchTimer is only offered while one is
// chosen.
class SetupPanel final : public QWidget {
    Q_OBJECT
public:
    explicit SetupPanel(QWidget* parent = nullptr);

    // The start-up settings: alarm clock at 1:00:00 AM, a duration of 1 hour.
    void setDefaults();
    // The chosen kind and values, with what is typed in a box and not yet
    // taken; the sound is the sound choice's business.
    LaunchRequest request();
    QWidget* alertTextEdit() const;
    // The widgets in keyboard order, for the main window's tab chain.
    QList<QWidget*> tabOrder() const;

signals:
    void kindChosenChanged(bool chosen);
    void alertTextFocused();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Bar { Hours, Minutes, Seconds, AlarmHour, AlarmMinute, AlarmSecond, AlarmHalf, BarCount };
    QWidget* buildDurationFrame();
    QWidget* buildAlarmFrame();
    QWidget* buildStopwatchFrame();
    QWidget* buildAlertTextFrame();
    void makeBar(Bar bar, int bottom, int top, QWidget* frame, const char* boxName, const char* barName,
                 const QString& tip);
    QWidget* entry(Bar bar, QWidget* frame, const QString& unit = {}, const char* unitName = nullptr);
    void showValue(Bar bar);
    void enableBars(Bar first, Bar last, bool enabled);
    // Takes the number (or AM/PM) typed in a bar's box, if the box's range has it.
    void takeTyped(Bar bar);
    void step(Bar bar, int by);
    void durationKindChosen(bool chosen);
    void alarmClockToggled(bool ticked);
    void stopwatchToggled(bool ticked);
    void updateKindChosen();

    QRadioButton* countUpOption_ = nullptr;
    QRadioButton* countDownOption_ = nullptr;
    QCheckBox* autostartCheck_ = nullptr;
    QCheckBox* alarmClockCheck_ = nullptr;
    QCheckBox* stopwatchCheck_ = nullptr;
    QLineEdit* alertTextEdit_ = nullptr;
    std::array<ReversedScrollBar*, BarCount> bars_{};
    std::array<QLineEdit*, BarCount> boxes_{};
    bool kindChosen_ = false;
};

} // namespace quandrel
