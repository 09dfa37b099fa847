// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/steadylabel.h"

#include "platform/timeformat.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTime>

#include <algorithm>

namespace quandrel {

void holdLabelSize(QLabel* label, const QStringList& shapes)
{
    const QFontMetrics metrics(label->font());
    QChar widest = u'0';
    for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
        if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest))
            widest = QChar(digit);
    }
    int width = 0;
    for (QString shape : shapes) {
        for (QChar& c : shape) {
            if (c.isDigit())
                c = widest;
        }
        width = std::max(width, metrics.boundingRect(shape).width() + 2);
    }
    const QMargins margins = label->contentsMargins();
    width += margins.left() + margins.right() + 2 * label->margin();
    label->setFixedSize(std::max(width, label->sizeHint().width()), label->sizeHint().height());
}

void showElided(QLabel* label, const QString& text, int maxWidth)
{
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideMiddle, maxWidth);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
    label->setAccessibleDescription(shown == text ? QString() : text);
}

void showWhole(QLabel* label, const QString& text)
{
    label->setText(text);
    const QMargins margins = label->contentsMargins();
    const int needed =
        label->fontMetrics().boundingRect(text).width() + 2 + margins.left() + margins.right() + 2 * label->margin();
    if (label->minimumWidth() == label->maximumWidth() && needed > label->width() && needed > label->minimumWidth())
        label->setFixedWidth(needed);
}

QStringList timeOfDayShapes(const QLocale& locale)
{
    return {longTimeText(QTime(10, 0, 0), locale), longTimeText(QTime(22, 0, 0), locale)};
}

} // namespace quandrel
