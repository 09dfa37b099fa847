// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/statefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quandrel {
namespace {

// A state file larger than this is not one of ours.
constexpr qint64 LargestStateFile = 4 * 1024 * 1024;

QString homeFolder(const char* variable, const char* fallback)
{
    const QString set = qEnvironmentVariable(variable);
    // A relative path there is ignored, as the desktops do.
    if (!set.isEmpty() && QDir::isAbsolutePath(set))
        return set;
    return QDir::homePath() + QLatin1Char('/') + QLatin1String(fallback);
}

// A path as a desktop entry's Exec key takes it: quoted, with the characters
// that are special inside quotes escaped, and % doubled.
QString execQuoted(const QString& path)
{
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        quoted += c;
        if (c == u'%')
            quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString StateFile::defaultPath(const QString& name)
{
    return homeFolder("XDG_STATE_HOME", ".local/state") + QStringLiteral("/quandrel/") + name;
}

StateFile::Contents StateFile::read() const
{
    Contents contents;
    QFile file(path_);
    if (!file.exists())
        return contents;
    if (!file.open(QIODevice::ReadOnly)) {
        contents.error = file.errorString();
        return contents;
    }
    if (file.size() > LargestStateFile) {
        contents.error = QCoreApplication::translate("StateFile", "it is larger than %1 bytes").arg(LargestStateFile);
        return contents;
    }
    contents.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        contents.bytes.reset();
        contents.error = file.errorString();
    }
    return contents;
}

bool StateFile::write(const QByteArray& bytes, QString* error) const
{
    QDir().mkpath(QFileInfo(path_).absolutePath());
    // QSaveFile writes a new file beside the old, flushes it to the disk and
    // renames it over the old one.
    QSaveFile file(path_);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

void StateFile::remove() const
{
    QFile::remove(path_);
}

QString StateFile::keepAside(const QDateTime& when) const
{
    const QString aside = path_ + QStringLiteral(".damaged-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QFile::rename(path_, aside) ? aside : QString();
}

QString AutostartEntry::defaultPath(const QString& appId)
{
    return homeFolder("XDG_CONFIG_HOME", ".config") + QStringLiteral("/autostart/") + appId +
           QStringLiteral(".desktop");
}

bool AutostartEntry::turnedOffByUser() const
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return true;
    }
    return false;
}

void AutostartEntry::set(bool wanted) const
{
    if (turnedOffByUser())
        return;
    if (!wanted) {
        QFile::remove(path_);
        return;
    }
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Quandrel\n"
                                         "Comment=Brings back the timers that were running\n"
                                         "Exec=%1\n"
                                         "Icon=%2\n"
                                         "NoDisplay=true\n")
                              .arg(execQuoted(program_), QFileInfo(path_).completeBaseName());
    StateFile(path_).write(entry.toUtf8());
}

} // namespace quandrel
