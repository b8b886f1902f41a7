#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "widgets/skin_button.h"

namespace {

struct SkinButtonTest : ::testing::Test {
    QWidget dialog;
    SkinButtonTest() { dialog.resize(300, 200); }
    CSkinButton* Add(SkinButtonKind kind, int x) {
        auto* button = new CSkinButton(QStringLiteral("选项"), kind, &dialog);
        button->setGeometry(x, 10, 80, 24);
        return button;
    }
};

TEST_F(SkinButtonTest, CheckBoxTogglesWhenReleasedOverIt) {
    CSkinButton* box = Add(SkinButtonKind::CheckBox, 10);
    dialog.show();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(box->Ticked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(box->Ticked());
}

TEST_F(SkinButtonTest, CheckBoxKeepsItsStateWhenReleasedOutside) {
    CSkinButton* box = Add(SkinButtonKind::CheckBox, 10);
    dialog.show();
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(box->isDown());
    QTest::mouseMove(box, QPoint(200, 100));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_FALSE(box->Ticked());
    EXPECT_FALSE(box->isDown());
}

TEST_F(SkinButtonTest, SpaceTogglesACheckBox) {
    CSkinButton* box = Add(SkinButtonKind::CheckBox, 10);
    dialog.show();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(box->Ticked());
}

TEST_F(SkinButtonTest, TickingARadioButtonClearsTheOthersOfItsGroup) {
    CSkinButton* first = Add(SkinButtonKind::Radio, 10);
    CSkinButton* second = Add(SkinButtonKind::Radio, 100);
    CSkinButton* third = Add(SkinButtonKind::Radio, 190);
    dialog.show();
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(first->Ticked());
    QTest::mouseClick(third, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(first->Ticked());
    EXPECT_FALSE(second->Ticked());
    EXPECT_TRUE(third->Ticked());
    // A ticked radio button stays ticked when clicked again.
    QTest::mouseClick(third, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(third->Ticked());
}

TEST_F(SkinButtonTest, PushButtonClicksButNeverTicks) {
    CSkinButton* push = Add(SkinButtonKind::Push, 10);
    int clicks = 0;
    QObject::connect(push, &QAbstractButton::clicked, [&] { ++clicks; });
    dialog.show();
    QTest::mouseClick(push, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(push->Ticked());
}

TEST_F(SkinButtonTest, SetSkinResetsModeBorderAndMargin) {
    CSkinButton* push = Add(SkinButtonKind::Push, 10);
    push->SetDrawMode(SkinDrawMode::Tile);
    push->SetBorder(true);
    push->SetFocusMargin(3);
    QPixmap image(8, 8);
    image.fill(Qt::red);
    push->SetSkin(image, image, image, image);
    // Painting with the reset settings and a mask must not fail.
    QImage mask(8, 8, QImage::Format_Grayscale8);
    mask.fill(Qt::white);
    push->SetMaskImage(mask);
    dialog.show();
    EXPECT_FALSE(push->grab().isNull());
}

}  // namespace
