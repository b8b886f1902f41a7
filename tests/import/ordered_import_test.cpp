// The import reading ahead on several threads must store exactly what one
// thread reading and storing file after file stores, in the same order.

#include "import/ordered_import.h"

#include <sqlite3.h>

#include <filesystem>
#include <latch>
#include <map>
#include <thread>

#include "catalogue/catalogue_save.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "database_file.h"
#include "import/import_workers.h"
#include "import_fixture.h"

namespace {

// Every row of the photo and caption tables in insertion order, each
// column's type and bytes.
std::vector<std::string> CatalogueRows(Library& library) {
    CatalogueSession session(library);
    std::vector<std::string> rows;
    for (const std::string table : {"tJpgMsg", "tReJpgMsg", "tKeyWord", "tSubject"}) {
        ForEachRow(SessionDb(session), "select * from " + table + " order by rowid",
                   [&](sqlite3_stmt* row) {
                       std::string text = table;
                       for (int c = 0; c < sqlite3_column_count(row); ++c) {
                           const auto* bytes =
                               static_cast<const char*>(sqlite3_column_blob(row, c));
                           text += '|' + std::to_string(sqlite3_column_type(row, c)) + ':';
                           if (bytes) text.append(bytes, std::size_t(sqlite3_column_bytes(row, c)));
                       }
                       rows.push_back(std::move(text));
                   });
    }
    return rows;
}

std::string One(Library& library, const std::string& statement) {
    CatalogueSession session(library);
    return QueryText(SessionDb(session), statement).value_or("<none>");
}

// Holds the import inside the region request of one photo until the test
// has pressed 取消, as a user does while the import runs.
class CancelAtPhoto : public RegionSource {
  public:
    explicit CancelAtPhoto(int photo) : photo_(photo) {}
    std::latch reached{1};
    std::latch cancelled{1};

    bool CompanionAvailable() override { return true; }
    RegionNames RequestNames(double, double, int) override {
        if (++calls_ == photo_) {
            reached.count_down();
            cancelled.wait();
        }
        return {"广东省", "深圳市", "南山区"};
    }

  private:
    const int photo_;
    int calls_ = 0;
};

}  // namespace

class OrderedImportTest : public ImportTest {
  protected:
    // Photos without EXIF, large and small in turn so that reads on several
    // threads finish out of order; camera files with keywords; one photo in
    // three folders (the middle copy the newest); damaged files.
    std::vector<std::string> MixedFiles() {
        std::vector<std::string> files;
        auto plain = [&](int i) {
            TestJpegOptions o;
            o.withExif = false;
            o.width = i % 3 == 0 ? 1600 : 64;
            o.height = i % 3 == 0 ? 1200 : 48;
            o.seed = 100 + std::uint32_t(i);
            const std::string path = photos_.File("plain/" + std::to_string(i) + ".jpg");
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
            EXPECT_TRUE(WriteTestJpeg(path, o));
            files.push_back(path);
        };
        auto camera = [&](int i) {
            TestJpegOptions o;
            o.xpKeywords = u"家人;travel" + std::u16string(1, u'0' + char16_t(i % 10));
            files.push_back(WritePhoto("camera/" + std::to_string(i) + ".jpg", 200 + i, o));
        };
        auto copyOfP = [&](const std::string& name, std::int64_t time) {
            const std::string copy = photos_.File(name);
            std::filesystem::create_directories(std::filesystem::path(copy).parent_path());
            std::filesystem::copy_file(photos_.File("a/p.jpg"), copy);
            SetModified(copy, time);
            files.push_back(copy);
        };
        auto damaged = [&](const std::string& name, std::vector<std::uint8_t> bytes) {
            EXPECT_TRUE(WriteBytesFile(photos_.File(name), bytes));
            files.push_back(photos_.File(name));
        };

        for (int i = 0; i < 8; ++i) plain(i);
        SetModified(WritePhoto("a/p.jpg", 1), 1500000000);
        files.push_back(photos_.File("a/p.jpg"));
        damaged("empty.jpg", {});
        for (int i = 0; i < 4; ++i) camera(i);
        for (int i = 8; i < 14; ++i) plain(i);
        copyOfP("b/p.jpg", 1600000000);
        damaged("text.jpg", {'h', 'e', 'l', 'l', 'o'});
        std::vector<std::uint8_t> cut = ReadBytesFile(files[0]);
        cut.resize(cut.size() / 2);  // a large photo cut inside its image data
        damaged("cut-scan.jpg", cut);
        cut.resize(40);  // cut inside its header
        damaged("cut-head.jpg", cut);
        for (int i = 14; i < 20; ++i) plain(i);
        copyOfP("c/p.jpg", 1400000000);
        for (int i = 4; i < 8; ++i) camera(i);
        return files;
    }

