// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>

namespace quandrel {

// The pictures the program carries.
enum class Picture { Logo, Loudspeaker, Restart };

// A picture for a screen of this pixel ratio, from the program's resources;
// a null pixmap if it is missing.
QPixmap loadPicture(Picture picture, qreal devicePixelRatio = 1.0);

} // namespace quandrel
