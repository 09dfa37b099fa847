#include "sound/extraction.h"

#include "engine/soundcatalog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace quandrel {

bool writeRecording(const QString& resourceName, const QString& path)
{
    const QFileInfo existing(path);
    if (existing.exists() && existing.isFile())
        return true; // never rewritten
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
    return failed;
}

QString defaultSoundFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (base.isEmpty())
        base = QDir::home().filePath(QStringLiteral(".local/share/Quandrel"));
    return QDir(base).filePath(QStringLiteral("sounds"));
}

} // namespace quandrel
