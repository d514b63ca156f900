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
        model->setObjectName(QStringLiteral("dorso20"));
        model->setGeometry(0, 88, 116, 116);
        model->setPicture(back);
        model->hide();
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    QWidget parent;
    PictureRef back = solidPicture(Qt::darkRed);
    ImageControl* model = new ImageControl(0, &parent);
    ImageArray array{model, &parent};
};

TEST_F(ImageArrayTest, NewElementCopiesElementZeroAndStartsHidden)
{
    ASSERT_TRUE(array.create(3));
    ImageControl* element = array.element(3);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->index(), 3);
    EXPECT_EQ(element->parentWidget(), &parent);
    EXPECT_EQ(element->size(), model->size());
    EXPECT_EQ(element->picture(), back) << "the same picture object, not a copy";
    EXPECT_EQ(element->stretch(), model->stretch());
    EXPECT_FALSE(element->isVisible());
    EXPECT_EQ(array.count(), 2);

    model->show();
    ASSERT_TRUE(array.create(4));
    EXPECT_FALSE(array.element(4)->isVisible()) << "hidden even when element 0 is shown";
}

TEST_F(ImageArrayTest, ElementsAreCreatedOnce)
{
    EXPECT_TRUE(array.create(1));
    ImageControl* first = array.element(1);
    EXPECT_FALSE(array.create(1));
    EXPECT_FALSE(array.create(0));
    EXPECT_FALSE(array.create(-1));
    EXPECT_EQ(array.element(1), first);
    EXPECT_EQ(array.element(2), nullptr);
    EXPECT_EQ(array.count(), 2);
}

TEST_F(ImageArrayTest, OneSignalServesEveryElementWithItsIndex)
{
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(array.create(i));
    QSignalSpy clicks(&array, &ImageArray::clicked);
    for (int i : {2, 0, 3}) {
        array.element(i)->show();
        array.element(i)->move(10 * i, 0);
        QTest::mouseClick(array.element(i), Qt::LeftButton, {}, QPoint(3, 3));
    }
    ASSERT_EQ(clicks.count(), 3);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 2);
    EXPECT_EQ(clicks.at(1).at(0).toInt(), 0);
    EXPECT_EQ(clicks.at(2).at(0).toInt(), 3);
}

TEST_F(ImageArrayTest, HiddenElementIsNotClicked)
{
    ASSERT_TRUE(array.create(1));
    QSignalSpy clicks(&array, &ImageArray::clicked);
    QTest::mouseClick(array.element(1), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ImageArrayTest, NewElementsStayUnderTheCeiling)
{
    auto* panel = new QWidget(&parent);
    panel->setGeometry(0, 0, 300, 300);
    array.setStackCeiling(panel);
    ASSERT_TRUE(array.create(1));
    const QObjectList& stack = parent.children();
    EXPECT_LT(stack.indexOf(array.element(1)), stack.indexOf(panel));
}

TEST(ImageArrayWithoutModel, DesignElementsCanBeAdoptedButNotCopied)
{
    QWidget parent;
    ImageArray faces(new ImageControl(1, &parent));
    EXPECT_TRUE(faces.adopt(new ImageControl(2, &parent)));
    EXPECT_FALSE(faces.adopt(new ImageControl(2, &parent)));
    EXPECT_EQ(faces.count(), 2);
    EXPECT_FALSE(faces.create(3)) << "there is no element 0 to copy";
}

}  // namespace
}  // namespace pairly
