// SPDX-License-Identifier: GPL-3.0-or-later
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

// Stands for the picture set: one object per stored picture, faces under
// their number and backs under minus their size.
struct FakePictures {
    PictureRef operator()(const ControlDesign& control)
    {
        if (control.picture.source == PictureDesign::Source::None)
            return nullptr;
        const bool face = control.picture.source == PictureDesign::Source::Face;
        auto& picture = made[face ? control.picture.number : -control.picture.number];
        if (!picture)
            picture = solidPicture(Qt::red);
        return picture;
    }
    std::map<int, PictureRef> made;
};

// Before the window's load runs, only the designed visible controls show:
// the three labels on the start window; Img(0), still without a picture, and
// "Exit" on the game window.
TEST(ControlSet, WindowsBeforeLoadingShowOnlyTheirVisibleControls)
{
    const std::tuple<const WindowDesign*, QStringList, QColor, QSize> windows[] = {
        {&frmmainDesign(), {"lblInfo", "lblplay", "lblquit"}, QColor(0, 64, 0), QSize(676, 502)},
        {&form1Design(), {"Img", "lblquit"}, QColor(0, 0, 255), QSize(524, 314)}};
    for (const auto& [design, visible, background, size] : windows) {
        SurfaceWidget surface;
        FakePictures pictures;
        ControlSet controls(surface, *design, std::ref(pictures));
        surface.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
        QStringList shown;
        for (const QWidget* child : surface.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible())
                shown << child->objectName();
            EXPECT_EQ(child->focusPolicy(), Qt::NoFocus) << child->objectName().toStdString();
        }
        EXPECT_EQ(shown, visible);
        EXPECT_EQ(surface.backgroundColour(), background);
        EXPECT_EQ(surface.size(), size);
    }
    SurfaceWidget surface;
    ControlSet controls(surface, form1Design());
    EXPECT_EQ(controls.image(u"Img", 0)->picture(), nullptr);
}

// Images get their stored picture objects and designed places; arrays find
// designed and run-time elements alike; the rules panels lie over every card.
TEST(ControlSet, ImagesArraysAndPanelsOfTheGameWindow)
{
    SurfaceWidget surface;
    FakePictures pictures;
    ControlSet controls(surface, form1Design(), std::ref(pictures));
    EXPECT_EQ(controls.imageArray(u"Pic")->count(), 40);
    for (int k : {1, 17, 40})
        EXPECT_EQ(controls.image(u"Pic", k)->picture(), pictures.made.at(k));
    EXPECT_EQ(controls.image(u"dorso48", 0)->picture(), pictures.made.at(-48));
    EXPECT_EQ(controls.image(u"Dorso80", 0)->geometry(), QRect(80, 8, 57, 57));
    EXPECT_EQ(controls.image(u"Pic", 41), nullptr);
    ASSERT_TRUE(controls.imageArray(u"dorso20")->create(20));
    EXPECT_EQ(controls.image(u"dorso20", 20)->picture(), pictures.made.at(-20));

    ASSERT_TRUE(controls.imageArray(u"Img")->create(1));
    const QObjectList& stack = surface.children();
    const QObject* below[] = {controls.image(u"Img", 1), controls.image(u"Pic", 40), controls.label(u"lblquit")};
    for (const char16_t* panel : {u"Text1", u"Text2", u"Text3"})
        for (const QObject* card : below)
            EXPECT_GT(stack.indexOf(controls.textBox(panel)), stack.indexOf(card)) << card->objectName().toStdString();
}

}  // namespace
}  // namespace pairly
