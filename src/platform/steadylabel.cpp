// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/steadylabel.h"

#include "platform/timeformat.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTime>
#include <QVariant>

#include <algorithm>

namespace quandrel {

namespace {

// text with each digit made the font's widest: as wide as any text of its
// shape can be.
QString widestOfShape(const QFontMetrics& metrics, QString text)
{
    QChar widest = u'0';
    for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
        if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest))
            widest = QChar(digit);
    }
    for (QChar& c : text) {
        if (c.isDigit())
            c = widest;
    }
    return text;
}

int textWidth(const QLabel* label, const QString& text)
{
    const QMargins margins = label->contentsMargins();
    return label->fontMetrics().boundingRect(text).width() + 2 + margins.left() + margins.right() + 2 * label->margin();
}

} // namespace

void holdLabelSize(QLabel* label, const QStringList& shapes)
{
    int width = 0;
    for (const QString& shape : shapes)
        width = std::max(width, textWidth(label, widestOfShape(label->fontMetrics(), shape)));
    label->setFixedSize(std::max(width, label->sizeHint().width()), label->sizeHint().height());
    // Opaque, so that a new text repaints the label alone, not the frames
    // and window behind it.
    label->setAutoFillBackground(true);
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
    // Measuring text every second costs more than showing it: a text is
    // measured only when its shape (where the digits stand) is new, and then
    // as its widest.
    QString shape = text;
    for (QChar& c : shape) {
        if (c.isDigit())
            c = u'0';
    }
    if (label->property("quandrelShape").toString() == shape)
        return;
    label->setProperty("quandrelShape", shape);
    const int needed = textWidth(label, widestOfShape(label->fontMetrics(), text));
    if (label->minimumWidth() == label->maximumWidth() && needed > label->width() && needed > label->minimumWidth())
        label->setFixedWidth(needed);
}

QStringList timeOfDayShapes(const QLocale& locale)
{
    return {longTimeText(QTime(10, 0, 0), locale), longTimeText(QTime(22, 0, 0), locale)};
}

} // namespace quandrel
