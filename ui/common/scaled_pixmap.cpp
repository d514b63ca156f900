// SPDX-License-Identifier: GPL-3.0-or-later
#include "scaled_pixmap.h"

#include <QPixmapCache>

namespace pairly {

QPixmap scaledPixmap(const QImage& image, QSize logicalSize, qreal devicePixelRatio)
{
    const QSize devicePixels = logicalSize * devicePixelRatio;
    if (image.isNull() || devicePixels.isEmpty())
        return QPixmap();
    // cacheKey() is unique for each image's data and never reused, unlike
    // the address of a picture that has been freed.
    const QString key = QStringLiteral("pairly/%1/%2x%3@%4")
                            .arg(image.cacheKey())
                            .arg(devicePixels.width())
                            .arg(devicePixels.height())
                            .arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap = QPixmap::fromImage(
        image.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

}  // namespace pairly
