#include <gtest/gtest.h>

#include "importui/import_progress_texts.h"

namespace {

TEST(ImportProgressTexts, StartWithoutAPercentage) {
    const ImportProgressTexts texts = InitialImportProgressTexts();
    EXPECT_EQ(texts.importedLine, QStringLiteral("已导入照片：0/0张"));
    EXPECT_EQ(texts.duplicateLine, QStringLiteral("重复照片：0张"));
    EXPECT_EQ(texts.doneLine, QStringLiteral("已完成："));
}

TEST(ImportProgressTexts, ShowZeroPercentWhenNothingWasCounted) {
    const ImportProgressTexts texts = MakeImportProgressTexts(0, 0, 0);
    EXPECT_EQ(texts.importedLine, QStringLiteral("已导入照片：0/0张"));
    EXPECT_EQ(texts.duplicateLine, QStringLiteral("重复照片：0张"));
    EXPECT_EQ(texts.doneLine, QStringLiteral("已完成：0%"));
}

TEST(ImportProgressTexts, CountDuplicatesAsDoneAndTruncateThePercentage) {
    const ImportProgressTexts texts = MakeImportProgressTexts(7, 2, 1);
    EXPECT_EQ(texts.importedLine, QStringLiteral("已导入照片：2/7张"));
    EXPECT_EQ(texts.duplicateLine, QStringLiteral("重复照片：1张"));
    EXPECT_EQ(texts.doneLine, QStringLiteral("已完成：42%"));
}

TEST(ImportProgressTexts, DoNotOverflowForHugeImports) {
    EXPECT_EQ(MakeImportProgressTexts(30000000, 25000000, 0).doneLine,
              QStringLiteral("已完成：83%"));
}

TEST(ImportProgressComplete, IsReachedWhenEveryCountedFileWasHandled) {
    EXPECT_FALSE(ImportProgressComplete(0, 0, 0));
    EXPECT_FALSE(ImportProgressComplete(3, 1, 1));
    EXPECT_TRUE(ImportProgressComplete(3, 2, 1));
    // A file added to the folder after the count.
    EXPECT_TRUE(ImportProgressComplete(3, 3, 1));
}

}  // namespace