    // The files in order on one thread, StorePhotoFile after StorePhotoFile.
    std::map<StoreOutcome, int> StoreOneByOne(const std::vector<std::string>& files) {
        std::map<StoreOutcome, int> outcomes;
        BeginTransaction(library());
        for (const std::string& file : files)
            ++outcomes[StorePhotoFile(library(), file, true, Regions())];
        CommitTransaction(library());
        return outcomes;
    }

    void ImportPooled(const std::vector<std::string>& files, int workers) {
        BeginTransaction(library());
        int imported = 0;
        {
            OrderedImport import(library(), imported, progress_, Regions(), workers);
            for (const std::string& file : files) import.Add(file);
            import.Finish();
        }
        CommitTransaction(library());
    }
};

TEST_F(OrderedImportTest, ReadingAheadStoresTheSameRowsInTheSameOrderAsOneThreadDoes) {
    const std::vector<std::string> files = MixedFiles();
    ImportPooled(files, 4);
    const std::vector<std::string> pooledRows = CatalogueRows(library());
    const ImportCounts counts = progress_.Counts();
    EXPECT_EQ(One(library(), "select strFullPath from tJpgMsg where strName = 'p.jpg'"),
              photos_.File("b/p.jpg"))
        << "the newest copy keeps the main row";
    EXPECT_EQ(One(library(), "select group_concat(strFullPath) from tReJpgMsg"),
              photos_.File("a/p.jpg"));

    ASSERT_TRUE(ClearCatalogue(library()));
    std::map<StoreOutcome, int> oneByOne = StoreOneByOne(files);
    EXPECT_EQ(pooledRows, CatalogueRows(library()));
    EXPECT_EQ(counts.imported, oneByOne[StoreOutcome::Imported]);
    EXPECT_EQ(counts.duplicates, oneByOne[StoreOutcome::Duplicate]);
    EXPECT_EQ(counts.thirdCopies, oneByOne[StoreOutcome::ThirdCopy]);
    EXPECT_EQ(counts.unreadable, oneByOne[StoreOutcome::Unreadable]);
    EXPECT_EQ(counts.failed, 0);
    EXPECT_EQ(counts.imported + counts.NotImported(), int(files.size()));
    EXPECT_EQ(counts.thirdCopies, 1) << "c/p.jpg";
    EXPECT_EQ(counts.unreadable, 3) << "empty, text and cut-head; a cut scan still decodes";
}

// 取消 while the writer stores photo 30 of 60: what was stored stays and is
// saved, the reads ahead are dropped uncounted, and a second import takes
// exactly the rest.
TEST_F(OrderedImportTest, ACancelDuringAPooledImportKeepsWhatWasStoredAndTheRestImportsLater) {
    for (int i = 0; i < 60; ++i) {
        TestJpegOptions o;
        o.latitudeRef = "N";
        o.latitude = TestDms{{{22, 1}, {32, 1}, {0, 1}}};
        o.longitudeRef = "E";
        o.longitude = TestDms{{{113, 1}, {56, 1}, {0, 1}}};
        o.xpKeywords = u"家人";
        WritePhoto("p" + std::to_string(i) + ".jpg", 3000 + std::uint32_t(i), o);
    }
    CancelAtPhoto source(30);
    source_ = &source;
    ImportEnd end = ImportEnd::Empty;
    std::thread worker([&] { end = RunFolderImport(photos_.Path(), Job()); });
    source.reached.wait();
    progress_.stop.RequestStop();
    source.cancelled.count_down();
    worker.join();

    EXPECT_EQ(end, ImportEnd::Finished);
    EXPECT_EQ(progress_.imported, 30);
    EXPECT_EQ(progress_.notImported, 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 30);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tKeyWord"), 30);
    EXPECT_EQ(One(library(), "select count(*) from tJpgMsg where strArea2 = '南山区'"), "30");

    source_ = nullptr;
    progress_.Reset();
    EXPECT_EQ(RunFolderImport(photos_.Path(), Job()), ImportEnd::Finished);
    EXPECT_EQ(progress_.imported, 30);
    EXPECT_EQ(progress_.Counts().duplicates, 30) << "the photos stored before the cancel";
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 60);
    EXPECT_EQ(One(library(), "select count(*) from tReJpgMsg"), "0");
}
