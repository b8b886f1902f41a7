#include "maplink/companion_readiness.h"

#include <gtest/gtest.h>

#include <fstream>

#include "link_test_environment.h"

namespace {

constexpr const char* kOpenFailed = "打开Darazoz互动浏览器失败。\r\n请手动打开Darazoz，继续操作。";
constexpr const char* kOldInteractive =
    "您安装的Darazoz互动浏览器版本低于5.01，\r\n点击[确定]前往官网下载PC版本。";
constexpr const char* kOldRegion =
    "您安装的Darazoz互动浏览器版本低于5.01，因此不能解析地区信息。\r\n是否前往官网下载PC版本？";
constexpr const char* kNotInstalledInteractive =
    "您尚未安装过Darazoz互动地图浏览器，是否前往官网下载PC版本？";
constexpr const char* kNotInstalledRegion =
    "您尚未安装过Darazoz互动地图浏览器，因此不能解析地区信息。\r\n是否前往官网下载PC版本？";
constexpr const char* kNotOpened =
    "您尚未打开Darazoz互动浏览器。\r\n点击[确定]打开Darazoz，继续操作。";

enum Install { NotInstalled, Unread, Old, Usable };

struct Row {
    ReadinessPurpose purpose;
    bool window;
    Install install;
    bool answer;  // what the user clicks: true = 确定
    bool ready;
    const char* message;  // nullptr: no question
    bool opensDownload;
    bool starts;
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << (row.purpose == ReadinessPurpose::Interactive ? "interactive" : "region")
               << " window=" << row.window << " install=" << row.install
               << " answer=" << row.answer;
}

using P = ReadinessPurpose;
const Row kRows[] = {
    {P::Interactive, true, Unread, true, false, kOpenFailed, false, false},
    {P::Interactive, true, Old, true, false, kOldInteractive, true, false},
    {P::Interactive, true, Old, false, false, kOldInteractive, false, false},
    {P::Interactive, true, Usable, true, true, nullptr, false, false},
    {P::Interactive, false, NotInstalled, true, false, kNotInstalledInteractive, true, false},
    {P::Interactive, false, NotInstalled, false, true, kNotInstalledInteractive, false, false},
    {P::Interactive, false, Unread, true, false, kOpenFailed, false, false},
    {P::Interactive, false, Old, true, false, kOldInteractive, true, false},
    {P::Interactive, false, Usable, true, true, kNotOpened, false, true},
    {P::RegionLookup, true, Unread, true, false, kOpenFailed, false, false},
    {P::RegionLookup, true, Old, true, false, kOldRegion, true, false},
    {P::RegionLookup, true, Usable, true, true, nullptr, false, false},
    {P::RegionLookup, false, NotInstalled, true, false, kNotInstalledRegion, true, false},
    {P::RegionLookup, false, NotInstalled, false, true, kNotInstalledRegion, false, false},
    {P::RegionLookup, false, Unread, true, false, kOpenFailed, false, false},
    {P::RegionLookup, false, Old, false, false, kOldRegion, false, false},
    {P::RegionLookup, false, Usable, true, true, nullptr, false, true},
};

}  // namespace

class TheCompanionReadinessCheck : public ::testing::TestWithParam<Row> {
  protected:
    LinkTestEnvironment env;
};

TEST_P(TheCompanionReadinessCheck, givesTheOutcomeOfItsRow) {
    const Row row = GetParam();
    if (row.install != NotInstalled) {
        std::filesystem::create_directories(env.ConfigDir() + "/Darazoz Software");
        std::ofstream settings(env.CompanionSettings());
        settings << "[MainFrm]\nLastRunPath=/opt/zidevu\n";
        if (row.install == Old) settings << "LastVersion=500\n";
        if (row.install == Usable) settings << "LastVersion=501\n";
    }
    std::vector<std::string> questions;
    int downloads = 0, starts = 0;
    CompanionReadinessActions actions;
    actions.windowExists = [&] { return row.window; };
    actions.ask = [&](const std::string& text) {
        questions.push_back(text);
        return row.answer;
    };
    actions.openDownloadPage = [&] { ++downloads; };
    actions.startCompanion = [&] { ++starts; };
    CompanionLocator locator;

    EXPECT_EQ(CheckCompanionReady(row.purpose, locator, actions), row.ready);
    if (row.message) {
        EXPECT_EQ(questions, std::vector<std::string>{row.message});
    } else {
        EXPECT_TRUE(questions.empty());
    }
    EXPECT_EQ(downloads, row.opensDownload ? 1 : 0);
    EXPECT_EQ(starts, row.starts ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(EveryRow, TheCompanionReadinessCheck, ::testing::ValuesIn(kRows));
