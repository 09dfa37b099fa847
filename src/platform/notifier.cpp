// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/notifier.h"

#include <cstdio>

namespace quandrel {

DesktopNotifier::DesktopNotifier(NotificationService& service, QObject* parent) : Notifier(parent), service_(service)
{
    connect(&service_, &NotificationService::actionInvoked, this, [this](uint id, const QString& action) {
        if (const int key = keyOf(id); key >= 0)
            emit actionInvoked(key, action);
    });
    connect(&service_, &NotificationService::closed, this, [this](uint id) {
        if (const int key = keyOf(id); key >= 0)
            entries_[key].id = 0;
    });
}

int DesktopNotifier::keyOf(uint id) const
{
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (id != 0 && it->id == id)
            return it.key();
    }
    return -1;
}

void DesktopNotifier::show(int key, const Notification& notification)
{
    Entry& entry = entries_[key];
    entry.withdrawn = false;
    if (entry.awaiting)
        entry.next = notification; // replaces the one awaited once its id is known
    else
        send(key, notification);
}

void DesktopNotifier::send(int key, const Notification& notification)
{
    Entry& entry = entries_[key];
    entry.awaiting = true;
    service_.notify(entry.id, notification,
                    [this, key](std::optional<uint> id, const QString& error) { answered(key, id, error); });
}

void DesktopNotifier::answered(int key, std::optional<uint> id, const QString& error)
{
    Entry& entry = entries_[key];
    entry.awaiting = false;
    if (id) {
        entry.id = *id;
    } else if (!complained_) {
        complained_ = true;
        std::fprintf(stderr, "quandrel: a timer's desktop notification may not have been shown: %s\n",
                     qPrintable(error));
    }
    if (entry.next) {
        const Notification next = *std::exchange(entry.next, std::nullopt);
        send(key, next);
    } else if (entry.withdrawn) {
        withdraw(key);
    }
}

void DesktopNotifier::withdraw(int key)
{
    const auto it = entries_.find(key);
    if (it == entries_.end())
        return;
    it->next.reset();
    if (it->awaiting) {
        it->withdrawn = true; // closed when its id is known
        return;
    }
    if (it->id != 0)
        service_.close(it->id);
    entries_.erase(it);
}

} // namespace quandrel
