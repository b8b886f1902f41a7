#include "catalogue/upkeep_rows.h"

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/text_codec.h"

namespace {

constexpr const char* kFolderFiles =
    "select strFullPath, strPath, idPic from tJpgMsg where strPath = '%s' order by strPath DESC";
constexpr const char* kAllFiles =
    "select strFullPath,strPath,idPic from tJpgMsg order by strPath DESC";
constexpr const char* kMainFileTime = "select dwMTime from tJpgMsg where strFullPath = '%s'";
constexpr const char* kDuplicateFileTime = "select dwMTime from tReJpgMsg where strFullPath = '%s'";
constexpr const char* kMainIdsOfFile =
    "select idPic from tJpgMsg where strPath = '%s' and strFullPath = '%s'";
constexpr const char* kMainTimesInFolder =
    "select strFullPath, dwMTime from tJpgMsg where strPath = '%s'";
constexpr const char* kDuplicateTimesInFolder =
    "select strFullPath, dwMTime from tReJpgMsg where strPath = '%s'";

}  // namespace

std::optional<std::vector<CataloguedFile>> CataloguedFiles(
    Library& library, const std::optional<std::string>& folder) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    std::vector<CataloguedFile> files;
    const std::string query = folder ? FormatStatement(kFolderFiles, *folder) : kAllFiles;
    bool ok = ForEachRow(SessionDb(session), query, [&](sqlite3_stmt* row) {
        files.push_back(
            {ColumnText(row, 0), ColumnText(row, 1), ParseInt64Text(ColumnText(row, 2))});
    });
    if (!ok) return std::nullopt;
    return files;
}

std::optional<std::int32_t> StoredFileTime(Library& library, const std::string& utf8Path) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    auto stored = static_cast<std::int32_t>(
        QueryInt64(SessionDb(session), FormatStatement(kMainFileTime, utf8Path)).value_or(0));
    if (stored <= 0)
        stored = static_cast<std::int32_t>(
            QueryInt64(SessionDb(session), FormatStatement(kDuplicateFileTime, utf8Path))
                .value_or(0));
    return stored;
}

std::unordered_map<std::string, std::int32_t> StoredFileTimesInFolder(Library& library,
                                                                      const std::string& folder) {
    CatalogueSession session(library);
    std::unordered_map<std::string, std::int32_t> times;
    if (!session.ok()) return times;
    // Duplicates first, so that a main row's positive time wins.
    for (const char* format : {kDuplicateTimesInFolder, kMainTimesInFolder}) {
        ForEachRow(SessionDb(session), FormatStatement(format, folder), [&](sqlite3_stmt* row) {
            const auto time = static_cast<std::int32_t>(sqlite3_column_int64(row, 1));
            if (format == kMainTimesInFolder && time <= 0) return;
            times[ColumnText(row, 0)] = time;
        });
    }
    return times;
}

std::vector<std::int64_t> MainPhotoIdsOfFile(Library& library, const std::string& folder,
                                             const std::string& utf8Path) {
    CatalogueSession session(library);
    std::vector<std::int64_t> ids;
    if (!session.ok()) return ids;
    ForEachRow(SessionDb(session), FormatStatement(kMainIdsOfFile, folder, utf8Path),
               [&](sqlite3_stmt* row) { ids.push_back(sqlite3_column_int64(row, 0)); });
    return ids;
}
