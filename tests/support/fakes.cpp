// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fakes.h"

#include <QWidget>

namespace quandrel::test {

void FakeDialogs::message(const QString& title, const QString& text, MessageIcon, std::function<void()> closed)
{
    const QString key = title + QChar(u'\n') + text;
    if (!holdMessages || openKeys.contains(key)) {
        if (!openKeys.contains(key))
            messages.append({title, text});
        if (closed)
            closed();
        return;
    }
    messages.append({title, text});
    openKeys << key;
    held.append([this, key, closed = std::move(closed)] {
        openKeys.removeOne(key);
        if (closed)
            closed();
    });
}

void FakeDialogs::openFile(const QString&, const QString&, std::function<void(const QString&)> picked)
{
    ++fileDialogs;
    picked(nextPickedFile);
}

void FakeDialogs::pressOk()
{
    if (!held.isEmpty())
        held.takeFirst()();
}

int FakeDialogs::count(const QString& text) const
{
    return int(std::count_if(messages.begin(), messages.end(), [&](const Message& m) { return m.text == text; }));
}

void FakeWindowOps::restore(QWidget* window)
{
    minimized.remove(window);
    calls << QStringLiteral("restore ") + window->objectName();
}

void FakeWindowOps::setStaysOnTop(QWidget* window, bool top)
{
    if (top)
        onTop.insert(window);
    else
        onTop.remove(window);
    calls << (top ? QStringLiteral("top ") : QStringLiteral("untop ")) + window->objectName();
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
    calls << QStringLiteral("focus ") + control->window()->objectName() + QLatin1Char('.') + control->objectName();
}

bool FakeSoundDevice::canPlay(const QString& path, QString* why)
{
    if (why)
        *why = QStringLiteral("it is not a wave file");
    return !path.isEmpty() && !unplayable.contains(path);
}

bool FakeSoundDevice::open(const QString& path)
{
    log << QStringLiteral("open ") + path;
    if (!openPath.isEmpty() || path.isEmpty() || unplayable.contains(path))
        return false;
    openPath = path;
    return true;
}

bool FakeSoundDevice::play(int limitMs)
{
    log << (limitMs < 0 ? QStringLiteral("play") : QStringLiteral("play %1").arg(limitMs));
    playing = !openPath.isEmpty();
    return playing;
}

void FakeSoundDevice::stop()
{
    log << QStringLiteral("stop");
    playing = false;
}

void FakeSoundDevice::close()
{
    log << QStringLiteral("close");
    playing = false;
    openPath.clear();
}

void FakeSoundDevice::finishPlay()
{
    if (!playing)
        return;
    playing = false;
    emit playEnded();
}

QStringList FakeSoundDevice::take()
{
    QStringList taken;
    taken.swap(log);
    return taken;
}

QStringList FakeSoundDevice::opened() const
{
    QStringList paths;
    for (const QString& line : log) {
        if (line.startsWith(QLatin1String("open ")))
            paths << line.mid(5);
    }
    return paths;
}

} // namespace quandrel::test
