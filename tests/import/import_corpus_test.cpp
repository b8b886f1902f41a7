// Imports the shared collection of real camera files when it is present:
// every file is either imported or counted as not imported, and nothing
// crashes or hangs, whatever damage the file carries.

#include <filesystem>

#include "catalogue/library_internals.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "import/folder_walk.h"
#include "import/import_workers.h"
#include "import_fixture.h"
#include "photo_corpus.h"

namespace {

std::string One(Library& library, const std::string& statement) {
    CatalogueSession session(library);
    return QueryText(SessionDb(session), statement).value_or("<none>");
}

}  // namespace

TEST_F(ImportTest, TheRealCameraCollectionImportsWithoutCrashing) {
    const std::string corpus = PhotoCorpusFolder();
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no photo collection at " << corpus;

    ASSERT_EQ(RunListImport({corpus}, Job()), ImportEnd::Finished);
    const ImportProgress& progress = progress_;
    EXPECT_GT(progress.total, 0);
    EXPECT_EQ(progress.imported + progress.notImported, progress.total);
    EXPECT_GE(progress.Counts().duplicates, 0);
    // Files that carry a few placeholder bytes as their thumbnail are
    // catalogued with one made from the image.
    EXPECT_EQ(One(library(),
                  "select count(*) from tJpgMsg where strPath like '%/exiftool' and "
                  "szofthumb < 100"),
              "0");
    EXPECT_NE(One(library(), "select count(*) from tJpgMsg where strPath like '%/exiftool'"), "0");

    // The EXIF block and thumbnail of a file cut off in its image data are intact.
    EXPECT_EQ(
        One(library(), "select count(*) from tJpgMsg where strName = 'truncated-DSCN0010.jpg'"),
        "1");
    // A byte copy under another name and folder is the same photo.
    EXPECT_EQ(One(library(),
                  "select count(*) from tReJpgMsg where strName = 'photo.JPEG' or idPic in "
                  "(select idPic from tJpgMsg where strName = 'photo.JPEG')"),
              "1");

    // A second import finds everything already catalogued.
    progress_.Reset();
    RunListImport({corpus}, Job());
    EXPECT_EQ(progress.imported, 0);
}
