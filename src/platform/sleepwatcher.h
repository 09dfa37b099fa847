// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace quandrel {

// Tells when the machine wakes from sleep: logind's PrepareForSleep(false)
// on the system bus. Without logind it tells nothing; then the longest wait
// of a tick timer bounds how late a timer due while asleep goes off.
class SleepWatcher final : public QObject {
    Q_OBJECT
public:
    explicit SleepWatcher(QObject* parent = nullptr);

signals:
    void resumed();

private slots:
    void prepareForSleep(bool sleeping);
};

} // namespace quandrel
