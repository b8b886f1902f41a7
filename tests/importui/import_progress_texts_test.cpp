#include <gtest/gtest.h>

#include "importui/import_progress_texts.h"

namespace {

TEST(ImportProgressTexts, StartWithoutAPercentage) {
    const ImportProgressTexts texts = InitialImportProgressTexts();
    EXPECT_EQ(texts.importedLine, QStringLiteral("已导入照片：0/0张"));
    EXPECT_EQ(texts.duplicateLine, QStringLiteral("重复照片：0张"));
    EXPECT_EQ(texts.notImportedLine, QStringLiteral("未导入：0张"));
    EXPECT_EQ(texts.doneLine, QStringLiteral("已完成："));
}

struct TextCase {
    const char* name;
    ImportCounts counts;  // total, imported, duplicates, unreadable, third copies, failed
    const char* imported;
    const char* duplicates;
    const char* notImported;
    const char* done;
};

class ImportProgressLines : public ::testing::TestWithParam<TextCase> {};

TEST_P(ImportProgressLines, SayWhatBecameOfEveryFile) {
    const TextCase& c = GetParam();
    const ImportProgressTexts texts = MakeImportProgressTexts(c.counts);
    EXPECT_EQ(texts.importedLine, QString::fromUtf8(c.imported));
    EXPECT_EQ(texts.duplicateLine, QString::fromUtf8(c.duplicates));
    EXPECT_EQ(texts.notImportedLine, QString::fromUtf8(c.notImported));
    EXPECT_EQ(texts.doneLine, QString::fromUtf8(c.done));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ImportProgressLines,
    ::testing::Values(TextCase{"NothingCounted",
                               {},
                               "已导入照片：0/0张",
                               "重复照片：0张",
                               "未导入：0张",
                               "已完成：0%"},
                      TextCase{"DuplicatesCountAsDoneAndThePercentageIsTruncated",
                               {7, 2, 1, 0, 0, 0},
                               "已导入照片：2/7张",
                               "重复照片：1张",
                               "未导入：0张",
                               "已完成：42%"},
                      TextCase{"FilesLeftOutAreNamedByReasonAndNotAsDuplicates",
                               {10, 2, 1, 3, 2, 0},
                               "已导入照片：2/10张",
                               "重复照片：1张",
                               "未导入：5张（无法读取3张，第三份副本2张）",
                               "已完成：80%"},
                      TextCase{"OnlyTheReasonsThatOccurredAreListed",
                               {4, 3, 0, 0, 0, 1},
                               "已导入照片：3/4张",
                               "重复照片：0张",
                               "未导入：1张（存入数据库失败1张）",
                               "已完成：100%"},
                      TextCase{"HugeImportsDoNotOverflow",
                               {30000000, 25000000, 0, 0, 0, 0},
                               "已导入照片：25000000/30000000张",
                               "重复照片：0张",
                               "未导入：0张",
                               "已完成：83%"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImportProgressComplete, IsReachedWhenEveryCountedFileWasHandled) {
    EXPECT_FALSE(ImportProgressComplete({}));
    EXPECT_FALSE(ImportProgressComplete({3, 1, 1, 0, 0, 0}));
    EXPECT_TRUE(ImportProgressComplete({3, 1, 1, 1, 0, 0}));
    EXPECT_TRUE(ImportProgressComplete({3, 2, 0, 0, 1, 0}));
    // A file added to the folder after the count.
    EXPECT_TRUE(ImportProgressComplete({3, 3, 1, 0, 0, 0}));
}

}  // namespace
