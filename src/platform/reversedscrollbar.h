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

    int value() const { return top_ - QScrollBar::value(); }
    // Runs the change notice only when the value really changes.
    void setValue(int value);
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
