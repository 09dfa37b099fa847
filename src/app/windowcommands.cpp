// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windowcommands.h"

#include "app/timerboard.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace quandrel {
WindowCommands::WindowCommands(TimerBoard& board, QWidget* parent) : QGroupBox(tr("Global"), parent), board_(board)
{
    setObjectName(QStringLiteral("windowCommandsFrame"));
    const auto button = [this](const char* objectName, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(objectName));
        b->setToolTip(tip);
        b->setAccessibleDescription(tip);
        b->setAutoDefault(true); // Enter presses it, as Space does
        b->setEnabled(false);
        return b;
    };
    hideShowAllButton_ = button("hideShowAllButton", tr("Hide All"), tr("Hide all open Timers"));
    closeAllButton_ = button("closeAllButton", tr("Close All"), tr("Close all open Timers"));
    popOnTopCheck_ = new QCheckBox(tr("pop on top"), this);
    popOnTopCheck_->setObjectName(QStringLiteral("popOnTopCheck"));
    popOnTopCheck_->setAccessibleDescription(tr("Bring a timer to the front and keep it on top when it goes off"));
    auto* caption = new QLabel(tr("pop top"), this);
    caption->setObjectName(QStringLiteral("popOnTopCaption"));
    caption->setEnabled(false);
    caption->setBuddy(popOnTopCheck_);
    auto* grid = new QGridLayout(this);
    grid->addWidget(hideShowAllButton_, 0, 0);
    grid->addWidget(closeAllButton_, 0, 1);
    grid->addWidget(popOnTopCheck_, 1, 0);
    grid->addWidget(caption, 1, 1);
    connect(hideShowAllButton_, &QPushButton::clicked, this, &WindowCommands::hideOrShowAll);
    connect(closeAllButton_, &QPushButton::clicked, this, &WindowCommands::closeAll);
}

bool WindowCommands::popOnTop() const
{
    return popOnTopCheck_->isChecked();
}

QList<QWidget*> WindowCommands::tabOrder() const
{
    return {hideShowAllButton_, closeAllButton_, popOnTopCheck_};
}

void WindowCommands::setRunningCount(int count)
{
    hideShowAllButton_->setEnabled(count != 0);
    closeAllButton_->setEnabled(count != 0);
}

void WindowCommands::offerPopOnTop(bool available)
{
    popOnTopCheck_->setEnabled(available);
    if (available)
        return;
    popOnTopCheck_->setChecked(false);
    popOnTopCheck_->setToolTip(tr("Not available on this desktop: it does not let programs bring their windows "
                                  "to the front. A timer that goes off unseen is announced by a notification."));
    popOnTopCheck_->setAccessibleDescription(popOnTopCheck_->toolTip());
}

void WindowCommands::showHiddenState(bool anyHidden)
{
    const QString tip = anyHidden ? tr("Show all hidden Timers") : tr("Hide all open Timers");
    hideShowAllButton_->setText(anyHidden ? tr("Show All") : tr("Hide All"));
    hideShowAllButton_->setToolTip(tip);
    hideShowAllButton_->setAccessibleDescription(tip);
}

void WindowCommands::hideOrShowAll()
{
    if (board_.runningCount() <= 0)
        return;
    if (board_.anyHidden())
        showAll();
    else
        hideAll();
}

void WindowCommands::hideAll()
{
    if (board_.runningCount() > 0)
        board_.hideAll();
}

void WindowCommands::showAll()
{
    board_.showAll();
}

void WindowCommands::closeAll()
{
    board_.closeAll();
}

} // namespace quandrel
