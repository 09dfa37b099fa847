#pragma once

#include "platform/audiocommands.h"
#include "platform/dialogs.h"
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
        MessageIcon icon;
    };
    QList<Message> messages;
    QString nextPickedFile; // "" answers as a cancel
    int fileDialogs = 0;
    QString lastFileTitle, lastFileFilter;
    bool holdMessages = false;
    QList<std::function<void()>> heldMessages; // close callbacks of open boxes

    void message(const QString& title, const QString& text, MessageIcon icon, std::function<void()> closed) override;
    void openFile(const QString& title, const QString& filter, std::function<void(const QString&)> picked) override;
    void closeHeldMessage(); // the user presses OK on the oldest open box
};

// Records window operations as readable lines, "activate ALARMFORM0".
class FakeWindowOps final : public WindowOps {
public:
    bool appActive = true;
    QStringList calls;
    QMap<QWidget*, bool> onTop;

    bool isMinimized(QWidget* window) override;
    void restore(QWidget* window) override;
    void setStaysOnTop(QWidget* window, bool onTop) override;
    void raise(QWidget* window) override;
    void activate(QWidget* window) override;
    void alert(QWidget* window) override;
    bool applicationActive() override { return appActive; }
    void setFocus(QWidget* control) override;

    bool anyCallStartingWith(const QString& prefix) const;
};

// An audio device that records the command strings it gets. An opened sound
// plays until the test ends it with finishPlay() (or a stop / close).
class FakeAudioCommands final : public AudioCommands {
    Q_OBJECT
public:
    QStringList log;
    int devices = 1;
    QSet<QString> unplayable;     // paths whose open fails
    QMap<QString, int> lengthsMs; // play time by path; 1000 otherwise
    QString openPath;             // empty while nothing is open
    bool playing = false;
    int playLimitMs = -1;

    QString mciSendString(const QString& command, int* error = nullptr) override;
    int waveOutGetNumDevs() override { return devices; }

    // The open sound reaches its end.
    void finishPlay();
    // Commands since the last call, then forgets them.
    QStringList take();
};

} // namespace quandrel::test
