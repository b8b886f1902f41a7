#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "importui/import_path_filter.h"

namespace {

class ImportPathFilter : public ::testing::Test {
  protected:
    QString folder() const { return dir_.path(); }
    QTemporaryDir dir_;
};

TEST_F(ImportPathFilter, DropsKeepFoldersAndJpegFilesInOrder) {
    const QStringList dropped{"/photos/a.JPG", folder(), "/photos/b.png", "/photos/c.jpeg",
                              "/photos/notajpg"};
    EXPECT_EQ(AcceptedDropPaths(dropped),
              (QStringList{"/photos/a.JPG", folder(), "/photos/c.jpeg"}));
    EXPECT_TRUE(AcceptedDropPaths({"/photos/a.png"}).isEmpty());
}

TEST_F(ImportPathFilter, PastesAndChosenFilesTakeNoFolders) {
    EXPECT_EQ(AcceptedFilePaths({folder(), "/p/x.Jpeg", "/p/y.jpe"}), QStringList{"/p/x.Jpeg"});
}

TEST_F(ImportPathFilter, PasteIsOfferedForAFolderOrANameEndingInJpg) {
    EXPECT_TRUE(PasteAvailable({"/p/a.png", folder()}));
    EXPECT_TRUE(PasteAvailable({"/p/notajpg"}));
    EXPECT_TRUE(PasteAvailable({"/p/a.JPEG"}));
    EXPECT_FALSE(PasteAvailable({"/p/a.png", "/p/missing-folder"}));
    EXPECT_FALSE(PasteAvailable({}));
}

}  // namespace
