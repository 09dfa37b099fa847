// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/harness.h"

#include "platform/reversedscrollbar.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>

namespace quandrel::test {

AppHarness::AppHarness(QTimeZone zone, QLocale locale, const QString& soundFolder)
    : clock(std::move(zone)),
      services{clock, sim,      dialogs,           windows,
               sound, notifier, std::move(locale), soundFolder.isEmpty() ? dir.filePath("sounds") : soundFolder,
               {},    {}}
{
    clock.setLocal(QDateTime(QDate(2026, 3, 2), QTime(10, 0, 0)));
    main = new MainWindow(services);
    main->start();
    main->show();
}

AppHarness::~AppHarness()
{
    if (main)
        main->close();
    flushDeletes();
}

QString AppHarness::text(const char* name, int slot) const
{
    const QObject* control = find<QObject>(name, slot);
    for (const char* property : {"text", "currentText", "windowTitle"}) {
        if (control && control->property(property).isValid())
            return control->property(property).toString();
    }
    return QStringLiteral("<no %1>").arg(QLatin1String(name));
}

void AppHarness::setBars(std::initializer_list<std::pair<const char*, int>> values)
{
    for (const auto& [bar, value] : values)
        find<ReversedScrollBar>(bar)->setShownValue(value);
}

void AppHarness::tick(const char* box, bool on)
{
    if (find<QAbstractButton>(box)->isChecked() != on)
        click(box);
}

void AppHarness::chooseDuration(int h, int min, int s, Restart restart, Direction direction)
{
    click(direction == Direction::Down ? "countDownOption" : "countUpOption");
    tick("autostartCheck", restart == Restart::Auto);
    setBars({{"hoursBar", h}, {"minutesBar", min}, {"secondsBar", s}});
}

void AppHarness::chooseAlarm(QTime at)
{
    tick("alarmClockCheck");
    const int hour12 = at.hour() % 12 == 0 ? 12 : at.hour() % 12;
    setBars({{"alarmHourBar", hour12},
             {"alarmMinuteBar", at.minute()},
             {"alarmSecondBar", at.second()},
             {"alarmHalfBar", at.hour() < 12 ? 1 : 2}});
}

void AppHarness::pickSound(int listIndex)
{
    auto* list = find<QComboBox>("soundList");
    list->setCurrentIndex(listIndex);
    emit list->activated(listIndex);
}

int AppHarness::launch()
{
    const int slot = main->board().firstFree();
    click("launchButton");
    return slot >= 0 && window(slot) ? slot : -1;
}

void AppHarness::close(int slot)
{
    if (TimerWindow* w = window(slot))
        w->close();
}

bool AppHarness::chooseFromMenu(int slot, const QString& entry)
{
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
    QCoreApplication::sendEvent(window(slot), &click);
    QMenu* menu = window(slot)->findChild<QMenu*>();
    bool chosen = false;
    for (QAction* action : menu ? menu->actions() : QList<QAction*>()) {
        if (action->text() == entry && action->isEnabled()) {
            action->trigger();
            chosen = true;
        }
    }
    delete menu;
    return chosen;
}

} // namespace quandrel::test
