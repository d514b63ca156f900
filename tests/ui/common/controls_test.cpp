#include "test_pictures.h"
#include "ui/common/caption_label.h"
#include "ui/common/image_control.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
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
    void moveTo(QWidget* widget, QPoint pos)
    {
        QTest::mouseMove(surface.windowHandle(), widget->mapTo(&surface, pos));
    }

    SurfaceWidget surface;
    ImageControl* image = new ImageControl(7, &surface);
    CaptionLabel* label = new CaptionLabel(QStringLiteral("Play"), &surface);
    TextPanel* panel = new TextPanel(&surface);
};

TEST_F(ControlsTest, ImageClickCarriesItsIndex)
{
    QSignalSpy clicks(image, &ImageControl::clicked);
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(image, Qt::RightButton, {}, QPoint(5, 5));
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 7);
}

TEST_F(ControlsTest, ImagePressReleasedOutsideIsNoClick)
{
    QSignalSpy clicks(image, &ImageControl::clicked);
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ControlsTest, DoubleClickIsOneClick)
{
    // What a widget receives from a double click: press, release, double
    // click (in place of the second press), release.
    QSignalSpy clicks(image, &ImageControl::clicked);
    const QPoint at(5, 5);
    QTest::mouseClick(image, Qt::LeftButton, {}, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, at, image->mapToGlobal(at), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(image, &second);
    QTest::mouseRelease(image, Qt::LeftButton, {}, at);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ControlsTest, ImageKeepsThePictureObjectAndPaintsItStretched)
{
    const PictureRef red = solidPicture(Qt::red);
    image->setPicture(red);
    EXPECT_EQ(image->picture(), red);
    const QImage shot = surface.grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(49, 49), QColor(Qt::red)) << "8 x 8 picture fills the 40 x 40 control";
    EXPECT_EQ(shot.pixelColor(50, 50), QColor(Qt::blue));

    image->setPicture(solidPicture(Qt::green));
    EXPECT_EQ(surface.grab().toImage().pixelColor(30, 30), QColor(Qt::green)) << "a new picture repaints";
    image->resize(20, 20);
    const QImage smaller = surface.grab().toImage();
    EXPECT_EQ(smaller.pixelColor(29, 29), QColor(Qt::green));
    EXPECT_EQ(smaller.pixelColor(35, 35), QColor(Qt::blue)) << "the picture follows the control's size";
}

TEST_F(ControlsTest, LabelHoverAndClick)
{
    QSignalSpy moves(label, &CaptionLabel::mouseMoved);
    QSignalSpy surfaceMoves(&surface, &SurfaceWidget::mouseMoved);
    moveTo(label, QPoint(30, 15));
    EXPECT_GE(moves.count(), 1);
    EXPECT_EQ(surfaceMoves.count(), 0) << "a move over a label is not the surface's";

    QSignalSpy clicks(label, &CaptionLabel::clicked);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(30, 15));
    EXPECT_EQ(clicks.count(), 1);

    label->setForeground(QColor(255, 128, 0));
    EXPECT_EQ(label->foreground(), QColor(255, 128, 0));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 128, 0));
}

TEST_F(ControlsTest, SurfaceEventsComeOnlyFromItsBareBackground)
{
    QSignalSpy moves(&surface, &SurfaceWidget::mouseMoved);
    QSignalSpy clicks(&surface, &SurfaceWidget::clicked);
    moveTo(&surface, QPoint(250, 150));
    EXPECT_GE(moves.count(), 1);
    moves.clear();
    moveTo(image, QPoint(5, 5));
    moveTo(panel, QPoint(20, 20));
    EXPECT_EQ(moves.count(), 0) << "moves over controls are theirs";

    QTest::mouseClick(&surface, Qt::LeftButton, {}, QPoint(250, 150));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&surface, Qt::LeftButton, {}, label->geometry().center());
    EXPECT_EQ(clicks.count(), 1) << "a click that a label lets through is not the surface's";
}

TEST_F(ControlsTest, SurfaceDrawsItsPictureAtNaturalSizeFromTheCorner)
{
    image->hide();
    surface.setBackgroundPicture(solidPicture(Qt::yellow, QSize(20, 30)));
    const QImage shot = surface.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(19, 29), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(20, 29), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(19, 30), QColor(Qt::blue));
}

TEST_F(ControlsTest, PanelClickShowsCrLfAsLineBreaksAndKeepsItsText)
{
    const QString text = QStringLiteral("first line \r\nsecond line\r\n");
    panel->setText(text);
    EXPECT_EQ(panel->text(), text);
    EXPECT_EQ(panel->document()->blockCount(), 3);
    EXPECT_EQ(panel->document()->findBlockByNumber(1).text(), QStringLiteral("second line"));
    EXPECT_FALSE(panel->toPlainText().contains(QLatin1Char('\r')));

    QSignalSpy clicks(panel, &TextPanel::clicked);
    QTest::mouseClick(panel->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(panel->text(), text) << "a click neither edits nor selects";
    EXPECT_FALSE(panel->textCursor().hasSelection());
}

TEST_F(ControlsTest, CentredPanelCentresTheWordsAndKeepsTheText)
{
    const QString version = QString(16, QLatin1Char(' ')) + QStringLiteral("Pairly ver. 2.2")
                            + QString(17, QLatin1Char(' ')) + QStringLiteral("\r\n");
    panel->setText(version);
    panel->setCentred(true);
    EXPECT_EQ(panel->text(), version);
    EXPECT_EQ(panel->document()->firstBlock().text(), QStringLiteral("Pairly ver. 2.2"));
    EXPECT_EQ(panel->document()->defaultTextOption().alignment(), Qt::AlignHCenter);
    panel->setCentred(false);
    EXPECT_EQ(panel->document()->firstBlock().text(), version.chopped(2));
}

TEST_F(ControlsTest, PanelScrollsOnlyWhenItsTextDoesNotFit)
{
    panel->setText(QStringLiteral("short"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(panel->verticalScrollBar()->isVisible());
    QString lines;
    for (int i = 0; i < 40; ++i)
        lines += QStringLiteral("line %1\r\n").arg(i);
    panel->setText(lines);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->verticalScrollBar()->isVisible(); }, 2000));
}

}  // namespace
}  // namespace pairly
