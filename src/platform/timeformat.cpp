// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/timeformat.h"

#include <QRegularExpression>

namespace quandrel {

QString longTimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    // Drop the zone field ("t", "tt", "ttt"...) together with the blanks or
    // brackets that join it to the rest, so "HH:mm:ss t" becomes "HH:mm:ss".
    static const QRegularExpression zone(QStringLiteral("[\\s(\\[]*\\bt+\\b[)\\]]*"));
    format.remove(zone);
    return format.trimmed();
}

QString longTimeText(const QTime& time, const QLocale& locale)
{
    // Clock lines ask every second: work the format out once per locale.
    thread_local QLocale cachedLocale = QLocale::c();
    thread_local QString cachedFormat = longTimeFormat(cachedLocale);
    if (!(locale == cachedLocale)) {
        cachedLocale = locale;
        cachedFormat = longTimeFormat(locale);
    }
    return locale.toString(time, cachedFormat);
}

} // namespace quandrel
