#include "support/harness.h"

#include "platform/reversedscrollbar.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QRadioButton>

namespace quandrel::test {

AppHarness::AppHarness(QTimeZone zone, QLocale locale)
    : clock(std::move(zone)),
      services{clock, sim, dialogs, windows, audio, std::move(locale), dir.path() + QStringLiteral("/sounds")}
{
    clock.setLocal(QDateTime(QDate(2026, 12, 6), QTime(9, 0, 0)));
    main = new Timermain(table, services);
    main->Form_Load();
    main->show();
}

AppHarness::~AppHarness()
{
    if (main)
        main->close();
    flushDeletes();
}

AlarmForm* AppHarness::form(int slot) const
{
    AlarmForm* f = main->ALARMFORM[size_t(slot)];
    return (f && f->isLoaded()) ? f : nullptr;
}

void AppHarness::flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

static void setDuration(Timermain& m, int h, int min, int s)
{
    m.VScroll1->setValue(h);
    m.VScroll2->setValue(min);
    m.VScroll3->setValue(s);
}

void AppHarness::chooseCountDown(int h, int min, int s, bool autostart)
{
    main->Option2->setChecked(true);
    main->Check1->setChecked(autostart);
    setDuration(*main, h, min, s);
}

void AppHarness::chooseCountUp(int h, int min, int s, bool autostart)
{
    main->Option1->setChecked(true);
    main->Check1->setChecked(autostart);
    setDuration(*main, h, min, s);
}

void AppHarness::chooseAlarm(int hour12, int min, int s, bool pm)
{
    main->Check2->setChecked(true);
    main->VScroll4->setValue(hour12);
    main->VScroll5->setValue(min);
    main->VScroll6->setValue(s);
    main->VScroll7->setValue(pm ? 2 : 1);
}

void AppHarness::chooseStopwatch()
{
    main->Check3->setChecked(true);
}

AlarmForm* AppHarness::launch()
{
    const int slot = table.findFreeSlot();
    main->Command1->click();
    return slot < 0 ? nullptr : form(slot);
}

void AppHarness::closeWindow(int slot)
{
    if (AlarmForm* f = form(slot))
        f->close();
}

} // namespace quandrel::test
