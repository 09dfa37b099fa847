// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/traymenu.h"

#include "app/mainwindow.h"
#include "app/timerboard.h"
#include "engine/timearith.h"
#include "platform/clock.h"
#include "platform/statusitem.h"
#include "platform/ticktimer.h"

#include <QMenu>

namespace quandrel {

TrayMenu::TrayMenu(StatusItem& item, TimerBoard& board, Services& services, QObject* parent)
    : QObject(parent), item_(item), board_(board), services_(services), menu_(new QMenu)
{
    menu_->setObjectName(QStringLiteral("trayMenu"));
    connect(menu_, &QMenu::aboutToShow, this, &TrayMenu::fill);
    item_.setMenu(menu_);
    minuteTimer_ = services_.timers.create(TickSchedule::interval(60'000));
    minuteTimer_->onTick = [this] { refresh(); };
    for (int slot = 0; slot < SlotCount; ++slot)
        connect(&board_.timer(slot), &Timer::changed, this, &TrayMenu::refresh);
    fill();
}

namespace {

// "5 min", "1 h 5 min": the minutes begun.
QString minutesLeft(qint64 secs)
{
    const qint64 minutes = (std::max<qint64>(secs, 0) + SecsPerMinute - 1) / SecsPerMinute;
    return minutes < 60 ? TrayMenu::tr("%n min", nullptr, int(minutes))
                        : TrayMenu::tr("%1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}

} // namespace

TrayMenu::~TrayMenu()
{
    item_.setVisible(false);
    item_.setMenu(nullptr);
    delete menu_;
}

void TrayMenu::setKept(bool kept)
{
    kept_ = kept;
    refresh();
}

QMenu* TrayMenu::menu()
{
    fill();
    return menu_;
}

void TrayMenu::refresh()
{
    const int running = board_.runningCount();
    item_.setVisible(running > 0 || kept_);
    // Without a tray nobody reads the tooltip: no minute wake-ups for it.
    minuteTimer_->setEnabled(running > 0 && item_.available());
    const ClockReading now = services_.clock.now();
    int next = -1;
    qint64 nextLeft = 0;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const std::optional<qint64> left = board_.timer(slot).secondsLeft(now);
        if (left && (next < 0 || *left < nextLeft)) {
            next = slot;
            nextLeft = *left;
        }
    }
    item_.setToolTip(next >= 0 ? tr("%1: %2 left").arg(board_.timer(next).shownTitle(), minutesLeft(nextLeft))
                               : MainWindow::runningCountText(running));
}

void TrayMenu::fill()
{
    menu_->clear();
    const auto entry = [this](const QString& text, std::function<void()> chosen) {
        connect(menu_->addAction(text), &QAction::triggered, this, [chosen] {
            if (chosen)
                chosen();
        });
    };
    entry(tr("Show All"), showAll);
    entry(tr("Hide All"), hideAll);
    menu_->addSeparator();
    const ClockReading now = services_.clock.now();
    for (int slot = 0; slot < SlotCount; ++slot) {
        const Timer& timer = board_.timer(slot);
        if (!timer.isActive())
            continue;
        const std::optional<qint64> left = timer.secondsLeft(now);
        const QString state = left                 ? tr("%1 left").arg(clockFace(std::max<qint64>(*left, 0)))
                              : timer.hasGoneOff() ? tr("gone off")
                              : timer.isPaused()   ? tr("paused")
                                                   : timer.reading(now);
        QString title = timer.shownTitle();
        title.replace(QLatin1Char('&'), QStringLiteral("&&")); // not a shortcut mark
        entry(QStringLiteral("%1 — %2").arg(title, state), [this, slot] { board_.showTimer(slot); });
    }
    menu_->addSeparator();
    entry(tr("Quit"), quit);
}

} // namespace quandrel
