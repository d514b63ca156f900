#include "resources/design/window_designs.h"
#include "test_pictures.h"
#include "ui/common/caption_label.h"
#include "ui/common/control_set.h"
#include "ui/common/image_array.h"
#include "ui/common/image_control.h"
#include "ui/common/surface_widget.h"
#include "ui/common/text_panel.h"

#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace pairly {
namespace {

std::vector<QString> visibleControls(const SurfaceWidget& surface)
{
    std::vector<QString> names;
    for (const QWidget* child : surface.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible())
            names.push_back(child->objectName());
    }
    return names;
}

// Stands for the picture set: one object per stored picture.
class FakePictures {
public:
    PictureRef operator()(const ControlDesign& control)
    {
        if (control.picture.source == PictureDesign::Source::None)
            return nullptr;
        const int key = control.picture.source == PictureDesign::Source::Face ? control.picture.number
                                                                               : -control.picture.number;
        auto& picture = pictures_[key];
        if (!picture)
            picture = solidPicture(QColor::fromRgb(key & 0xFF, 0, 0));
        return picture;
    }
    PictureRef face(int k) const { return pictures_.at(k); }
    PictureRef back(int size) const { return pictures_.at(-size); }

private:
    std::map<int, PictureRef> pictures_;
};

TEST(ControlSet, GameWindowShowsOnlyImgZeroAndExitBeforeLoading)
{
    SurfaceWidget surface;
    FakePictures pictures;
    ControlSet controls(surface, form1Design(), std::ref(pictures));
    surface.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));

    EXPECT_EQ(visibleControls(surface), (std::vector<QString>{QStringLiteral("Img"), QStringLiteral("lblquit")}));
    EXPECT_TRUE(controls.image(u"Img", 0)->isVisible());
    EXPECT_EQ(controls.image(u"Img", 0)->picture(), nullptr);
    EXPECT_EQ(controls.label(u"lblquit")->text(), QStringLiteral("Exit"));
    EXPECT_EQ(surface.size(), QSize(524, 314));
    EXPECT_EQ(surface.backgroundColour(), QColor(0, 0, 255));
}

TEST(ControlSet, StartWindowShowsItsThreeLabelsAndNoVersionBox)
{
    SurfaceWidget surface;
    ControlSet controls(surface, frmmainDesign());
    surface.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));

    EXPECT_EQ(visibleControls(surface), (std::vector<QString>{QStringLiteral("lblInfo"), QStringLiteral("lblplay"),
                                                              QStringLiteral("lblquit")}));
    EXPECT_FALSE(controls.textBox(u"Text4")->isVisible());
    EXPECT_EQ(surface.backgroundColour(), QColor(0, 64, 0));
    EXPECT_TRUE(surface.font().bold() && surface.font().italic());
    EXPECT_DOUBLE_EQ(surface.font().pointSizeF(), 24);
}

TEST(ControlSet, ControlsTakeTheirDesignedPlaceFontAndColours)
{
    SurfaceWidget surface;
    ControlSet controls(surface, frmmainDesign());

    const CaptionLabel* play = controls.label(u"lblplay");
    EXPECT_EQ(play->geometry(), QRect(280, 456, 153, 33));
    EXPECT_EQ(play->foreground(), QColor(255, 255, 0));
    EXPECT_TRUE(play->alignment() & Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(play->font().pointSizeF(), 18);
    EXPECT_TRUE(play->font().bold());
    EXPECT_FALSE(play->font().italic()) << "the label's own font, not the window's";
    EXPECT_FALSE(play->autoFillBackground());

    const TextPanel* version = controls.textBox(u"Text4");
    EXPECT_EQ(version->geometry(), QRect(464, 240, 193, 112));
    EXPECT_DOUBLE_EQ(version->font().pointSizeF(), 7.8);
    EXPECT_EQ(version->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(version->palette().color(QPalette::Base), QColor(255, 255, 192));
    EXPECT_TRUE(version->centred());
    EXPECT_EQ(version->text(), frmmainDesign().find(u"Text4")->text);
    EXPECT_EQ(version->viewport()->cursor().shape(), Qt::ArrowCursor);
    for (const QWidget* child : surface.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_EQ(child->focusPolicy(), Qt::NoFocus) << child->objectName().toStdString();
}

TEST(ControlSet, ImagesGetTheirStoredPicturesAndArrays)
{
    SurfaceWidget surface;
    FakePictures pictures;
    ControlSet controls(surface, form1Design(), std::ref(pictures));

    ImageArray* faces = controls.imageArray(u"Pic");
    ASSERT_NE(faces, nullptr);
    EXPECT_EQ(faces->count(), 40);
    for (int k : {1, 17, 40})
        EXPECT_EQ(controls.image(u"Pic", k)->picture(), pictures.face(k));
    EXPECT_EQ(controls.image(u"dorso48", 0)->picture(), pictures.back(48));
    EXPECT_EQ(controls.image(u"Dorso80", 0)->geometry(), QRect(80, 8, 57, 57));
    EXPECT_TRUE(controls.image(u"dorso20", 0)->stretch());
    EXPECT_EQ(controls.image(u"Pic"), nullptr);
    EXPECT_EQ(controls.image(u"Pic", 41), nullptr);
    EXPECT_EQ(controls.textBox(u"MMC1"), nullptr) << "media controls are not built";
    EXPECT_EQ(controls.design().find(u"MMC1")->pixelRect(), QRect(384, 128, 64, 18));

    // Card backs made at run time are found like designed elements.
    ASSERT_TRUE(controls.imageArray(u"dorso20")->create(20));
    EXPECT_EQ(controls.image(u"dorso20", 20)->picture(), pictures.back(20));
}

TEST(ControlSet, PanelsLieOverTheTable)
{
    SurfaceWidget surface;
    ControlSet controls(surface, form1Design());
    ImageArray* faces = controls.imageArray(u"Img");
    ASSERT_TRUE(faces->create(1));
    const QObjectList& stack = surface.children();
    for (const char16_t* panel : {u"Text1", u"Text2", u"Text3"}) {
        EXPECT_EQ(controls.textBox(panel)->text(), form1Design().find(panel)->text);
        const int panelAt = stack.indexOf(controls.textBox(panel));
        EXPECT_GT(panelAt, stack.indexOf(faces->element(1)));
        EXPECT_GT(panelAt, stack.indexOf(controls.image(u"Pic", 40)));
        EXPECT_GT(panelAt, stack.indexOf(controls.label(u"lblquit")));
    }
}

}  // namespace
}  // namespace pairly
