#include "import/photo_edit.h"

#include <filesystem>

#include "catalogue/folder_stamps.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "import/add_photo_file.h"
#include "import/photo_refresh.h"
#include "import/track_apply_worker.h"
#include "import_fixture.h"
#include "metadata/metadata_reader.h"
#include "platform/native_path.h"

namespace {

std::string One(Library& library, const std::string& statement) {
    CatalogueSession session(library);
    return QueryText(SessionDb(session), statement).value_or("<none>");
}

class PhotoEditTest : public ImportTest {
  protected:
    std::int64_t Catalogued(const std::string& path) {
        EXPECT_TRUE(AddPhotoFile(library(), path, true, Regions()));
        return std::stoll(One(library(), "select idPic from tJpgMsg"));
    }
};

TEST_F(PhotoEditTest, WritesTheFieldsAndRefreshesTheCatalogueRows) {
    const std::string path = WritePhoto("e.jpg", 1);
    const std::int64_t id = Catalogued(path);
    PhotoEdit edit;
    edit.keywords = "海;山";
    edit.subject = "旅行";
    edit.position = GpsPosition{22.5f, 114.0f, 5};
    const PhotoEditResult result =
        WritePhotoEdit(library(), path, edit, PhotoRef{id, false}, Regions());
    ASSERT_TRUE(result.Succeeded());
    EXPECT_EQ(result.finalPath, path);
    EXPECT_EQ(result.photoId, id);  // the embedded thumbnail, so the id, is unchanged
    EXPECT_EQ(
        One(library(), "select strXpKeyword||'|'||strXpSubject||'|'||nGPSAlititude from tJpgMsg"),
        "海;山|旅行|5");
    EXPECT_EQ(One(library(), "select count(*) from tKeyWord"), "2");
    EXPECT_EQ(fresh_.library().PendingRegions().Size(), 1u);  // no companion: queued
}

TEST_F(PhotoEditTest, ANewNameMovesTheFileAndSetsTheTitle) {
    const std::string path = WritePhoto("old.jpg", 1);
    const std::int64_t id = Catalogued(path);
    PhotoEdit edit;
    edit.newName = "新名字.jpg";
    const PhotoEditResult result =
        WritePhotoEdit(library(), path, edit, PhotoRef{id, false}, Regions());
    ASSERT_TRUE(result.Succeeded());
    EXPECT_EQ(result.finalPath, photos_.File("新名字.jpg"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(One(library(), "select strName||'|'||strXpTitle from tJpgMsg"),
              "新名字.jpg|新名字.jpg");

    // Occupied names, folder parts and empty names change nothing.
    WritePhoto("other.jpg", 2);
    for (const char* name : {"other.jpg", "sub/x.jpg", ""}) {
        edit.newName = name;
        PhotoEditResult refused =
            WritePhotoEdit(library(), result.finalPath, edit, PhotoRef{}, Regions());
        EXPECT_FALSE(refused.Succeeded()) << name;
        EXPECT_TRUE(std::filesystem::exists(result.finalPath));
    }
    edit.newName = "other.jpg";
    EXPECT_EQ(
        WritePhotoEdit(library(), result.finalPath, edit, PhotoRef{}, Regions()).rewriteFailure,
        RewriteFailure::DestinationOccupied);
}

TEST_F(PhotoEditTest, UnchangedTextsAreNotRewrittenAndAnEmptySubjectIsRefused) {
    TestJpegOptions options;
    options.xpSubject = u"same";
    const std::string path = WritePhoto("s.jpg", 1, options);
    PhotoEdit edit;
    edit.subject = "same";
    edit.comment = "";  // no comment in the file: stays without one
    EXPECT_TRUE(WritePhotoEdit(library(), path, edit, PhotoRef{}, Regions()).Succeeded());
    MetadataReader reader;
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    EXPECT_EQ(reader.Record().szOfComent, 0);

    edit.subject = "";
    const auto before = ReadBytesFile(path);
    EXPECT_EQ(WritePhotoEdit(library(), path, edit, PhotoRef{}, Regions()).outcome,
              PhotoEditOutcome::InvalidValue);
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
    targets[0].catalogued = PhotoRef{id, false};
    PhotoEdit edit;
    edit.keywords = "batch";
    const std::vector<PhotoEditResult> results =
        WritePhotoEdits(library(), targets, edit, Regions());
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
    EXPECT_EQ(One(library(), "select strXpKeyword from tJpgMsg"), "batch");
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(photos_.Path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 40u);
}

// A pair of copies of one photo (same id): the newer in tJpgMsg, the older
// in tReJpgMsg. An edit of either refreshes that copy's own row, and the
// keyword rows stay those of the main copy.
TEST_F(PhotoEditTest, EditingEitherCopyOfADuplicatePairRefreshesItsOwnRow) {
    const auto [older, newer] = PhotoAndCopy(1500000000, 1600000000);
    AddPhotoFile(library(), newer, true, Regions());
    const std::int64_t id = std::stoll(One(library(), "select idPic from tJpgMsg"));
    ASSERT_EQ(One(library(), "select strFullPath from tReJpgMsg"), older);

    const struct {
        const std::string& path;
        bool duplicate;
        const char* keywords;
    } edits[] = {{older, true, "副本"}, {newer, false, "主"}};
    for (const auto& e : edits) {
        PhotoEdit edit;
        edit.keywords = e.keywords;
        const PhotoEditResult result =
            WritePhotoEdit(library(), e.path, edit, PhotoRef{id, e.duplicate}, Regions());
        EXPECT_EQ(result.outcome, PhotoEditOutcome::Written) << e.path;
        EXPECT_EQ(result.photoId, id);
    }
    EXPECT_EQ(One(library(), "select strFullPath||'|'||strXpKeyword from tReJpgMsg"),
              older + "|副本");
    EXPECT_EQ(One(library(), "select strFullPath||'|'||strXpKeyword from tJpgMsg"), newer + "|主");
    EXPECT_EQ(One(library(), "select group_concat(strKeyword) from tKeyWord"), "主");
}

// A file whose rows were stored under another id (its thumbnail changed)
// goes where an import would put it: beside the main row of its id.
TEST_F(PhotoEditTest, ARefreshUnderANewIdJoinsTheMainRowOfThatId) {
    const auto [first, copy] = PhotoAndCopy(1500000000, 1400000000);
    const std::int64_t id = std::stoll(One(library(), "select idPic from tJpgMsg"));
    PhotoRecord stale = RecordOf(std::string(FolderOfPath(copy)), "p.jpg");
    ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{4711, false}, stale, {}, {}), InsertResult::Done);
    EXPECT_EQ(RefreshPhotoFromFile(library(), copy, PhotoRef{4711, false}, false, Regions()), id);
    EXPECT_EQ(
        One(library(), "select strFullPath from tReJpgMsg where idPic = " + std::to_string(id)),
        copy);
    EXPECT_EQ(One(library(), "select strFullPath from tJpgMsg where idPic = " + std::to_string(id)),
              first);
    EXPECT_FALSE(PhotoIdExists(library(), 4711));
}

// Whoever writes a photo, the folder's new time is stored, so that the next
// start finds no change of the library.
TEST_F(PhotoEditTest, AWrittenPhotoLeavesTheLibraryUnchangedForTheNextStart) {
    const std::string path = WritePhoto("f/p.jpg", 1);
    const std::string folder = photos_.Path() + "/f";
    ASSERT_TRUE(SetFileLastWriteTime(folder, 1500000000));
    const std::int64_t id = Catalogued(path);
    RebuildFolderList(library());
    WriteFolderTable(library());

    // The track workflow writes only the file and the position columns.
    const StopToken never;
    const TrackApplyResult result =
        RunTrackApply({{id, 0, 22.5, 114.0, 0}}, {library(),
                                                  RoutedPhotoWriter(library(), Regions()),
                                                  library().PendingRegions(),
                                                  never,
                                                  {}});
    ASSERT_EQ(result.applied, 1);
    ForgetFolderList(library());  // as a new start finds it
    EXPECT_FALSE(AnyFolderChanged(library()));

    // Also for a file that is not catalogued, beside catalogued ones.
    const std::string other = WritePhoto("f/q.jpg", 2);
    ASSERT_TRUE(SetFileLastWriteTime(folder, 1500000000));
    RebuildFolderList(library());
    WriteFolderTable(library());
    PhotoEdit edit;
    edit.author = "me";
    ASSERT_TRUE(WritePhotoEdit(library(), other, edit, PhotoRef{}, Regions()).Succeeded());
    ForgetFolderList(library());
    EXPECT_FALSE(AnyFolderChanged(library()));
}

TEST_F(PhotoEditTest, AFailedRereadKeepsThePhotosRows) {
    const std::string path = WritePhoto("gone.jpg", 1);
    const std::int64_t id = Catalogued(path);
    std::filesystem::remove(path);
    EXPECT_EQ(RefreshPhotoFromFile(library(), path, PhotoRef{id, false}, false, Regions()), 0);
    EXPECT_TRUE(PhotoIdExists(library(), id));
    EXPECT_EQ(WritePhotoEdit(library(), path, PhotoEdit{}, PhotoRef{id, false}, Regions()).outcome,
              PhotoEditOutcome::Unreadable);
}

}  // namespace
