// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/notifier.h"

namespace quandrel {

// The freedesktop notification server on the session bus. It talks to the
// bus only when there is something to show: nothing while no timer goes
// off. Without a bus or a server the notification is answered with an error.
class DBusNotificationService final : public NotificationService {
    Q_OBJECT
public:
    explicit DBusNotificationService(const QString& appId, QObject* parent = nullptr);
    void notify(uint replacesId, const Notification& notification, Answer answered) override;
    void close(uint id) override;

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onNotificationClosed(uint id, uint reason);

private:
    bool connectOnce();

    QString appId_;
    bool connected_ = false;
};

} // namespace quandrel
