#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QSettings>
#include <QStyle>

#include "app/application_look.h"
#include "app/look_settings.h"
#include "app/main_frame.h"
#include "app_test_folder.h"

namespace {

void ForgetSavedLook() {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromUtf8(kSettingsCompany),
              QString::fromUtf8(kSettingsApplication))
        .clear();
}

struct LookTest : ::testing::Test {
    AppTestFolder folder;
    LookTest() { ForgetSavedLook(); }
    ~LookTest() override { ForgetSavedLook(); }
};

TEST_F(LookTest, DefaultsToBlueWhenNothingWasSaved) {
    EXPECT_EQ(ReadApplicationLook(), 215);
    CMainFrame frame;
    EXPECT_EQ(frame.CurrentLook(), 215);
    EXPECT_TRUE(frame.Command(215)->isChecked());
}

TEST_F(LookTest, PersistsAcrossARestart) {
    {
        CMainFrame frame;
        frame.Command(217)->trigger();
        EXPECT_TRUE(frame.Command(217)->isChecked());
        EXPECT_FALSE(frame.Command(215)->isChecked());
    }
    EXPECT_EQ(ReadApplicationLook(), 217);
    CMainFrame restarted;
    EXPECT_EQ(restarted.CurrentLook(), 217);
    EXPECT_TRUE(restarted.Command(217)->isChecked());
}

TEST_F(LookTest, SwitchingLiveChangesTheApplicationPalette) {
    CMainFrame frame;
    frame.SwitchLook(216);
    const QColor black = QApplication::palette().color(QPalette::Highlight);
    frame.SwitchLook(218);
    EXPECT_NE(QApplication::palette().color(QPalette::Highlight), black);
    EXPECT_EQ(ReadApplicationLook(), 218);
}

TEST_F(LookTest, LooksWithoutMenuItemClearTheRadioMarks) {
    CMainFrame frame;
    frame.SwitchLook(219);
    for (int id = 215; id <= 218; ++id) EXPECT_FALSE(frame.Command(id)->isChecked());
    EXPECT_EQ(ReadApplicationLook(), 219);
}

TEST(ApplicationLookResolve, UnknownIdsFallBackToTheLastColourLook) {
    ApplicationLook look;
    EXPECT_EQ(look.Resolve(999).colourLook, 215);
    look.Apply(217);
    EXPECT_EQ(look.Resolve(999).colourLook, 217);
    EXPECT_EQ(look.Resolve(219).colourLook, 0);
    for (int id = 205; id <= 210; ++id) EXPECT_FALSE(look.Resolve(id).styleName.isEmpty());
}

}  // namespace
