// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/scaled_pixmap.h"

#include <QImage>

#include <gtest/gtest.h>

namespace pairly {
namespace {

// On a 2x screen a card's picture is scaled to twice its logical size and
// drawn at its logical size: the second card of a pair, served from the
// cache, must carry the same ratio as the first.
TEST(ScaledPixmap, KeepsTheScreensRatioOnEveryCall)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int call = 0; call < 2; ++call) {
        const QPixmap pixmap = scaledPixmap(image, QSize(10, 10), 2.0);
        EXPECT_EQ(pixmap.size(), QSize(20, 20)) << call;
        EXPECT_EQ(pixmap.devicePixelRatio(), 2.0) << call;
    }
}

}  // namespace
}  // namespace pairly
