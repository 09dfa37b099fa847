// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>

class QCheckBox;
class QPushButton;

namespace quandrel {

class TimerBoard;

// The "Global" frame: Hide All / Show All and Close All act on every open
// timer window; "pop on top" makes a timer that goes off come to the front.
class WindowCommands final : public QGroupBox {
    Q_OBJECT
public:
    WindowCommands(TimerBoard& board, QWidget* parent = nullptr);

    bool popOnTop() const;
    // The buttons act only while some timer runs.
    void setRunningCount(int count);
    // Where the window system keeps programs from raising their windows,
    // "pop on top" cannot be had: the box says why.
    void offerPopOnTop(bool available);
    // The Hide All / Show All button follows the windows: Show All while
    // some are hidden by it.
    void showHiddenState(bool anyHidden);
    void hideOrShowAll();
    void hideAll();
    void showAll();
    void closeAll();
    QList<QWidget*> tabOrder() const;

private:
    TimerBoard& board_;
    QPushButton* hideShowAllButton_ = nullptr;
    QPushButton* closeAllButton_ = nullptr;
    QCheckBox* popOnTopCheck_ = nullptr;
};

} // namespace quandrel
