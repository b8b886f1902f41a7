#include <gtest/gtest.h>

#include <QTest>

#include "widgets/num_edit.h"

namespace {

TEST(NumericFilter, KeepsDigitsAndOneDecimalPoint) {
    EXPECT_EQ(FilterTypedNumeric(QStringLiteral("12"), 2).text, QStringLiteral("12"));
    EXPECT_EQ(FilterTypedNumeric(QStringLiteral("12."), 3).text, QStringLiteral("12."));
    const NumericFilterResult second = FilterTypedNumeric(QStringLiteral("1.2."), 4);
    EXPECT_EQ(second.text, QStringLiteral("1.2"));
    EXPECT_EQ(second.caret, 3);
}

TEST(NumericFilter, KeepsAMinusOnlyAsTheWholeText) {
    EXPECT_EQ(FilterTypedNumeric(QStringLiteral("-"), 1).text, QStringLiteral("-"));
    EXPECT_EQ(FilterTypedNumeric(QStringLiteral("12-"), 3).text, QStringLiteral("12"));
    const NumericFilterResult inFront = FilterTypedNumeric(QStringLiteral("-12"), 1);
    EXPECT_EQ(inFront.text, QStringLiteral("12"));
    EXPECT_EQ(inFront.caret, 0);
}

TEST(NumericFilter, RemovesLettersAndFullWidthDigitsWhereTheyWereTyped) {
    const NumericFilterResult middle = FilterTypedNumeric(QStringLiteral("1a2"), 2);
    EXPECT_EQ(middle.text, QStringLiteral("12"));
    EXPECT_EQ(middle.caret, 1);
    EXPECT_EQ(FilterTypedNumeric(QStringLiteral("1１"), 2).text, QStringLiteral("1"));
}

TEST(CnumEditTyping, NumericModeFiltersTypedText) {
    CnumEdit edit;
    edit.SetNumericMode(true);
    edit.show();
    QTest::keyClicks(&edit, QStringLiteral("-12.3.4x-5"));
    EXPECT_EQ(edit.text(), QStringLiteral("-12.345"));
}

TEST(CnumEditTyping, TextModeTakesEverything) {
    CnumEdit edit;
    edit.show();
    QTest::keyClicks(&edit, QStringLiteral("a-1.2.3"));
    EXPECT_EQ(edit.text(), QStringLiteral("a-1.2.3"));
}

}  // namespace
