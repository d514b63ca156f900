// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_pictures.h"
#include "ui/common/caption_label.h"
#include "ui/common/image_control.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

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
        label->setGeometry(100, 10, 60, 30);
        panel->setGeometry(10, 100, 120, 80);
        surface.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
    }
    // Moves the pointer through the window, so that the event reaches the
    // widget under it as a real one would.
    void moveTo(QWidget* widget, QPoint pos) { QTest::mouseMove(surface.windowHandle(), widget->mapTo(&surface, pos)); }
    QColor shotAt(int x, int y) { return surface.grab().toImage().pixelColor(x, y); }

    SurfaceWidget surface;
    ImageControl* image = new ImageControl(7, &surface);
    CaptionLabel* label = new CaptionLabel(QStringLiteral("Play"), &surface);
    TextPanel* panel = new TextPanel(&surface);
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

// Moves and clicks over a label or panel are theirs; the surface reports only
// those over its bare background. Its picture sits at natural size top-left.
TEST_F(ControlsTest, HoverAndClicksGoToTheControlUnderThePointer)
{
    QSignalSpy labelMoves(label, &CaptionLabel::mouseMoved);
    QSignalSpy labelClicks(label, &CaptionLabel::clicked);
    QSignalSpy surfaceMoves(&surface, &SurfaceWidget::mouseMoved);
    QSignalSpy surfaceClicks(&surface, &SurfaceWidget::clicked);
    moveTo(label, QPoint(30, 15));
    moveTo(image, QPoint(5, 5));
    moveTo(panel, QPoint(20, 20));
    EXPECT_GE(labelMoves.count(), 1);
    EXPECT_EQ(surfaceMoves.count(), 0);
    moveTo(&surface, QPoint(250, 150));
    EXPECT_GE(surfaceMoves.count(), 1);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(30, 15));
    EXPECT_EQ(labelClicks.count(), 1);
    EXPECT_EQ(surfaceClicks.count(), 0) << "a click that a label lets through is not the surface's";
    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(250, 150));
    EXPECT_EQ(surfaceClicks.count(), 1);

    image->hide();
    surface.setBackgroundPicture(solidPicture(Qt::yellow, QSize(20, 30)));
    EXPECT_EQ(std::tuple(shotAt(19, 29), shotAt(20, 29), shotAt(19, 30)),
              std::tuple(QColor(Qt::yellow), QColor(Qt::blue), QColor(Qt::blue)));
}

// CR LF shows as a line break while text() keeps the bytes; a click neither
// edits nor selects; a centred panel centres the words, not the blanks.
TEST_F(ControlsTest, PanelShowsCrLfAsLineBreaksAndKeepsItsText)
{
    const QString text = QStringLiteral("first line \r\nsecond line\r\n");
    panel->setText(text);
    EXPECT_EQ(panel->document()->blockCount(), 3);
    EXPECT_EQ(panel->document()->findBlockByNumber(1).text(), QStringLiteral("second line"));
    QSignalSpy clicks(panel, &TextPanel::clicked);
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(panel->text(), text);
    EXPECT_FALSE(panel->textCursor().hasSelection());

    const QString version = QStringLiteral("                Pairly ver. 2.2                 \r\n");
    panel->setText(version);
    panel->setCentred(true);
    EXPECT_EQ(panel->text(), version);
    EXPECT_EQ(panel->document()->firstBlock().text(), QStringLiteral("Pairly ver. 2.2"));
    panel->setCentred(false);
    EXPECT_EQ(panel->document()->firstBlock().text(), version.chopped(2));
}

}  // namespace
}  // namespace pairly
