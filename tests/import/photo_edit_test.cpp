#include "import/photo_edit.h"

#include <filesystem>

#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "import/add_photo_file.h"
#include "import/photo_refresh.h"
#include "import_fixture.h"
#include "metadata/metadata_reader.h"

namespace {

std::string One(const std::string& statement) {
    CatalogueSession session;
    return QueryText(session.db(), statement).value_or("<none>");
}

class PhotoEditTest : public ImportTest {
  protected:
    std::int64_t Catalogued(const std::string& path) {
        EXPECT_TRUE(AddPhotoFile(path, true));
        return std::stoll(One("select idPic from tJpgMsg"));
    }
};

TEST_F(PhotoEditTest, WritesTheFieldsAndRefreshesTheCatalogueRows) {
    const std::string path = WritePhoto("e.jpg", 1);
    const std::int64_t id = Catalogued(path);
    PhotoEdit edit;
    edit.keywords = "海;山";
    edit.subject = "旅行";
    edit.position = GpsPosition{22.5f, 114.0f, 5};
    const PhotoEditResult result = WritePhotoEdit(path, edit, id, false);
    ASSERT_TRUE(result.Succeeded());
    EXPECT_EQ(result.finalPath, path);
    EXPECT_EQ(result.photoId, id);  // the embedded thumbnail, so the id, is unchanged
    EXPECT_EQ(One("select strXpKeyword||'|'||strXpSubject||'|'||nGPSAlititude from tJpgMsg"),
              "海;山|旅行|5");
    EXPECT_EQ(One("select count(*) from tKeyWord"), "2");
    EXPECT_EQ(PhotoCatalogue::Instance().pendingRegions.size(), 1u);  // no companion: queued
}

TEST_F(PhotoEditTest, ANewNameMovesTheFileAndSetsTheTitle) {
    const std::string path = WritePhoto("old.jpg", 1);
    const std::int64_t id = Catalogued(path);
    PhotoEdit edit;
    edit.newName = "新名字.jpg";
    const PhotoEditResult result = WritePhotoEdit(path, edit, id, false);
    ASSERT_TRUE(result.Succeeded());
    EXPECT_EQ(result.finalPath, photos_.File("新名字.jpg"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(One("select strName||'|'||strXpTitle from tJpgMsg"), "新名字.jpg|新名字.jpg");

    // Occupied names, folder parts and empty names change nothing.
    WritePhoto("other.jpg", 2);
    for (const char* name : {"other.jpg", "sub/x.jpg", ""}) {
        edit.newName = name;
        PhotoEditResult refused = WritePhotoEdit(result.finalPath, edit, 0, false);
        EXPECT_FALSE(refused.Succeeded()) << name;
        EXPECT_TRUE(std::filesystem::exists(result.finalPath));
    }
    edit.newName = "other.jpg";
    EXPECT_EQ(WritePhotoEdit(result.finalPath, edit, 0, false).rewriteFailure,
              RewriteFailure::DestinationOccupied);
}

TEST_F(PhotoEditTest, UnchangedTextsAreNotRewrittenAndAnEmptySubjectIsRefused) {
    TestJpegOptions options;
    options.xpSubject = u"same";
    const std::string path = WritePhoto("s.jpg", 1, options);
    PhotoEdit edit;
    edit.subject = "same";
    edit.comment = "";  // no comment in the file: stays without one
    EXPECT_TRUE(WritePhotoEdit(path, edit, 0, false).Succeeded());
    MetadataReader reader;
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    EXPECT_EQ(reader.Record().szOfComent, 0);

    edit.subject = "";
    const auto before = ReadBytesFile(path);
    EXPECT_EQ(WritePhotoEdit(path, edit, 0, false).outcome, PhotoEditOutcome::InvalidValue);
    EXPECT_EQ(ReadBytesFile(path), before);
}

// More photos than one flush group, with unreadable ones among them: each
// gets its own result, in order, and no temporary file is left.
TEST_F(PhotoEditTest, ABatchWritesEveryReadablePhotoAndReportsEachOne) {
    std::vector<PhotoEditTarget> targets;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "b" + std::to_string(i) + ".jpg";
        if (i % 13 == 5)
            EXPECT_TRUE(WriteBytesFile(photos_.File(name), {0xFF, 0xD8}));
        else
            WritePhoto(name, static_cast<std::uint32_t>(i + 1));
        targets.push_back({photos_.File(name), 0, false});
    }
    const std::int64_t id = Catalogued(targets[0].path);
    targets[0].catalogueId = id;
    PhotoEdit edit;
    edit.keywords = "batch";
    const std::vector<PhotoEditResult> results = WritePhotoEdits(targets, edit);
    ASSERT_EQ(results.size(), targets.size());
    for (int i = 0; i < 40; ++i) {
        const bool broken = i % 13 == 5;
        EXPECT_EQ(results[i].outcome,
                  broken ? PhotoEditOutcome::Unreadable : PhotoEditOutcome::Written)
            << i;
        MetadataReader reader;
        if (!broken && ReadPhotoFile(reader, targets[i].path, false)) {
            EXPECT_STREQ(reader.Record().strXpKeyword, "batch");
        }
    }
    EXPECT_EQ(results[0].photoId, id);
    EXPECT_EQ(One("select strXpKeyword from tJpgMsg"), "batch");
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(photos_.Path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 40u);
}

TEST_F(PhotoEditTest, AFailedRereadKeepsThePhotosRows) {
    const std::string path = WritePhoto("gone.jpg", 1);
    const std::int64_t id = Catalogued(path);
    std::filesystem::remove(path);
    EXPECT_EQ(RefreshPhotoFromFile(path, id, false, false), 0);
    EXPECT_TRUE(PhotoIdExists(id));
    EXPECT_EQ(WritePhotoEdit(path, PhotoEdit{}, id, false).outcome, PhotoEditOutcome::Unreadable);
}

}  // namespace
