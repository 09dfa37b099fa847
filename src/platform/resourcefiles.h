// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QPixmap>
#include <QString>

namespace quandrel {

// The program's embedded pictures by resource number: 101 the main window's
// logo, 102 the loudspeaker, 103 the circular arrow.
QString pictureResourcePath(int id, qreal devicePixelRatio = 1.0);

// The text up to, not including, its first NUL character.
QString trimAtNull(const QString& text);

// Makes a new, empty file whose name starts with prefix in folder (the
// system's temporary folder when empty) and returns its path in name.
bool makeTempFileName(const QString& folder, const QString& prefix, int unique, QString& name);

// Writes the bytes of picture resource id to path; 0 on success, an error
// number otherwise. Resource type names are matched without regard to case.
int saveResourceToFile(int id, const QString& resourceType, const QString& path, qreal devicePixelRatio = 1.0);

// Loads picture resource id through a file (a fresh "~rs" temporary file when
// path is empty), deletes the file and returns the picture; a null pixmap
// when the resource could not be written.
QPixmap loadResourcePicture(int id, const QString& resourceType, const QString& path = QString(),
                            qreal devicePixelRatio = 1.0);

} // namespace quandrel
