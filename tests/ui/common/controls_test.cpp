// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_pictures.h"
#include "ui/common/image_control.h"
#include "ui/common/surface_widget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace pairly {
namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        surface.resize(300, 200);
        surface.setBackgroundColour(Qt::blue);
        image->setGeometry(10, 10, 40, 40);
        surface.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
    }
    QColor shotAt(int x, int y) { return surface.grab().toImage().pixelColor(x, y); }

    SurfaceWidget surface;
    ImageControl* image = new ImageControl(7, &surface);
};

// A left click carries the image's index. A right click, a press released
// outside, and the second half of a double click are no further clicks.
TEST_F(ControlsTest, ImageClicksCarryTheIndexOnce)
{
    QSignalSpy clicks(image, &ImageControl::clicked);
    const QPoint at(5, 5);
    QTest::mouseClick(image, Qt::LeftButton, {}, at);
    QTest::mouseClick(image, Qt::RightButton, {}, at);
    QTest::mousePress(image, Qt::LeftButton, {}, at);
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(60, 60));
    QTest::mouseClick(image, Qt::LeftButton, {}, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, image->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                       Qt::NoModifier);
    QApplication::sendEvent(image, &second);
    QTest::mouseRelease(image, Qt::LeftButton, {}, at);
    EXPECT_EQ(clicks, (QList<QVariantList>{{7}, {7}}));
}

// The image paints its picture stretched to its own size, and to its new
// size once resized.
TEST_F(ControlsTest, ImagePaintsItsPictureStretched)
{
    QImage halves(2, 1, QImage::Format_RGB32);
    halves.setPixelColor(0, 0, Qt::red);
    halves.setPixelColor(1, 0, Qt::green);
    image->setPicture(std::make_shared<const Picture>(Picture{halves}));
    EXPECT_EQ(std::tuple(shotAt(12, 30), shotAt(47, 30), shotAt(50, 50)),
              std::tuple(QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)));
    image->resize(20, 20);
    EXPECT_EQ(std::tuple(shotAt(12, 20), shotAt(27, 20), shotAt(35, 35)),
              std::tuple(QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)));
}

// The surface's picture sits at its natural size in the top-left corner.
TEST_F(ControlsTest, SurfacePictureSitsTopLeftAtNaturalSize)
{
    image->hide();
    surface.setBackgroundPicture(solidPicture(Qt::yellow, QSize(20, 30)));
    EXPECT_EQ(std::tuple(shotAt(0, 0), shotAt(19, 29), shotAt(20, 29), shotAt(19, 30)),
              std::tuple(QColor(Qt::yellow), QColor(Qt::yellow), QColor(Qt::blue), QColor(Qt::blue)));
}

}  // namespace
}  // namespace pairly
