// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_pictures.h"
#include "ui/common/image_array.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace pairly {
namespace {

class ImageArrayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent.resize(300, 300);
        model->setGeometry(0, 88, 116, 116);
        model->setPicture(back);
        model->setStretch(false);
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    QWidget parent;
    PictureRef back = solidPicture(Qt::darkRed);
    ImageControl* model = new ImageControl(0, &parent);
    ImageArray array{model, &parent};
};

// A new element copies element 0's place, size, picture object and
// stretching, and starts hidden even when element 0 shows; each index is
// created once, and never 0 or below.
TEST_F(ImageArrayTest, CreateCopiesElementZeroHidden)
{
    ASSERT_TRUE(array.create(3));
    ImageControl* element = array.element(3);
    EXPECT_EQ(element->index(), 3);
    EXPECT_EQ(element->parentWidget(), &parent);
    EXPECT_EQ(element->geometry(), model->geometry());
    EXPECT_EQ(element->picture(), back) << "the same picture object, not a copy";
    EXPECT_FALSE(element->stretch());
    EXPECT_FALSE(element->isVisible());
    EXPECT_FALSE(array.create(3));
    EXPECT_FALSE(array.create(0));
    EXPECT_FALSE(array.create(-1));
    EXPECT_EQ(array.element(3), element);
    EXPECT_EQ(array.count(), 2);
    EXPECT_FALSE(array.element(2));
}

// One signal serves every shown element with its index; hidden ones are not
// clicked.
TEST_F(ImageArrayTest, OneSignalServesEveryElementWithItsIndex)
{
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(array.create(i));
    QSignalSpy clicks(&array, &ImageArray::clicked);
    QTest::mouseClick(array.element(1), Qt::LeftButton, {}, QPoint(3, 3));
    for (int i : {2, 0, 3}) {
        array.element(i)->show();
        array.element(i)->move(10 * i, 0);
        QTest::mouseClick(array.element(i), Qt::LeftButton, {}, QPoint(3, 3));
    }
    EXPECT_EQ(clicks, (QList<QVariantList>{{2}, {0}, {3}}));
}

}  // namespace
}  // namespace pairly
