#include "platform/reversedscrollbar.h"

#include <algorithm>

namespace quandrel {

ReversedScrollBar::ReversedScrollBar(int bottom, int top, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), bottom_(bottom), top_(top)
{
    QScrollBar::setRange(0, top - bottom);
    QScrollBar::setValue(top - bottom); // raw maximum: the bottom value
    setSingleStep(1);
    setPageStep(1);
    connect(this, &QAbstractSlider::valueChanged, this, [this](int raw) { emit logicalValueChanged(top_ - raw); });
}

void ReversedScrollBar::setValue(int value)
{
    QScrollBar::setValue(top_ - std::clamp(value, bottom_, top_));
}

} // namespace quandrel
