// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/extraction.h"

#include "engine/soundcatalog.h"
#include "platform/wavefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <csignal>

namespace quandrel {

bool writeRecording(const QString& resourceName, const QString& path)
{
    // A whole wave stays, the user's own included, and so does a link to one.
    // Anything else is replaced by the recording: a link itself, never what
    // it points to, since the save would follow it out of the folder.
    const std::optional<WaveFormat> there = readWaveFile(path);
    if (there && !there->cutShort)
        return true;
    if (QFileInfo(path).isSymLink() && !QFile::remove(path))
        return false;
    QFile resource(recordingResourcePath(resourceName));
    if (!resource.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = resource.readAll();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QStringList extractRecordings(const QString& folder)
{
#ifdef SIGXFSZ
    // Past a file-size limit a write fails instead of ending the program.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
#endif
    QStringList failed;
    const bool haveFolder = QDir().mkpath(folder);
    for (const QString& name : extractionOrder()) {
        const CatalogSound* sound = soundByResource(name);
        if (!sound)
            continue;
        if (!haveFolder || !writeRecording(name, soundFilePath(folder, *sound))) {
            const QString shown = QString::fromLatin1(sound->listItem);
            failed << (shown.isEmpty() ? QStringLiteral("Ready") : shown);
        }
    }
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, previous);
#endif
    return failed;
}

void restoreRecording(const QString& folder, const QString& path)
{
    const QFileInfo file(path);
    if (QFileInfo(file.path()) != QFileInfo(folder))
        return;
    for (const QString& name : extractionOrder()) {
        const CatalogSound* sound = soundByResource(name);
        if (sound && file.fileName() == QLatin1String(sound->fileName)) {
            QDir().mkpath(folder);
            writeRecording(name, path);
        }
    }
}

QString defaultSoundFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (base.isEmpty())
        base = QDir::home().filePath(QStringLiteral(".local/share/Quandrel"));
    return QDir(base).filePath(QStringLiteral("sounds"));
}

} // namespace quandrel
