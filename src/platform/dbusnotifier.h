// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/notifier.h"

#include <QHash>
#include <QSet>

class QDBusMessage;
class QDBusPendingCallWatcher;

namespace quandrel {

// Notifications through the freedesktop notification service on the session
// bus. It talks to the bus only when there is something to show: nothing
// while no timer goes off. Without a bus or a service it says so once on
// standard error, and everything else goes on.
class DBusNotifier final : public Notifier {
    Q_OBJECT
public:
    explicit DBusNotifier(const QString& appId, QObject* parent = nullptr);
    void show(int key, const Notification& notification) override;
    void withdraw(int key) override;

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onNotificationClosed(uint id, uint reason);

private:
    bool connectOnce();
    void answered(int key, QDBusPendingCallWatcher* call);
    void close(uint id);
    void complain(const QString& why);

    QString appId_;
    bool connected_ = false;
    bool complained_ = false;
    QHash<int, uint> ids_;  // key -> id of the notification on screen
    QSet<int> withdrawing_; // withdrawn before the service answered
};

} // namespace quandrel
