// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QScrollBar>

namespace quandrel {

// A vertical scroll bar whose largest value sits at the top, so that the
// upper arrow raises the value. QScrollBar always puts its minimum at the top;
// this maps value = top - raw position.
class ReversedScrollBar final : public QScrollBar {
    Q_OBJECT
public:
    ReversedScrollBar(int bottom, int top, QWidget* parent = nullptr);

    // The value shown: top at the top. Named apart from QAbstractSlider's
    // value(), the raw position, which a base pointer would reach instead.
    int shownValue() const { return top_ - QScrollBar::value(); }
    // Runs the change notice only when the value really changes.
    void setShownValue(int value);
    int bottom() const { return bottom_; }
    int top() const { return top_; }

signals:
    void logicalValueChanged(int value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int bottom_;
    int top_;
};

} // namespace quandrel
