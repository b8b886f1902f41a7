#include <filesystem>
#include <fstream>
#include <iterator>

#include "catalogue/catalogue_rebuild.h"
#include "catalogue/catalogue_save.h"
#include "catalogue/deleted_paths.h"
#include "catalogue/keyword_rows.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "catalogue_fixture.h"
#include "database_file.h"

namespace {

std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

int Count(Library& library, const std::string& statement) {
    CatalogueSession session(library);
    return static_cast<int>(QueryInt64(SessionDb(session), statement).value_or(-1));
}

class CatalogueRebuildTest : public CatalogueTest {
  protected:
    // Three main photos (the second one's file missing), a duplicate whose
    // file is missing and one on the deleted list; saved.
    void SetUp() override {
        CatalogueTest::SetUp();
        folder_ = Root() + "/photos";
        std::filesystem::create_directories(folder_);
        for (int id = 1; id <= 3; ++id) {
            PhotoRecord r = MakeRecord(folder_, std::to_string(id) + ".jpg");
            SetField(r.strXpKeyword, "a;b");
            SetField(r.strXpSubject, "trip");
            const std::uint8_t thumbnail[] = {0xFF, 0xD8, static_cast<std::uint8_t>(id)};
            ASSERT_EQ(
                InsertPhotoRow(library(), PhotoRef{id, false}, r, thumbnail, {"省", "市", "区"}),
                InsertResult::Done);
            WriteKeywordRows(library(), id, r);
            if (id != 2) std::ofstream(r.strFullPath) << "jpeg";
        }
        InsertPhotoRow(library(), PhotoRef{4, true}, MakeRecord(folder_, "dup.jpg"), {}, {});
        AddDeletedPath(library(), folder_ + "/removed.jpg");
        ASSERT_EQ(SaveCatalogue(library()), 0);
    }
    std::string folder_;
};

}  // namespace

TEST_F(CatalogueRebuildTest, TheRebuiltFileHoldsExactlyThePhotosWhoseFilesExist) {
    std::atomic<int> copied{0};
    ASSERT_EQ(RebuildCatalogue(library(), StopToken{}, &copied), RebuildResult::Done);
    EXPECT_EQ(copied, 2);
    const std::string file = CatalogueFilePath();
    EXPECT_EQ(QueryFileColumn(file, "select idPic from tJpgMsg order by idPic"),
              (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(CountRowsInFile(file, "tReJpgMsg"), 0);
    EXPECT_EQ(QueryFileColumn(file, "select idPic from tKeyWord order by idPic"),
              (std::vector<std::string>{"1", "1", "3", "3"}));
    EXPECT_EQ(CountRowsInFile(file, "tSubject"), 2);
    EXPECT_EQ(CountRowsInFile(file, "tDelTable"), 1);
    EXPECT_EQ(QueryFileColumn(file, "select strArea1 from tJpgMsg where idPic = 3"),
              std::vector<std::string>{"市"});
    EXPECT_EQ(QueryFileColumn(file, "select length(bJpgThumbData) from tJpgMsg where idPic = 3"),
              std::vector<std::string>{"4"})
        << "the thumbnail with its closing zero byte";
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg"), 2)
        << "the rebuilt database is in use";
}

TEST_F(CatalogueRebuildTest, AFailedWriteLeavesTheCatalogueFileAsItWas) {
    ASSERT_EQ(SaveCatalogue(library()), 0);
    const std::string before = Bytes(CatalogueFilePath());
    // A save file that cannot be created: a folder with something in it.
    std::filesystem::create_directories(SaveFilePath() + "/blocker");
    EXPECT_EQ(RebuildCatalogue(library(), StopToken{}), RebuildResult::SaveFailed);
    EXPECT_EQ(Bytes(CatalogueFilePath()), before);
    EXPECT_TRUE(fresh_.library().Modified()) << "the rebuilt catalogue waits for a save";
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg"), 2);

    std::filesystem::remove_all(SaveFilePath());
    ASSERT_EQ(SaveCatalogue(library()), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 2);
}

TEST_F(CatalogueRebuildTest, AStoppedRebuildChangesNothing) {
    const std::string before = Bytes(CatalogueFilePath());
    StopToken stop;
    stop.RequestStop();
    EXPECT_EQ(RebuildCatalogue(library(), stop), RebuildResult::Failed);
    EXPECT_EQ(Bytes(CatalogueFilePath()), before);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg"), 3)
        << "the deletions were rolled back";
    EXPECT_EQ(Count(library(), "select count(*) from tKeyWord where idPic = 2"), 2);
}
