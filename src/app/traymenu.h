// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QMenu;

namespace quandrel {

class StatusItem;
class TickTimer;
class TimerBoard;
struct Services;

// The status item while timers run. Its tooltip names the timer that goes
// off next and the minutes it has left (brought up to date once a minute and
// whenever a timer changes); its menu shows or hides the windows,
// lists the running timers with their time left (choosing one shows its
// window) and quits. With no timer running it goes away, unless kept.
class TrayMenu final : public QObject {
    Q_OBJECT
public:
    TrayMenu(StatusItem& item, TimerBoard& board, Services& services, QObject* parent = nullptr);
    ~TrayMenu() override;

    void setKept(bool kept);
    // Brings the item's visibility and tooltip up to date.
    void refresh();
    // The menu, filled as it is when it opens.
    QMenu* menu();

    std::function<void()> showAll, hideAll, quit;

private:
    void fill();

    StatusItem& item_;
    TimerBoard& board_;
    Services& services_;
    QMenu* menu_;
    std::unique_ptr<TickTimer> minuteTimer_;
    bool kept_ = false;
};

} // namespace quandrel
