// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/reversedscrollbar.h"

#include <QAccessibleWidget>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

namespace quandrel {
namespace {

// Screen readers and automation see the value the bar stands for (its
// largest value at the top), not the raw slider position beneath it.
class ReversedScrollBarAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ReversedScrollBarAccessible(ReversedScrollBar* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return bar()->shownValue(); }
    void setCurrentValue(const QVariant& value) override { bar()->setShownValue(value.toInt()); }
    QVariant maximumValue() const override { return bar()->top(); }
    QVariant minimumValue() const override { return bar()->bottom(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    ReversedScrollBar* bar() const { return static_cast<ReversedScrollBar*>(widget()); }
};

QAccessibleInterface* accessibleReversedScrollBar(const QString& className, QObject* object)
{
    if (className == QLatin1String(ReversedScrollBar::staticMetaObject.className()))
        return new ReversedScrollBarAccessible(static_cast<ReversedScrollBar*>(object));
    return nullptr;
}

} // namespace

ReversedScrollBar::ReversedScrollBar(int bottom, int top, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent), bottom_(bottom), top_(top)
{
    // Before the first change below asks for the bar's accessible interface.
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(accessibleReversedScrollBar);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    QScrollBar::setRange(0, top - bottom);
    QScrollBar::setValue(top - bottom); // raw maximum: the bottom value
    setSingleStep(1);
    setPageStep(1);
    connect(this, &QAbstractSlider::valueChanged, this, [this](int raw) { emit logicalValueChanged(top_ - raw); });
}

void ReversedScrollBar::setShownValue(int value)
{
    QScrollBar::setValue(top_ - std::clamp(value, bottom_, top_));
}

void ReversedScrollBar::paintEvent(QPaintEvent* event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return; // the styles draw no focus on scroll bars: mark it for keyboard users
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

} // namespace quandrel
