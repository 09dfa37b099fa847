// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/timerkeeper.h"

#include "app/timerboard.h"
#include "engine/timerfile.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/notifier.h"
#include "platform/statefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace quandrel {

TimerKeeper::TimerKeeper(TimerBoard& board, Services& services, QObject* parent)
    : QObject(parent), board_(board), services_(services)
{
    connect(&board_, &TimerBoard::launched, this, &TimerKeeper::remember);
}

QString TimerKeeper::recentPath() const
{
    return services_.stateFile.isEmpty() ? QString()
                                         : QFileInfo(services_.stateFile).dir().filePath(QStringLiteral("recent.json"));
}

void TimerKeeper::remember(const LaunchRequest& request)
{
    recent_ = withLaunched(recent_, request);
    if (!recentPath().isEmpty() && keeping_)
        StateFile(recentPath()).write(writeRecentFile(recent_));
    emit recentChanged();
}

void TimerKeeper::start()
{
    if (services_.stateFile.isEmpty())
        return;
    // The recent set-ups are a convenience: a file that cannot be read is
    // started afresh, with a line on standard error.
    if (const StateFile::Contents kept = StateFile(recentPath()).read(); kept.bytes) {
        QString problem;
        recent_ = readRecentFile(*kept.bytes, &problem);
        if (!problem.isEmpty())
            std::fprintf(stderr, "quandrel: the recent timers in %s are not used: %s\n", qPrintable(recentPath()),
                         qPrintable(problem));
        emit recentChanged();
    }
    const StateFile file(services_.stateFile);
    const StateFile::Contents contents = file.read();
    QString problem = contents.error;
    TimerFileContents read;
    if (contents.bytes) {
        read = readTimerFile(*contents.bytes);
        problem = read.error;
    }
    keeping_ = true;
    if (!problem.isEmpty()) {
        const QString aside = file.keepAside(services_.clock.now().localDateTime());
        // A file that cannot be moved aside is not written over either.
        keeping_ = !aside.isEmpty();
        const QString where = aside.isEmpty() ? tr("It was left where it is, and timers are not kept in this run.")
                                              : tr("It was kept as %1.").arg(QDir::toNativeSeparators(aside));
        services_.dialogs.message(tr("Quandrel"),
                                  tr("The timers of the last run could not be brought back: %1 cannot be read (%2). %3")
                                      .arg(QDir::toNativeSeparators(file.path()), problem, where),
                                  MessageIcon::Warning);
    }
    int brought = 0;
    for (const SavedTimer& saved : read.timers)
        brought += board_.restore(saved) ? 1 : 0;
    for (int slot = 0; slot < SlotCount; ++slot)
        connect(&board_.timer(slot), &Timer::changed, this, &TimerKeeper::save);
    if (brought > 0) {
        Notification n;
        n.title = tr("Quandrel");
        n.body = tr("%n timer(s) of the last run brought back", nullptr, brought);
        services_.notifier.show(SlotCount, n);
    }
    save();
}

void TimerKeeper::save()
{
    if (!keeping_)
        return;
    const ClockReading now = services_.clock.now();
    QList<SavedTimer> running;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (board_.timer(slot).isActive())
            running.append(board_.timer(slot).saved(now));
    const StateFile file(services_.stateFile);
    if (!services_.autostartEntry.isEmpty())
        AutostartEntry(services_.autostartEntry, QCoreApplication::applicationFilePath()).set(!running.isEmpty());
    if (running.isEmpty()) {
        file.remove();
        return;
    }
    QString error;
    if (file.write(writeTimerFile(running), &error) || std::exchange(complained_, true))
        return;
    services_.dialogs.message(tr("Quandrel"),
                              tr("The running timers cannot be kept in %1 (%2): if Quandrel ends now, they are lost.")
                                  .arg(QDir::toNativeSeparators(file.path()), error),
                              MessageIcon::Warning);
}

} // namespace quandrel
