// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

namespace quandrel {

// A file of the program's state, replaced whole or not at all: whoever reads
// it, after any crash or power cut, finds the old contents or the new.
class StateFile {
public:
    explicit StateFile(QString path) : path_(std::move(path)) {}
    // $XDG_STATE_HOME/quandrel/<name> ($HOME/.local/state/quandrel/<name>).
    static QString defaultPath(const QString& name);
    const QString& path() const { return path_; }

    struct Contents {
        std::optional<QByteArray> bytes; // nothing: no file, or it could not be read
        QString error;                   // why it could not be read
    };
    Contents read() const;
    // Writes the file, and its folder when there is none; false, with the
    // reason, when it could not.
    bool write(const QByteArray& bytes, QString* error = nullptr) const;
    void remove() const;
    // Moves the file aside, beside it, named for when: the new path, or
    // empty when it could not be moved.
    QString keepAside(const QDateTime& when) const;

private:
    QString path_;
};

// The desktop's autostart entry (XDG) that starts the program at the next
// login; it runs `program` with no arguments.
class AutostartEntry {
public:
    AutostartEntry(QString path, QString program) : path_(std::move(path)), program_(std::move(program)) {}
    // $XDG_CONFIG_HOME/autostart/<appId>.desktop ($HOME/.config/autostart/...).
    static QString defaultPath(const QString& appId);
    const QString& path() const { return path_; }
    // Writes the entry, or takes it away. An entry the user turned off
    // (Hidden=true, or X-GNOME-Autostart-enabled=false) stays as it is.
    void set(bool wanted) const;
    bool turnedOffByUser() const;

private:
    QString path_;
    QString program_;
};

} // namespace quandrel
