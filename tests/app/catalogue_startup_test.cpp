// Start-up with a catalogue file that cannot be used: the user is told why
// and may start a new catalogue; the old file is kept under a dated name.

#include <gtest/gtest.h>

#include <QFile>
#include <filesystem>
#include <fstream>

#include "app/catalogue_startup.h"
#include "app/main_frame.h"
#include "app/verero_app.h"
#include "app_test_folder.h"
#include "dialogs/dlg_msg.h"

namespace {

struct Asked {
    QString message;
    bool twoButtons;
};

// Answers every box with answer and records what it was asked.
StartupMessageBox Answering(int answer, std::vector<Asked>& asked) {
    return [answer, &asked](const QString&, const QString& message, bool twoButtons) {
        asked.push_back({message, twoButtons});
        return answer;
    };
}

const std::time_t kNow = 1765308600;  // 2025-12-10 03:30:00 in Shanghai
const char* const kAside = ".damaged-20251210-033000";

void WriteText(const QString& path, const char* text) {
    std::ofstream(path.toStdString(), std::ios::binary) << text;
}

TEST(CatalogueStartup, ADamagedFileIsExplainedAndSetAsideWhenTheUserAgrees) {
    AppTestFolder folder;
    WriteText(folder.CatalogueFile(), "not a catalogue");
    std::vector<Asked> asked;
    EXPECT_TRUE(OpenCatalogueAtStartup(folder.library(), Answering(kDlgMsgOk, asked), kNow));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].twoButtons);
    EXPECT_TRUE(
        asked[0].message.startsWith(CatalogueProblemText(CatalogueFileState::NotADatabase)));
    EXPECT_TRUE(asked[0].message.endsWith(folder.CatalogueFile() + kAside))
        << asked[0].message.toStdString();
    QFile aside(folder.CatalogueFile() + kAside);
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), "not a catalogue");
    EXPECT_EQ(CatalogueOpenState(folder.library()), CatalogueFileState::Usable);
}

TEST(CatalogueStartup, DecliningLeavesTheFileAndTheCatalogueClosed) {
    AppTestFolder folder;
    WriteText(folder.CatalogueFile(), "SQLite format 3");
    std::vector<Asked> asked;
    EXPECT_FALSE(OpenCatalogueAtStartup(folder.library(), Answering(kDlgMsgCancel, asked), kNow));
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(folder.CatalogueFile().toStdString()), 15u);
    EXPECT_FALSE(QFile::exists(folder.CatalogueFile() + kAside));
    EXPECT_EQ(CatalogueOpenState(folder.library()), CatalogueFileState::Truncated);
}

TEST(CatalogueStartup, AnUnreadableFileIsOnlyReported) {
    AppTestFolder folder;
    std::filesystem::create_directories(folder.CatalogueFile().toStdString());
    std::vector<Asked> asked;
    EXPECT_FALSE(OpenCatalogueAtStartup(folder.library(), Answering(kDlgMsgOk, asked), kNow));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_FALSE(asked[0].twoButtons);
    EXPECT_TRUE(std::filesystem::is_directory(folder.CatalogueFile().toStdString()));
}

TEST(CatalogueStartup, TheProgramStartsEvenWhenTheUserKeepsADamagedFile) {
    AppTestFolder folder;
    WriteText(folder.CatalogueFile(), "not a catalogue");
    std::vector<Asked> asked;
    CVereroApp app;
    app.SetStartupMessageBox(Answering(kDlgMsgCancel, asked));
    ASSERT_EQ(app.InitInstance({.dataFolder = folder.Path().toStdString()}),
              CVereroApp::StartOutcome::Running);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_TRUE(app.MainFrame()->isVisible());
    EXPECT_EQ(std::filesystem::file_size(folder.CatalogueFile().toStdString()), 15u);
}

}  // namespace
