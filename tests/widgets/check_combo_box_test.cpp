#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QTest>

#include "widgets/check_combo_box.h"

namespace {

struct CheckComboBoxTest : ::testing::Test {
    CCheckComboBox combo;
    CheckComboBoxTest() {
        combo.AddItem(QStringLiteral("A"), true);
        combo.AddItem(QStringLiteral("B"));
        combo.AddItem(QStringLiteral("C"), true);
    }
};

TEST_F(CheckComboBoxTest, ShowsTheTickedItemsJoinedBySemicolonAndSpace) {
    EXPECT_EQ(combo.DisplayText(), QStringLiteral("A; C"));
    combo.SetTicked(0, false);
    EXPECT_EQ(combo.DisplayText(), QStringLiteral("C"));
}

TEST_F(CheckComboBoxTest, ToggleTicksAndUnticksInItemOrder) {
    combo.ToggleItem(1);
    EXPECT_EQ(combo.DisplayText(), QStringLiteral("A; B; C"));
    combo.ToggleItem(0);
    EXPECT_EQ(combo.DisplayText(), QStringLiteral("B; C"));
    combo.InsertItem(0, QStringLiteral("Z"), true);
    EXPECT_EQ(combo.DisplayText(), QStringLiteral("Z; B; C"));
}

TEST_F(CheckComboBoxTest, SpecialItemRunsTheOwnersHandlerInsteadOfToggling) {
    const int custom = combo.AddItem(QStringLiteral("自定义"));
    int handled = 0;
    combo.SetSpecialItemHandler([&](int index) {
        if (index != custom) return false;
        ++handled;
        return true;
    });
    combo.ToggleItem(custom);
    EXPECT_EQ(handled, 1);
    EXPECT_FALSE(combo.Ticked(custom));
    combo.ToggleItem(1);
    EXPECT_TRUE(combo.Ticked(1));
}

TEST_F(CheckComboBoxTest, DeclinedLimitKeepsTheItemUnticked) {
    int asked = 0;
    combo.SetTickLimitCheck([&](int) {
        ++asked;
        return false;
    });
    combo.ToggleItem(1);
    EXPECT_FALSE(combo.Ticked(1));
    // Unticking is never asked about.
    combo.ToggleItem(0);
    EXPECT_FALSE(combo.Ticked(0));
    EXPECT_EQ(asked, 1);
}

TEST_F(CheckComboBoxTest, OpeningTheListWithAClickTogglesNothing) {
    combo.resize(120, 24);
    combo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&combo));
    QTest::mousePress(&combo, Qt::LeftButton);
    ASSERT_TRUE(combo.view()->isVisible());
    QWidget* list = combo.view()->viewport();
    auto row = [&](int index) {
        return combo.view()->visualRect(combo.model()->index(index, 0)).center();
    };
    // The list opens under the pointer: the opening click's release lands on a row.
    QTest::mouseRelease(list, Qt::LeftButton, {}, row(0));
    EXPECT_EQ(combo.DisplayText(), QStringLiteral("A; C"));
    EXPECT_TRUE(combo.view()->isVisible());

    QTest::mouseClick(list, Qt::LeftButton, {}, row(1));
    EXPECT_EQ(combo.DisplayText(), QStringLiteral("A; B; C")) << "a click in the list toggles";
    combo.hidePopup();
    QTest::mousePress(&combo, Qt::LeftButton);
    QTest::mouseRelease(list, Qt::LeftButton, {}, row(1));
    EXPECT_EQ(combo.DisplayText(), QStringLiteral("A; B; C")) << "also when opened again";
}

TEST(CheckComboBoxList, ALongItemIsElidedAndTheListEndsAtTheWindowsEdge) {
    QWidget window;
    window.resize(200, 100);
    auto* combo = new CCheckComboBox(&window);
    combo->setGeometry(20, 10, 100, 24);
    const QString longText = QString(300, QLatin1Char('k'));
    combo->AddItem(QStringLiteral("A"));
    combo->AddItem(longText);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    combo->showPopup();
    const QWidget* list = combo->view()->window();
    ASSERT_TRUE(list->isVisible());
    const int windowRight = window.mapToGlobal(QPoint(window.width(), 0)).x();
    EXPECT_LE(list->x() + list->width(), windowRight);
    EXPECT_GE(list->width(), combo->width());
    EXPECT_EQ(combo->itemData(1, Qt::ToolTipRole).toString(), longText);
}

TEST_F(CheckComboBoxTest, ItemHeightIsTheFontHeightPlusLeadingPlusTwo) {
    const QFontMetrics metrics(combo.font());
    QStyleOptionViewItem option;
    option.font = combo.font();
    const QSize size = combo.itemDelegate()->sizeHint(option, combo.model()->index(0, 0));
    EXPECT_EQ(size.height(), metrics.height() + metrics.leading() + 2);
}

}  // namespace
