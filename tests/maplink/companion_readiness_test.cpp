#include "maplink/companion_readiness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "link_test_environment.h"

namespace {

using Q = ReadinessQuestion;
constexpr Q kOpenFailed = Q::OpenFailed;
constexpr Q kTooOld = Q::TooOld;
constexpr Q kNotInstalled = Q::NotInstalled;
constexpr Q kNotOpened = Q::NotOpened;

enum Install { NotInstalled, Unread, Old, Usable };

struct Row {
    ReadinessPurpose purpose;
    bool window;
    Install install;
    bool answer;  // what the user clicks: true = 确定
    bool ready;
    std::optional<Q> question;  // none: nothing asked
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
    {P::Interactive, true, Old, true, false, kTooOld, true, false},
    {P::Interactive, true, Old, false, false, kTooOld, false, false},
    {P::Interactive, true, Usable, true, true, std::nullopt, false, false},
    {P::Interactive, false, NotInstalled, true, false, kNotInstalled, true, false},
    {P::Interactive, false, NotInstalled, false, true, kNotInstalled, false, false},
    {P::Interactive, false, Unread, true, false, kOpenFailed, false, false},
    {P::Interactive, false, Old, true, false, kTooOld, true, false},
    {P::Interactive, false, Usable, true, true, kNotOpened, false, true},
    {P::RegionLookup, true, Unread, true, false, kOpenFailed, false, false},
    {P::RegionLookup, true, Old, true, false, kTooOld, true, false},
    {P::RegionLookup, true, Usable, true, true, std::nullopt, false, false},
    {P::RegionLookup, false, NotInstalled, true, false, kNotInstalled, true, false},
    {P::RegionLookup, false, NotInstalled, false, true, kNotInstalled, false, false},
    {P::RegionLookup, false, Unread, true, false, kOpenFailed, false, false},
    {P::RegionLookup, false, Old, false, false, kTooOld, false, false},
    {P::RegionLookup, false, Usable, true, true, std::nullopt, false, true},
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
    std::vector<Q> questions;
    int downloads = 0, starts = 0;
    CompanionReadinessActions actions;
    actions.windowExists = [&] { return row.window; };
    actions.ask = [&](Q question) {
        questions.push_back(question);
        return row.answer;
    };
    actions.openDownloadPage = [&] { ++downloads; };
    actions.startCompanion = [&] { ++starts; };
    CompanionLocator locator;

    EXPECT_EQ(CheckCompanionReady(row.purpose, locator, actions), row.ready);
    if (row.question) {
        EXPECT_EQ(questions, std::vector<Q>{*row.question});
    } else {
        EXPECT_TRUE(questions.empty());
    }
    EXPECT_EQ(downloads, row.opensDownload ? 1 : 0);
    EXPECT_EQ(starts, row.starts ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(EveryRow, TheCompanionReadinessCheck, ::testing::ValuesIn(kRows));
