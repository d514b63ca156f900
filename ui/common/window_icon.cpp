// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_icon.h"

#include "resources/picture_set.h"

#include <QPixmap>

namespace pairly {

QIcon pairlyIcon()
{
    const PictureRef icon = PictureSet::embedded().icon();
    return icon ? QIcon(QPixmap::fromImage(icon->image)) : QIcon();
}

}  // namespace pairly
