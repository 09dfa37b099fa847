// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dbusnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace quandrel {
namespace {
const QString Service = QStringLiteral("org.freedesktop.Notifications");
const QString Path = QStringLiteral("/org/freedesktop/Notifications");
const QString Interface = QStringLiteral("org.freedesktop.Notifications");
// A busy desktop may take long to answer; an answer that comes at all is
// better than one given up on, whose notification could then never be
// taken away again.
constexpr int AnswerWaitMs = 10 * 60 * 1000;
} // namespace

DBusNotificationService::DBusNotificationService(const QString& appId, QObject* parent)
    : NotificationService(parent), appId_(appId)
{
}

bool DBusNotificationService::connectOnce()
{
    if (connected_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    bus.connect(Service, Path, Interface, QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    bus.connect(Service, Path, Interface, QStringLiteral("NotificationClosed"), this,
                SLOT(onNotificationClosed(uint, uint)));
    connected_ = true;
    return true;
}

void DBusNotificationService::notify(uint replacesId, const Notification& n, Answer answered)
{
    if (!connectOnce()) {
        answered(std::nullopt, QStringLiteral("no session bus"));
        return;
    }
    QStringList actions;
    for (const auto& [action, text] : n.actions)
        actions << action << text;
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), appId_);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(n.urgent ? 2 : 1)));
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("Notify"));
    call << QStringLiteral("Quandrel") << replacesId << appId_ << n.title << n.body << actions << hints
         << int(n.urgent ? 0 : -1);
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, AnswerWaitMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [answered = std::move(answered)](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                const QDBusPendingReply<uint> reply = *w;
                if (reply.isError())
                    answered(std::nullopt, reply.error().message());
                else
                    answered(reply.value(), QString());
            });
}

void DBusNotificationService::close(uint id)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, Interface, QStringLiteral("CloseNotification"));
    call << id;
    QDBusConnection::sessionBus().asyncCall(call, AnswerWaitMs);
}

void DBusNotificationService::onActionInvoked(uint id, const QString& action)
{
    emit actionInvoked(id, action);
}

void DBusNotificationService::onNotificationClosed(uint id, uint)
{
    emit closed(id);
}

} // namespace quandrel
