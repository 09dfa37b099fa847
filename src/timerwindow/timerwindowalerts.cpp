// SPDX-License-Identifier: GPL-3.0-or-later
// The timer window's alerts, pop-up and stopwatch.
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
    if (presentation == Presentation::Window || (isVisible() && host_.popOnTop(slot_)))
        popUp();
    if (expiry == Expiry::Final) {
        expiredBanner_->show();
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
    if (host_.popOnTop(slot_))
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
    const ExpiryAlertStep step = expiryAlertTick(alert_, slot_, host_.popOnTop(slot_), !sound_.isSilent());
    if (step.restoreFocus)
        host_.restoreFocus();
    if (step.raiseSound)
        host_.requestSound(slot_, Expiry::Final);
    colourTitle(step.colour);
}

void TimerWindow::flashRestart()
{
    expiredBanner_->show();
    const bool onTop = host_.popOnTop(slot_);
    const RestartAlertStep step = restartAlertTick(alert_, onTop, !sound_.isSilent());
    if (step.restoreFocus)
        host_.restoreFocus();
    cyclesLabel_->setText(step.cyclesText);
    if (step.raiseSound)
        host_.requestSound(slot_, Expiry::Restart);
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
    if (host_.popOnTop(slot_))
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
    if (!stopwatchTimer_->isEnabled()) {
        stopwatchStartButton_->setText(tr("Stop"));
        stopwatch_.start(services_.clock.now().utcMs);
        stopwatchTimer_->setEnabled(true);
    } else {
        stopwatchStartButton_->setText(tr("Start"));
        stopwatch_.stop(services_.clock.now().utcMs);
        stopwatchTimer_->setEnabled(false);
        reading_->setText(stopwatch_.stoppedFace());
    }
}

void TimerWindow::resetStopwatch()
{
    reading_->setText(QStringLiteral("00:00:00"));
    stopwatch_.reset();
    stopwatchStartButton_->setText(tr("Start"));
    stopwatchTimer_->setEnabled(false);
}

void TimerWindow::tickStopwatch()
{
    const std::optional<QString> face = stopwatch_.tick(services_.clock.now().utcMs);
    if (!face) {
        // Past 23:59:59: from zero again, still running.
        resetStopwatch();
        startOrStopStopwatch();
        return;
    }
    reading_->setText(*face);
}

} // namespace quandrel
