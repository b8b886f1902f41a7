#include <gtest/gtest.h>

#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "dialogs/dlg_msg.h"

namespace {

const QString kTenCharacters = QStringLiteral("照片文件已经不存在了");

TEST(CDlgMsgSize, OneLineOfTenCharactersWithOkOnlyIs190By90) {
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, false);
    box.show();
    EXPECT_EQ(box.size(), QSize(190, 90));
}

TEST(CDlgMsgSize, TwoButtonsMakeTheBoxAtLeast300Wide) {
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, true);
    box.show();
    EXPECT_EQ(box.size(), QSize(300, 90));
    // Wider texts are not narrowed.
    EXPECT_EQ(DlgMsgSize(QStringLiteral("提示"), QString(30, QLatin1Char('x')), true).width(), 450);
}

TEST(CDlgMsgSize, ThreeLinesAre130HighWithLinesTwentyPixelsApart) {
    CDlgMsg box(QStringLiteral("提示"), QStringLiteral("一\r\n二二\r\n三三三"), false);
    box.show();
    EXPECT_EQ(box.height(), 130);
    EXPECT_EQ(box.LineCount(), 3);
    EXPECT_EQ(CDlgMsg::LineOrigin(0).y(), 35);
    EXPECT_EQ(CDlgMsg::LineOrigin(1).y(), 55);
    EXPECT_EQ(CDlgMsg::LineOrigin(2).y(), 75);
}

TEST(CDlgMsgSize, ALongestTitleSetsTheWidthByItsLengthLessTwo) {
    const QString title = QStringLiteral("这是一个比正文还要长很多的标题");  // 15 characters
    EXPECT_EQ(DlgMsgSize(title, QStringLiteral("短"), false).width(), 13 * 13 + 60);
}

TEST(CDlgMsgSize, OnlyCrLfSeparatesLines) {
    EXPECT_EQ(DlgMsgSize({}, QStringLiteral("a\nb"), false).height(), 90);
    EXPECT_EQ(DlgMsgSize({}, QStringLiteral("a\r\nb"), false).height(), 110);
}

TEST(CDlgMsgLayout, OkOnlyStandsAtTwoThirdsOfTheWidth) {
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, false);
    box.show();
    const QRect ok = box.OkButton()->geometry();
    EXPECT_EQ(ok.left(), 190 * 2 / 3 - ok.width() / 2);
    EXPECT_EQ(ok.top(), 90 - 24);
    EXPECT_EQ(ok.height(), 23);
    EXPECT_FALSE(box.CancelButton()->isVisible());
}

TEST(CDlgMsgLayout, TwoButtonsStandAtOneAndTwoThirds) {
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, true);
    box.show();
    EXPECT_EQ(box.OkButton()->geometry().center().x(), 300 / 3);
    EXPECT_EQ(box.CancelButton()->geometry().center().x(), 200);
    EXPECT_TRUE(box.CancelButton()->isVisible());
}

TEST(CDlgMsgPlace, TheBoxIsCentredOverItsParentsWindowOrElseTheScreen) {
    QWidget window;
    window.setGeometry(120, 140, 500, 300);
    QWidget child(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, false, &child);
    box.show();
    EXPECT_EQ(box.geometry().center(), window.frameGeometry().center());

    window.hide();
    CDlgMsg lone(QStringLiteral("提示"), kTenCharacters, false, &child);
    lone.show();
    EXPECT_EQ(lone.geometry().center(), window.screen()->availableGeometry().center());
}

TEST(CDlgMsgResult, OkGivesOneAndCancelGivesTwo) {
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, true);
    QTimer::singleShot(0, &box, [&] { box.OkButton()->click(); });
    EXPECT_EQ(box.exec(), 1);
    QTimer::singleShot(0, &box, [&] { box.CancelButton()->click(); });
    EXPECT_EQ(box.exec(), 2);
}

TEST(CDlgMsgResult, ClosingTheWindowOrEscapeGivesTwo) {
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, false);
    QTimer::singleShot(0, &box, [&] { box.close(); });
    EXPECT_EQ(box.exec(), 2);
    QTimer::singleShot(0, &box, [&] { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(box.exec(), 2);
}

TEST(CDlgMsgLook, IsFramelessAndDraggedByItsTitleBand) {
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, false);
    box.show();
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    const QPoint start = box.pos();
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(50, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(70, 40), box.mapToGlobal(QPointF(70, 40)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(70, 40));
    EXPECT_EQ(box.pos(), start + QPoint(20, 30));
}

TEST(CDlgMsgLook, APressBelowTheTitleBandDoesNotMoveIt) {
    CDlgMsg box(QStringLiteral("提示"), kTenCharacters, false);
    box.show();
    const QPoint start = box.pos();
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(50, 40));
    QMouseEvent move(QEvent::MouseMove, QPointF(70, 70), box.mapToGlobal(QPointF(70, 70)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    EXPECT_EQ(box.pos(), start);
}

}  // namespace
