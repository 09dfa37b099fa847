// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sleepwatcher.h"

#include <QDBusConnection>

namespace quandrel {

SleepWatcher::SleepWatcher(QObject* parent) : QObject(parent)
{
    QDBusConnection::systemBus().connect(QStringLiteral("org.freedesktop.login1"),
                                         QStringLiteral("/org/freedesktop/login1"),
                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                         QStringLiteral("PrepareForSleep"), this, SLOT(prepareForSleep(bool)));
}

void SleepWatcher::prepareForSleep(bool sleeping)
{
    if (!sleeping)
        emit resumed();
}

} // namespace quandrel
