#include "support/harness.h"

#include "platform/reversedscrollbar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

using namespace quandrel;
using namespace quandrel::test;

namespace {

TEST(StartUp, EveryBoxShowsItsBarFromTheStart)
{
    AppHarness h;
    Timermain& m = h.m();
    EXPECT_EQ(m.windowTitle(), "Quandrel");
    EXPECT_EQ(m.Text1->text(), "01");
    EXPECT_EQ(m.Text2->text(), "00");
    EXPECT_EQ(m.Text3->text(), "00");
    EXPECT_EQ(m.Text4->text(), "1");
    EXPECT_EQ(m.Text5->text(), "00");
    EXPECT_EQ(m.Text6->text(), "00");
    EXPECT_EQ(m.Text7->text(), "AM");
    EXPECT_EQ(h.table.DurHourSecs, 3600);
    EXPECT_EQ(h.table.DurMinuteSecs, 0);
    EXPECT_EQ(h.table.DurSecondSecs, 0);
}

TEST(StartUp, CaptionsStatesAndTimers)
{
    AppHarness h;
    Timermain& m = h.m();
    EXPECT_EQ(m.Label12->text(), "There are Currently 0 Timers running");
    EXPECT_EQ(m.Command4->text(), "Hide All");
    EXPECT_EQ(m.Command5->text(), "Close All");
    EXPECT_FALSE(m.Command4->isEnabled());
    EXPECT_FALSE(m.Command5->isEnabled());
    EXPECT_EQ(m.Command3->text(), "Test Play");
    EXPECT_EQ(m.Combo1->count(), 26);
    EXPECT_EQ(m.Combo1->currentText(), "None");
    EXPECT_EQ(m.Text11->text(), "None");
    EXPECT_TRUE(m.FilePlayLabel->text().isEmpty());
    EXPECT_TRUE(m.Text8->text().isEmpty());
    EXPECT_EQ(m.Label13->text(), "v 1.1");
    EXPECT_FALSE(m.Label14->text().isEmpty());
    EXPECT_EQ(m.Label2->text(), "9:00:00 AM");
    // Alarm-clock mode.
    EXPECT_TRUE(m.Check2->isChecked());
    EXPECT_TRUE(m.VScroll4->isEnabled());
    EXPECT_FALSE(m.VScroll1->isEnabled());
    EXPECT_FALSE(m.Check1->isEnabled());
    EXPECT_TRUE(m.Command1->isEnabled());
    EXPECT_TRUE(m.generalclock->isEnabled());
    for (const auto& timer : m.Timer)
        EXPECT_FALSE(timer->isEnabled());
    EXPECT_EQ(h.table.findFreeSlot(), 0);
    EXPECT_TRUE(h.dialogs.messages.isEmpty());
}

TEST(StartUp, ControlsCarryTheirCaptionsAndTips)
{
    AppHarness h;
    Timermain& m = h.m();
    EXPECT_EQ(m.Frame2->title(), "Duration Timer");
    EXPECT_EQ(m.Frame3->title(), "Alarm Clock");
    EXPECT_EQ(m.Frame6->title(), "StopWatch");
    EXPECT_EQ(m.Frame4->title(), "Alert Text");
    EXPECT_EQ(m.Frame5->title(), "Sound Select");
    EXPECT_EQ(m.Frame7->title(), "Global");
    EXPECT_EQ(m.Check1->toolTip(), "Auto-restart Count Up/Down, when finished ");
    EXPECT_EQ(m.Option1->toolTip(), "Enable Count Up Timer (for chosen duration)");
    EXPECT_EQ(m.Command1->text(), "LaunchTimer");
    EXPECT_EQ(m.Command1->toolTip(), "Launch Duration Timer/Alarm Clock Timer/Stopwatch Timer");
    EXPECT_EQ(m.Text8->toolTip(), "Enter text to show as Timer title, and flash when Timer goes off");
    EXPECT_EQ(m.PopChk->text(), "pop on top");
    EXPECT_EQ(m.Label15->text(), "pop top");
    EXPECT_FALSE(m.Picture3->pixmap().isNull());
    EXPECT_FALSE(m.windowIcon().isNull());
    // Every control can be found by its name.
    for (const char* name : {"Option1", "Option2", "Check1", "Check2", "Check3", "VScroll7", "Text8", "Combo1",
                             "Command3", "FilePlayLabel", "Text11", "Label12", "Command4", "Command5", "PopChk"})
        EXPECT_NE(m.findChild<QWidget*>(QLatin1String(name)), nullptr) << name;
}

TEST(StartUp, ClockTextFollowsTheLocaleFormat)
{
    AppHarness german(QTimeZone::utc(), QLocale(QLocale::German, QLocale::Germany));
    german.clock.setLocal(QDateTime(QDate(2026, 12, 6), QTime(21, 5, 7)));
    german.sim.advance(1010);
    EXPECT_EQ(german.m().Label2->text(), "21:05:08");
}

TEST(StartUp, CentringMayGoNegative)
{
    EXPECT_EQ(Timermain::centredPosition({1280, 800}, {600, 401}), QPoint(340, 199));
    EXPECT_EQ(Timermain::centredPosition({640, 480}, {701, 500}), QPoint(-30, -10));
}

// The panel's resulting states, reached through the user's clicks.
struct PanelState {
    bool durationBars, alarmBars, autostartEnabled, autostartTicked, launch;
};

PanelState panel(Timermain& m)
{
    return {m.VScroll1->isEnabled() && m.VScroll2->isEnabled() && m.VScroll3->isEnabled(),
            m.VScroll4->isEnabled() && m.VScroll5->isEnabled() && m.VScroll6->isEnabled() && m.VScroll7->isEnabled(),
            m.Check1->isEnabled(), m.Check1->isChecked(), m.Command1->isEnabled()};
}

void expectPanel(Timermain& m, PanelState want, const char* where)
{
    const PanelState got = panel(m);
    EXPECT_EQ(got.durationBars, want.durationBars) << where;
    EXPECT_EQ(got.alarmBars, want.alarmBars) << where;
    EXPECT_EQ(got.autostartEnabled, want.autostartEnabled) << where;
    EXPECT_EQ(got.autostartTicked, want.autostartTicked) << where;
    EXPECT_EQ(got.launch, want.launch) << where;
    EXPECT_LE(int(m.Option1->isChecked()) + int(m.Option2->isChecked()) + int(m.Check2->isChecked()) +
                  int(m.Check3->isChecked()),
              1)
        << where << ": at most one kind on";
}

TEST(SetupPanel, ResultingStatesOfEveryKind)
{
    AppHarness h;
    Timermain& m = h.m();
    m.Option2->click();
    expectPanel(m, {true, false, true, false, true}, "count down");
    m.Check1->click();
    m.Option1->click();
    expectPanel(m, {true, false, true, true, true}, "count up keeps the tick");
    m.Check2->click();
    expectPanel(m, {false, true, false, false, true}, "alarm clock");
    EXPECT_FALSE(m.Option1->isChecked());
    m.Check3->click();
    expectPanel(m, {false, false, false, false, true}, "stopwatch");
    EXPECT_FALSE(m.Check2->isChecked());
    m.Check3->click();
    expectPanel(m, {false, false, false, false, false}, "none");
    m.Check2->click();
    m.Check2->click();
    expectPanel(m, {false, false, false, false, false}, "alarm ticked and unticked");
    m.Option2->click();
    expectPanel(m, {true, false, true, false, true}, "count down again, autostart unticked");
}

TEST(SetupPanel, BarsStopAtTheirEndsAndTheUpperArrowRaises)
{
    AppHarness h;
    Timermain& m = h.m();
    m.Option1->click();
    struct Case {
        ReversedScrollBar* bar;
        QLineEdit* box;
        const char* top;
        const char* bottom;
    };
    for (const Case& c : {Case{m.VScroll1, m.Text1, "23", "00"}, Case{m.VScroll2, m.Text2, "59", "00"},
                          Case{m.VScroll3, m.Text3, "59", "00"}}) {
        c.bar->setValue(0);
        c.bar->triggerAction(QAbstractSlider::SliderSingleStepSub); // the upper arrow
        EXPECT_EQ(c.bar->value(), 1);
        for (int i = 0; i < 100; ++i)
            c.bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        EXPECT_EQ(c.box->text(), c.top);
        for (int i = 0; i < 100; ++i)
            c.bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); // the lower arrow
        EXPECT_EQ(c.box->text(), c.bottom);
    }
    m.Check2->click();
    for (int i = 0; i < 20; ++i)
        m.VScroll4->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(m.Text4->text(), "12");
    m.VScroll7->triggerAction(QAbstractSlider::SliderSingleStepSub);
    m.VScroll7->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(m.Text7->text(), "PM");
    m.VScroll7->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m.Text7->text(), "AM");
}

TEST(SetupPanel, DurationPartsFollowTheBars)
{
    AppHarness h;
    Timermain& m = h.m();
    m.VScroll1->setValue(23);
    m.VScroll2->setValue(59);
    m.VScroll3->setValue(59);
    EXPECT_EQ(h.table.DurHourSecs + h.table.DurMinuteSecs + h.table.DurSecondSecs, 86399);
    m.VScroll1->setValue(0);
    m.VScroll2->setValue(0);
    m.VScroll3->setValue(0);
    EXPECT_EQ(h.table.DurHourSecs + h.table.DurMinuteSecs + h.table.DurSecondSecs, 0);
    EXPECT_EQ(m.Text1->text() + m.Text2->text() + m.Text3->text(), "000000");
}

TEST(SetupPanel, FocusRecordsTheLastField)
{
    AppHarness h;
    h.m().Text8_GotFocus();
    EXPECT_EQ(h.table.LastFocus, 1);
    h.m().Combo1_GotFocus();
    EXPECT_EQ(h.table.LastFocus, 2);
}

} // namespace
