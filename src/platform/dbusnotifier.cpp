// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbusnotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include <cstdio>

namespace quandrel {
namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
} // namespace

DBusNotifier::DBusNotifier(const QString& appId, QObject* parent) : Notifier(parent), appId_(appId)
{
}

bool DBusNotifier::connectOnce()
{
    if (connected_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        complain(QStringLiteral("no session bus"));
        return false;
    }
    bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint, uint)));
    connected_ = true;
    return true;
}

void DBusNotifier::complain(const QString& why)
{
    if (complained_)
        return;
    complained_ = true;
    std::fprintf(stderr, "quandrel: timers that go off are not shown as desktop notifications: %s\n", qPrintable(why));
}

void DBusNotifier::show(int key, const Notification& n)
{
    if (!connectOnce())
        return;
    withdrawing_.remove(key);
    QStringList actions;
    for (const auto& [action, text] : n.actions)
        actions << action << text;
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), appId_);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(n.urgent ? 2 : 1)));
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    call << QStringLiteral("Quandrel") << ids_.value(key, 0) << appId_ << n.title << n.body << actions << hints
         << int(n.urgent ? 0 : -1);
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, key](QDBusPendingCallWatcher* w) { answered(key, w); });
}

void DBusNotifier::answered(int key, QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        complain(reply.error().message());
        return;
    }
    ids_.insert(key, reply.value());
    if (withdrawing_.remove(key))
        withdraw(key);
}

void DBusNotifier::withdraw(int key)
{
    if (!connected_)
        return;
    if (!ids_.contains(key)) {
        withdrawing_.insert(key); // when the service answers
        return;
    }
    close(ids_.take(key));
}

void DBusNotifier::close(uint id)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("CloseNotification"));
    call << id;
    QDBusConnection::sessionBus().asyncCall(call);
}

void DBusNotifier::onActionInvoked(uint id, const QString& action)
{
    const int key = ids_.key(id, -1);
    if (key >= 0)
        emit actionInvoked(key, action);
}

void DBusNotifier::onNotificationClosed(uint id, uint)
{
    const int key = ids_.key(id, -1);
    if (key >= 0)
        ids_.remove(key);
}

} // namespace quandrel
