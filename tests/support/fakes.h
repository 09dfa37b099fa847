// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"
#include "platform/notifier.h"
#include "platform/sounddevice.h"
#include "platform/windowops.h"

#include <QMap>
#include <QSet>
#include <QStringList>

#include <functional>

namespace quandrel::test {

// Records every message box and answers the open-file dialog with a
// prepared path. Boxes close at once unless holdMessages is set.
class FakeDialogs final : public Dialogs {
public:
    struct Message {
        QString title, text;
    };
    QList<Message> messages;
    QString nextPickedFile; // "" answers as a cancel
    int fileDialogs = 0;
    bool holdMessages = false;
    QList<std::function<void()>> held; // close callbacks of open boxes
    QStringList openKeys;              // title and text of the open boxes

    void message(const QString& title, const QString& text, MessageIcon, std::function<void()> closed) override;
    void openFile(const QString&, const QString&, std::function<void(const QString&)> picked) override;
    void pressOk(); // on the oldest open box
    int count(const QString& text) const;
};

// Records window operations as readable lines, "activate ALARMFORM0".
class FakeWindowOps final : public WindowOps {
public:
    bool appActive = true;
    QStringList calls;
    QSet<QWidget*> minimized;
    QSet<QWidget*> onTop;

    bool isMinimized(QWidget* window) override { return minimized.contains(window); }
    void restore(QWidget* window) override;
    void setStaysOnTop(QWidget* window, bool top) override;
    void raise(QWidget* window) override;
    void activate(QWidget* window) override;
    void alert(QWidget* window) override;
    bool applicationActive() override { return appActive; }
    void setFocus(QWidget* control) override;
};

// A sound device that records what it is asked: "open <path>", "play",
// "play 3000", "stop", "close". A sound plays until finishPlay().
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
    bool canPlay(const QString& path, QString* why) override;
    bool open(const QString& path) override;
    int lengthMs() const override { return openPath.isEmpty() ? 0 : lengthsMs.value(openPath, 1000); }
    bool play(int limitMs = -1) override;
    bool isPlaying() const override { return playing; }
    void stop() override;
    void close() override;

    void finishPlay();          // the playing sound reaches its end
    QStringList take();         // the log since the last take
    QStringList opened() const; // the paths opened, in order
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

} // namespace quandrel::test
