// SPDX-License-Identifier: GPL-3.0-or-later
// The timer window's alerts, pop-up and stopwatch.
#include "platform/clock.h"
#include "platform/steadylabel.h"
#include "platform/windowops.h"
#include "timerwindow/timerwindow.h"
#include "timerwindow/timerwindowhost.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quandrel {

void TimerWindow::goOff(Expiry expiry, Presentation presentation)
{
    if (expiry == Expiry::None)
        return;
    // Announced instead, the window stays as the user left it (minimised,
    // say): the notification is the one call for attention. Asked to come
    // to the front, it still tries, and the notification stays until seen.
    if (presentation == Presentation::Window || (isVisible() && host_.popOnTop(slot())))
        popUp();
    if (expiry == Expiry::Final) {
        alert_.repeating = timer_.repeatsAlert();
        stopAlertButton_->setVisible(alert_.repeating);
        expiredBanner_->show();
        showLate();
        flashTimer_->setEnabled(true);
        return;
    }
    // Every restart counts and is heard once: one that comes while the last
    // restart's alert still runs starts that alert anew.
    alert_.restartTicks = 0;
    restartFlashTimer_->setEnabled(false);
    restartFlashTimer_->setEnabled(true);
}

void TimerWindow::endAlert()
{
    flashTimer_->setEnabled(false);
    showElided(launchLine_, launchText_, QWIDGETSIZE_MAX);
    alert_.repeating = false;
    stopAlertButton_->hide();
    alert_.expiryTicks = 0;
    alert_.restartTicks = 0;
    if (restartFlashTimer_->isEnabled() || expiredBanner_->isVisible())
        endRestartAlert();
}

void TimerWindow::popUp()
{
    WindowOps& ops = services_.windows;
    if (ops.isMinimized(this))
        ops.restore(this);
    if (host_.popOnTop(slot()))
        putOnTop();
}

void TimerWindow::putOnTop()
{
    // To the front, but the keyboard stays where the user is typing: in
    // another program (then the window asks for attention), or in one of ours.
    WindowOps& ops = services_.windows;
    ops.setStaysOnTop(this, true);
    ops.raise(this);
    if (!ops.applicationActive())
        ops.alert(this);
}

void TimerWindow::takeOffTop()
{
    services_.windows.setStaysOnTop(this, false);
}

void TimerWindow::flash()
{
    const ExpiryAlertStep step = expiryAlertTick(alert_, slot(), host_.popOnTop(slot()), !timer_.sound().isSilent());
    if (step.restoreFocus)
        host_.restoreFocus();
    if (step.raiseSound)
        timer_.requestSound(Expiry::Final);
    colourTitle(step.colour);
    showLate();
    if (alert_.repeating && alert_.expiryTicks >= RepeatForTicks) { // it has repeated long enough
        alert_.repeating = false;
        stopAlertButton_->hide();
    }
}

void TimerWindow::acknowledgeAlert()
{
    if (!alert_.repeating)
        return;
    alert_.repeating = false;
    stopAlertButton_->hide();
    host_.alertAcknowledged(slot());
}

// One that went off while nobody was there says when, in place of its
// launch time ("Went off at 07:00, 25 min ago"), kept up to date while it
// flashes. The window keeps its size: a longer note is shortened, and whole
// in its tooltip.
void TimerWindow::showLate()
{
    const std::optional<qint64> late = timer_.wentOffLateAt();
    if (!late)
        return;
    QString note = lateNote(*late, services_.clock.now(), services_.locale);
    note[0] = note[0].toUpper();
    showElided(launchLine_, note, titleEdit_->minimumWidth());
}

void TimerWindow::flashRestart()
{
    expiredBanner_->show();
    const bool onTop = host_.popOnTop(slot());
    const RestartAlertStep step = restartAlertTick(alert_, onTop, !timer_.sound().isSilent());
    if (step.restoreFocus)
        host_.restoreFocus();
    showCycles();
    if (step.raiseSound)
        timer_.requestSound(Expiry::Restart);
    if (!step.end) {
        colourTitle(step.colour);
        return;
    }
    endRestartAlert();
    if (step.restoreFocusAfterEnd)
        host_.restoreFocus();
}

void TimerWindow::endRestartAlert()
{
    expiredBanner_->hide();
    restartFlashTimer_->setEnabled(false);
    colourTitle(TitleColour::White);
    if (host_.popOnTop(slot()))
        takeOffTop();
}

void TimerWindow::colourTitle(TitleColour colour)
{
    QColor background;
    switch (colour) {
    case TitleColour::Unchanged:
        return;
    case TitleColour::Blue:
        background = QColor(0, 0, 255);
        break;
    case TitleColour::Red:
        background = QColor(255, 0, 0);
        break;
    case TitleColour::White:
        background = QColor(255, 255, 255);
        break;
    }
    QPalette palette = titleEdit_->palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, colour == TitleColour::White ? QColor(Qt::black) : QColor(Qt::white));
    titleEdit_->setPalette(palette);
}

void TimerWindow::startOrStopStopwatch()
{
    timer_.startOrStopStopwatch(services_.clock.now().realMs);
    stopwatchStartButton_->setText(timer_.stopwatchRunning() ? tr("Stop") : tr("Start"));
    followStopwatch();
}

// A running stopwatch ticks while its window is on the screen; hidden or
// minimised, it keeps its time without waking the program, and shows it at
// once when it comes back.
void TimerWindow::followStopwatch()
{
    const bool ticking = timer_.stopwatchRunning() && isVisible() && !services_.windows.isMinimized(this);
    if (ticking && !stopwatchTimer_->isEnabled())
        timer_.tickStopwatch(services_.clock.now().realMs);
    stopwatchTimer_->setEnabled(ticking);
}

void TimerWindow::resetStopwatch()
{
    timer_.resetStopwatch();
    stopwatchStartButton_->setText(tr("Start"));
    stopwatchTimer_->setEnabled(false);
}

} // namespace quandrel
