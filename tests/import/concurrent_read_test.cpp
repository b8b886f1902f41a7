#include <sqlite3.h>

#include <atomic>
#include <latch>
#include <map>
#include <thread>

#include "catalogue/library_internals.h"
#include "catalogue/photo_id.h"
#include "catalogue/sql_query.h"
#include "import/import_workers.h"
#include "import/photo_refresh.h"
#include "import_fixture.h"

namespace {

// A photo whose title is its file name and whose thumbnail, hence id, is
// known beforehand.
struct KnownPhoto {
    std::string path;
    std::int64_t id = 0;
};

}  // namespace

// A refresh reading a file while the import reads another must never hand
// one of them the other's record, thumbnail or id.
TEST_F(ImportTest, AnImportAndAPhotoRefreshOnTwoThreadsEachStoreTheirOwnFiles) {
    std::map<std::string, std::int64_t> idByName;
    auto write = [&](const std::string& folder, int index, std::uint32_t seed) {
        const std::string name = folder + std::to_string(index) + ".jpg";
        TestJpegOptions o;
        o.xpTitle = std::u16string(name.begin(), name.end());
        o.thumbnailBytes = MakePlainJpeg(20, 15, seed);
        idByName[name] = ComputePhotoId(o.thumbnailBytes.data(), o.thumbnailBytes.size());
        return KnownPhoto{WritePhoto(folder + "/" + name, seed, o), idByName[name]};
    };
    std::vector<KnownPhoto> refreshed;
    for (int i = 0; i < 6; ++i) {
        refreshed.push_back(write("edited", i, 500 + i));
        ASSERT_TRUE(AddPhotoFile(library(), refreshed.back().path, true, Regions()));
    }
    for (int i = 0; i < 150; ++i) write("new", i, 600 + i);

    std::latch start(2);
    std::atomic<bool> importDone{false};
    std::atomic<int> refreshFailures{0};
    std::thread refresher([&] {
        start.arrive_and_wait();
        do {
            for (const KnownPhoto& photo : refreshed)
                if (RefreshPhotoFromFile(library(), photo.path, PhotoRef{photo.id, false}, false,
                                         Regions()) != photo.id)
                    ++refreshFailures;
        } while (!importDone);
    });
    start.arrive_and_wait();
    const ImportEnd end = RunFolderImport(photos_.File("new"), Job());
    importDone = true;
    refresher.join();

    EXPECT_EQ(end, ImportEnd::Finished);
    EXPECT_EQ(progress_.imported, 150);
    EXPECT_EQ(refreshFailures, 0);
    CatalogueSession session(library());
    std::map<std::string, std::int64_t> stored;
    ForEachRow(SessionDb(session), "select strName, strXpTitle, idPic from tJpgMsg",
               [&](sqlite3_stmt* row) {
                   const std::string name = ColumnText(row, 0);
                   EXPECT_EQ(ColumnText(row, 1), name) << "the title of another file";
                   stored[name] = sqlite3_column_int64(row, 2);
               });
    EXPECT_EQ(stored, idByName);
    EXPECT_EQ(QueryInt64(SessionDb(session), "select count(*) from tReJpgMsg"), 0);
}
