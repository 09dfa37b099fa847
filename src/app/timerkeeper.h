// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/launch.h"
#include "platform/services.h"

#include <QList>
#include <QObject>

namespace quandrel {

class TimerBoard;

// Keeps the running timers in the state file, written whole on every change,
// so that a run that ends any other way than by the user closing them (a
// crash, a kill, the end of the session, a power cut) leaves them to the
// next run, which brings them back. While it keeps timers, Quandrel starts
// at the next login. It also remembers the set-ups launched last.
class TimerKeeper final : public QObject {
    Q_OBJECT
public:
    TimerKeeper(TimerBoard& board, Services& services, QObject* parent = nullptr);

    // Brings back what the last run left and says so, then keeps every
    // change. A file that cannot be read is moved aside, with a message.
    void start();
    // Writes nothing more: the program is ending, and the file keeps what
    // the next run is to bring back.
    void stop() { keeping_ = false; }
    // The set-ups launched last, newest first; kept across runs.
    const QList<LaunchRequest>& recent() const { return recent_; }

signals:
    void recentChanged();

private:
    void save();
    void remember(const LaunchRequest& request);
    QString recentPath() const;

    TimerBoard& board_;
    Services& services_;
    bool keeping_ = false;
    bool complained_ = false;
    QList<LaunchRequest> recent_;
};

} // namespace quandrel
