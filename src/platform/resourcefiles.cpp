// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/resourcefiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace quandrel {

QString pictureResourcePath(int id, qreal devicePixelRatio)
{
    const bool hiDpi = devicePixelRatio > 1.0;
    switch (id) {
    case 101:
        return hiDpi ? QStringLiteral(":/images/logo@2x.gif") : QStringLiteral(":/images/101.gif");
    case 102:
        return hiDpi ? QStringLiteral(":/images/speaker@2x.png") : QStringLiteral(":/images/speaker.png");
    case 103:
        return hiDpi ? QStringLiteral(":/images/restart@2x.png") : QStringLiteral(":/images/restart.png");
    default:
        return QString();
    }
}

QString trimAtNull(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

bool makeTempFileName(const QString& folder, const QString& prefix, int unique, QString& name)
{
    const QString dir = folder.isEmpty() ? QDir::tempPath() : folder;
    if (dir.isEmpty())
        return false;
    if (unique != 0) {
        // A caller-chosen number: the name is made but no file is created.
        name = trimAtNull(QDir(dir).filePath(prefix + QString::number(unique & 0xFFFF, 16).toUpper() + ".tmp"));
        return true;
    }
    QTemporaryFile file(QDir(dir).filePath(prefix + QStringLiteral("XXXXXX.tmp")));
    file.setAutoRemove(false);
    if (!file.open()) {
        name = trimAtNull(name);
        return false;
    }
    name = trimAtNull(file.fileName());
    return true;
}

int saveResourceToFile(int id, const QString& resourceType, const QString& path, qreal devicePixelRatio)
{
    if (resourceType.compare(QLatin1String("CUSTOM"), Qt::CaseInsensitive) != 0)
        return 1813; // resource not found
    QFile resource(pictureResourcePath(id, devicePixelRatio));
    if (!resource.open(QIODevice::ReadOnly))
        return 1813;
    const QByteArray bytes = resource.readAll();
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 75; // path/file access error
    if (out.write(bytes) != bytes.size())
        return 61; // disk full
    out.close();
    return out.error() == QFileDevice::NoError ? 0 : 61;
}

QPixmap loadResourcePicture(int id, const QString& resourceType, const QString& path, qreal devicePixelRatio)
{
    QString file = path;
    if (file.isEmpty())
        makeTempFileName(QString(), QStringLiteral("~rs"), 0, file);
    if (file.isEmpty() || saveResourceToFile(id, resourceType, file, devicePixelRatio) != 0) {
        // Nothing usable was written; do not leave an empty temporary behind.
        if (path.isEmpty() && !file.isEmpty())
            QFile::remove(file);
        return QPixmap();
    }
    QPixmap picture(file);
    QFile::remove(file);
    if (!picture.isNull() && devicePixelRatio > 1.0)
        picture.setDevicePixelRatio(2.0);
    return picture;
}

} // namespace quandrel
