// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

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

} // namespace quandrel
