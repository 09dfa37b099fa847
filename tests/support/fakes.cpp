#include "support/fakes.h"

#include <QWidget>

namespace quandrel::test {

void FakeDialogs::message(const QString& title, const QString& text, MessageIcon icon, std::function<void()> closed)
{
    messages.append({title, text, icon});
    if (holdMessages)
        heldMessages.append(std::move(closed));
    else if (closed)
        closed();
}

void FakeDialogs::openFile(const QString& title, const QString& filter, std::function<void(const QString&)> picked)
{
    ++fileDialogs;
    lastFileTitle = title;
    lastFileFilter = filter;
    picked(nextPickedFile);
}

void FakeDialogs::closeHeldMessage()
{
    if (heldMessages.isEmpty())
        return;
    auto closed = heldMessages.takeFirst();
    if (closed)
        closed();
}

bool FakeWindowOps::isMinimized(QWidget* window)
{
    return window->windowState() & Qt::WindowMinimized;
}

void FakeWindowOps::restore(QWidget* window)
{
    calls << QStringLiteral("restore ") + window->objectName();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
}

void FakeWindowOps::setStaysOnTop(QWidget* window, bool top)
{
    calls << QStringLiteral("topmost %1 %2")
                 .arg(window->objectName(), top ? QStringLiteral("on") : QStringLiteral("off"));
    onTop[window] = top;
}

void FakeWindowOps::raise(QWidget* window)
{
    calls << QStringLiteral("raise ") + window->objectName();
}

void FakeWindowOps::activate(QWidget* window)
{
    calls << QStringLiteral("activate ") + window->objectName();
}

void FakeWindowOps::alert(QWidget* window)
{
    calls << QStringLiteral("alert ") + window->objectName();
}

void FakeWindowOps::setFocus(QWidget* control)
{
    calls << QStringLiteral("focus %1/%2").arg(control->window()->objectName(), control->objectName());
}

bool FakeWindowOps::anyCallStartingWith(const QString& prefix) const
{
    for (const QString& call : calls) {
        if (call.startsWith(prefix))
            return true;
    }
    return false;
}

QString FakeAudioCommands::mciSendString(const QString& command, int* error)
{
    log << command;
    auto fail = [error] {
        if (error)
            *error = 1;
        return QString();
    };
    if (error)
        *error = 0;
    static const QString openTail = QStringLiteral(" type waveaudio alias voice1");
    if (command.startsWith(QLatin1String("open ")) && command.endsWith(openTail)) {
        const QString path = command.mid(5, command.size() - 5 - openTail.size());
        if (!openPath.isEmpty() || path.isEmpty() || unplayable.contains(path))
            return fail();
        openPath = path;
        return QString();
    }
    if (openPath.isEmpty())
        return fail();
    if (command == QLatin1String("set voice1 time format ms"))
        return QString();
    if (command == QLatin1String("status voice1 length"))
        return QString::number(lengthsMs.value(openPath, 1000));
    if (command == QLatin1String("status voice1 mode"))
        return playing ? QStringLiteral("playing") : QStringLiteral("stopped");
    if (command == QLatin1String("play voice1")) {
        playing = true;
        playLimitMs = -1;
        return QString();
    }
    if (command == QLatin1String("play voice1 from 0 to 3000")) {
        playing = true;
        playLimitMs = 3000;
        return QString();
    }
    if (command == QLatin1String("stop voice1")) {
        playing = false;
        return QString();
    }
    if (command == QLatin1String("close voice1")) {
        playing = false;
        openPath.clear();
        return QString();
    }
    return fail();
}

void FakeAudioCommands::finishPlay()
{
    if (!playing)
        return;
    playing = false;
    emit playEnded();
}

QStringList FakeAudioCommands::take()
{
    QStringList taken = log;
    log.clear();
    return taken;
}

} // namespace quandrel::test
