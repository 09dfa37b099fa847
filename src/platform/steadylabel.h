#pragma once

#include <QLocale>
#include <QStringList>

class QLabel;

namespace quandrel {

// Gives a label whose text changes every second a fixed size, wide enough for
// the widest of the given shapes, where every digit stands for any digit.
// Qt lays a window out again whenever a label's text changes, unless the
// label's size is fixed: then a new text only repaints the label.
void holdLabelSize(QLabel* label, const QStringList& shapes);

// Shapes of a time of day in the user's long format: a two-digit hour in the
// morning and in the afternoon.
QStringList timeOfDayShapes(const QLocale& locale);

} // namespace quandrel
