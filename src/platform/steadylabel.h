// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QStringList>

class QLabel;

namespace quandrel {

// Gives a label whose text changes every second a fixed size, wide enough for
// the widest of the given shapes, where every digit stands for any digit.
// Qt lays a window out again whenever a label's text changes, unless the
// label's size is fixed: then a new text only repaints the label, which paints
// its own background.
void holdLabelSize(QLabel* label, const QStringList& shapes);

// Shows text on label, shortened in the middle with "…" to at most maxWidth
// pixels; a shortened text is given whole as the tooltip and the accessible
// description.
void showElided(QLabel* label, const QString& text, int maxWidth);

// Shows text on a label that holds a fixed size, widening it when the text
// would not fit whole.
void showWhole(QLabel* label, const QString& text);

// Shapes of a time of day in the user's long format: a two-digit hour in the
// morning and in the afternoon.
QStringList timeOfDayShapes(const QLocale& locale);

} // namespace quandrel
