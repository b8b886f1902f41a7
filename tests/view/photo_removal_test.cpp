#include "view/photo_removal.h"

#include <fstream>

#include "catalogue/photo_rows.h"
#include "view/verero_view.h"
#include "view_catalogue_fixture.h"

namespace {

class PhotoRemovalTest : public ViewCatalogueTest {
  protected:
    // Photos 1..3 whose files exist under the test folder; the trash lives
    // there too, never in the user's own.
    void SetUp() override {
        ViewCatalogueTest::SetUp();
        qputenv("XDG_DATA_HOME", (root_ / "share").string().c_str());
        const std::vector<std::uint8_t> thumbnail = JpegOf(SolidPicture(16, 12, 200, 10, 10));
        for (int id = 1; id <= 3; ++id) {
            const std::string name = "p" + std::to_string(id) + ".jpg";
            PhotoRecord record = Record(name, 64, 48);
            const std::string path = (root_ / name).string();
            SetField(record.strFullPath, path);
            std::ofstream(path) << "photo " << id;
            Insert(id, record, thumbnail);
        }
        view_.ResetPhotoList(3);
        for (int id = 1; id <= 3; ++id) view_.Photos().Append(PhotoRef{id, false});
        view_.Photos().currentIndex = 2;
    }
    std::string PathOf(int id) const {
        return (root_ / ("p" + std::to_string(id) + ".jpg")).string();
    }

    CVereroView view_;
};

}  // namespace

TEST_F(PhotoRemovalTest, RemovesThePhotoFromCatalogueAndListAndKeepsTheFileWhenAsked) {
    view_.Selection().list.Toggle(PhotoRef{2, false});
    ASSERT_TRUE(view_.RemovePhotoAt(1, false));
    EXPECT_FALSE(PhotoIdExists(2));
    EXPECT_TRUE(PhotoIdExists(3));
    EXPECT_TRUE(std::filesystem::exists(PathOf(2)));
    ASSERT_EQ(view_.Photos().Count(), 2);
    EXPECT_EQ(view_.Photos().Entry(1).idPic, 3);
    EXPECT_EQ(view_.Photos().currentIndex, 1);  // still photo 3
    EXPECT_FALSE(view_.Selection().list.Contains(PhotoRef{2, false}));
    EXPECT_FALSE(view_.RemovePhotoAt(5, false));
}

TEST_F(PhotoRemovalTest, DeletingFromDiskMovesTheFileToTheTrash) {
    ASSERT_TRUE(view_.RemovePhotoAt(0, true));
    EXPECT_FALSE(std::filesystem::exists(PathOf(1)));
    EXPECT_FALSE(PhotoIdExists(1));
    // Wherever the volume keeps its trash, the file is in it, not gone.
    bool trashed = false;
    for (const auto& trash :
         {root_ / "share" / "Trash" / "files",
          root_.root_path() / "tmp" / (".Trash-" + std::to_string(::getuid())) / "files"}) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(trash, error))
            trashed = trashed || entry.path().filename().string().rfind("p1", 0) == 0;
    }
    EXPECT_TRUE(trashed);
    EXPECT_EQ(view_.Photos().Count(), 2);
}

TEST(DiscardPhotoFile, ReportsAFileThatIsNotThere) {
    EXPECT_EQ(DiscardPhotoFile("/nonexistent/dz-no-such-photo.jpg"), PhotoFileDisposal::Failed);
}
