// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pictures.h"

#include <QString>

namespace quandrel {

QPixmap loadPicture(Picture picture, qreal devicePixelRatio)
{
    const bool hiDpi = devicePixelRatio > 1.0;
    QString path;
    switch (picture) {
    case Picture::Logo:
        path = hiDpi ? QStringLiteral(":/images/logo@2x.gif") : QStringLiteral(":/images/logo.gif");
        break;
    case Picture::Loudspeaker:
        path = hiDpi ? QStringLiteral(":/images/speaker@2x.png") : QStringLiteral(":/images/speaker.png");
        break;
    case Picture::Restart:
        path = hiDpi ? QStringLiteral(":/images/restart@2x.png") : QStringLiteral(":/images/restart.png");
        break;
    }
    QPixmap pixmap(path);
    if (!pixmap.isNull() && hiDpi)
        pixmap.setDevicePixelRatio(2.0);
    return pixmap;
}

} // namespace quandrel
