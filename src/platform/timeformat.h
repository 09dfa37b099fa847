// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QTime>

namespace quandrel {

// The user's long time-of-day format without its time-zone field, e.g.
// "h:mm:ss AP" for en_US or "HH:mm:ss" for de_DE.
QString longTimeFormat(const QLocale& locale = QLocale::system());

// A time of day in the user's long time format ("9:05:07 PM", "21:05:07").
QString longTimeText(const QTime& time, const QLocale& locale = QLocale::system());

} // namespace quandrel
