// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"
#include "platform/notifier.h"
#include "platform/sounddevice.h"
#include "platform/statusitem.h"
#include "platform/windowops.h"

#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <utility>

namespace quandrel::test {

// Records the message boxes (held open with holdMessages until pressOk()) and
// answers the open-file dialog with nextPickedFile ("" is a cancel).
class FakeDialogs final : public Dialogs {
public:
    struct Message {
        QString title, text;
    };
    QList<Message> messages;
    QString nextPickedFile;
    int fileDialogs = 0;
    bool holdMessages = false;
    QList<std::pair<QString, std::function<void()>>> held; // title and text, and what runs at OK

    void message(const QString& title, const QString& text, MessageIcon, std::function<void()> closed) override
    {
        const QString key = title + '\n' + text;
        const bool open = std::any_of(held.begin(), held.end(), [&key](const auto& box) { return box.first == key; });
        if (!open)
            messages.append({title, text});
        if (holdMessages && !open)
            held.append({key, closed ? std::move(closed) : [] {}});
        else if (closed)
            closed();
    }
    void openFile(const QString&, const QString&, std::function<void(const QString&)> picked) override
    {
        ++fileDialogs;
        picked(nextPickedFile);
    }
    void pressOk()
    {
        if (!held.isEmpty())
            held.takeFirst().second();
    }
    int count(const QString& text) const
    {
        return int(std::count_if(messages.begin(), messages.end(), [&](const Message& m) { return m.text == text; }));
    }
};

// Records window operations as readable lines, "activate timerWindow0".
class FakeWindowOps final : public WindowOps {
public:
    bool appActive = true;
    bool raising = true; // false: as on Wayland
    QStringList calls;
    QSet<QWidget*> minimized;
    QWidget* active = nullptr;

    bool isMinimized(QWidget* window) override { return minimized.contains(window); }
    void restore(QWidget* window) override
    {
        minimized.remove(window);
        note("restore", window);
    }
    void setStaysOnTop(QWidget* window, bool top) override { note(top ? "top" : "untop", window); }
    void raise(QWidget* window) override { note("raise", window); }
    void activate(QWidget* window) override { note("activate", window); }
    void alert(QWidget* window) override { note("alert", window); }
    bool applicationActive() override { return appActive; }
    bool isActive(QWidget* window) override { return window == active; }
    bool canRaise() override { return raising; }
    void hide(QWidget* window) override
    {
        window->hide();
        note("hide", window);
    }
    void show(QWidget* window) override
    {
        window->show();
        note("show", window);
    }
    void setFocus(QWidget* control) override
    {
        calls << "focus " + control->window()->objectName() + '.' + control->objectName();
    }

private:
    void note(const char* what, QWidget* window) { calls << QLatin1String(what) + ' ' + window->objectName(); }
};

// Records "open <path>", "play", "play 3000", "stop", "close"; a sound plays until finishPlay().
class FakeSoundDevice final : public SoundDevice {
    Q_OBJECT
public:
    QStringList log;
    int devices = 1;
    QSet<QString> unplayable;
    QMap<QString, int> lengthsMs; // 1000 unless given
    QString openPath;
    bool playing = false;

    int deviceCount() override { return devices; }
    bool canPlay(const QString& path, QString* why) override
    {
        if (why)
            *why = QStringLiteral("it is not a wave file");
        return !path.isEmpty() && !unplayable.contains(path);
    }
    bool open(const QString& path) override
    {
        log << "open " + path;
        const bool ok = openPath.isEmpty() && canPlay(path, nullptr);
        if (ok)
            openPath = path;
        return ok;
    }
    int lengthMs() const override { return openPath.isEmpty() ? 0 : lengthsMs.value(openPath, 1000); }
    bool play(int limitMs = -1) override
    {
        log << (limitMs < 0 ? QStringLiteral("play") : QStringLiteral("play %1").arg(limitMs));
        return playing = !openPath.isEmpty();
    }
    bool isPlaying() const override { return playing; }
    void stop() override
    {
        log << "stop";
        playing = false;
    }
    void close() override
    {
        log << "close";
        playing = false;
        openPath.clear();
    }

    void finishPlay() // the playing sound reaches its end
    {
        if (std::exchange(playing, false))
            emit playEnded();
    }
    QStringList take() { return std::exchange(log, {}); } // the log since the last take
    QStringList opened() const                            // the paths opened, in order
    {
        return QStringList(log.filter(QRegularExpression("^open "))).replaceInStrings(QRegularExpression("^open "), "");
    }
};

// Keeps what is on screen: one notification per key.
class FakeNotifier final : public Notifier {
    Q_OBJECT
public:
    QMap<int, Notification> shown;
    int sent = 0;
    void show(int key, const Notification& n) override
    {
        shown.insert(key, n);
        ++sent;
    }
    void withdraw(int key) override { shown.remove(key); }
    void press(int key, const QString& action) { emit actionInvoked(key, action); }
};

// A tray that shows what the item shows.
class FakeStatusItem final : public StatusItem {
public:
    bool visible = false;
    QString toolTip;
    bool available() const override { return true; }
    void setVisible(bool shown) override { visible = shown; }
    void setToolTip(const QString& text) override { toolTip = text; }
    void setMenu(QMenu*) override {}
};

} // namespace quandrel::test
