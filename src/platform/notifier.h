// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace quandrel {

// A desktop notification: a title, a line of text and buttons.
struct Notification {
    QString title;
    QString body;
    bool urgent = false;                        // stays until the user dismisses it
    QList<std::pair<QString, QString>> actions; // key and button text
};

// The desktop's notifications. Each key (a timer slot) has at most one
// notification: a new one replaces the last.
class Notifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void show(int key, const Notification& notification) = 0;
    virtual void withdraw(int key) = 0;

signals:
    // The user pressed a button of key's notification.
    void actionInvoked(int key, const QString& action);
};

// The desktop's notification server as the notifier needs it: it answers
// each notification with its id, perhaps slowly, perhaps with an error.
class NotificationService : public QObject {
    Q_OBJECT
public:
    using Answer = std::function<void(std::optional<uint> id, const QString& error)>;
    using QObject::QObject;
    // Shows a notification in place of the one with replacesId (0: a new one).
    virtual void notify(uint replacesId, const Notification& notification, Answer answered) = 0;
    virtual void close(uint id) = 0;

signals:
    void actionInvoked(uint id, const QString& action);
    void closed(uint id);
};

// The notifications of the timers, one per key, over a notification server
// that may answer late: a notification shown while the last one's answer is
// still awaited replaces it once the answer comes, and one withdrawn before
// its answer is closed when the answer comes.
class DesktopNotifier final : public Notifier {
    Q_OBJECT
public:
    explicit DesktopNotifier(NotificationService& service, QObject* parent = nullptr);
    void show(int key, const Notification& notification) override;
    void withdraw(int key) override;

private:
    struct Entry {
        uint id = 0;                      // on screen, as far as we know
        bool awaiting = false;            // a notification sent, its id not yet answered
        std::optional<Notification> next; // to send once the answer comes
        bool withdrawn = false;           // to close once the answer comes
    };
    void send(int key, const Notification& notification);
    void answered(int key, std::optional<uint> id, const QString& error);
    int keyOf(uint id) const;

    NotificationService& service_;
    QHash<int, Entry> entries_;
    bool complained_ = false;
};

} // namespace quandrel
