#include "catalogue/folder_stamps.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/file_status.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace {

FolderStampList& Stamps() {
    return PhotoCatalogue::Instance().folderStamps;
}

FolderStamp* FindStamp(const std::string& path) {
    auto& list = Stamps();
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const FolderStamp& s) { return s.path == path; });
    return it == list.end() ? nullptr : &*it;
}

// Current time of a folder on disk; a drive root without a time counts as
// written just now.
std::int64_t TimeOnDisk(const std::string& path) {
    std::int64_t time = FolderLastWriteTime(path);
    if (time == 0 && IsDriveRootPath(path)) time = std::time(nullptr);
    return time;
}

std::vector<std::string> CataloguedFolders(sqlite3* db) {
    std::vector<std::string> folders;
    ForEachRow(db, "select distinct strPath from tJpgMsg",
               [&](sqlite3_stmt* row) { folders.push_back(ColumnText(row, 0)); });
    return folders;
}

}  // namespace

void PutFolderStamp(const std::string& path, std::int64_t time) {
    CatalogueSession session;
    if (time == 0) time = TimeOnDisk(path);
    auto& list = Stamps();
    if (time == 0) {
        std::erase_if(list, [&](const FolderStamp& s) { return s.path == path; });
        return;
    }
    if (FolderStamp* stamp = FindStamp(path)) {
        if (stamp->lastWriteTime != time) {
            stamp->lastWriteTime = time;
            stamp->changed = false;
        }
        return;
    }
    list.push_back({path, time, false});
}

void LoadFolderList() {
    CatalogueSession session;
    Stamps().clear();
    if (!session.ok()) return;
    for (const std::string& folder : CataloguedFolders(session.db())) {
        auto text = QueryText(
            session.db(),
            FormatStatement("select ModifyTime from tFolder where strFolderPath = '%s'", folder));
        if (text) PutFolderStamp(folder, ParseInt64Text(*text));
    }
}

void RebuildFolderList() {
    CatalogueSession session;
    Stamps().clear();
    if (!session.ok()) return;
    for (const std::string& folder : CataloguedFolders(session.db())) PutFolderStamp(folder, 0);
}

void WriteFolderTable() {
    CatalogueSession session;
    if (!session.ok() || Stamps().empty()) return;
    ExecuteStatement(session.db(), "delete from tFolder");
    for (const FolderStamp& stamp : Stamps()) {
        ExecuteStatement(
            session.db(),
            FormatStatement("insert into tFolder(strFolderPath ,ModifyTime) values('%s',%lld)",
                            stamp.path, stamp.lastWriteTime));
    }
}

bool AnyFolderChanged() {
    CatalogueSession session;
    if (Stamps().empty()) LoadFolderList();
    bool any = false;
    for (FolderStamp& stamp : Stamps()) {
        if (!stamp.changed) {
            std::int64_t current = TimeOnDisk(stamp.path);
            if (current == 0 || current != stamp.lastWriteTime) stamp.changed = true;
        }
        any = any || stamp.changed;
    }
    return any;
}

void RefreshFolderStamp(const std::string& path) {
    CatalogueSession session;
    FolderStamp* stamp = FindStamp(path);
    if (!session.ok() || !stamp || !stamp->changed) return;
    std::int64_t current = TimeOnDisk(path);
    if (current == stamp->lastWriteTime) return;
    ExecuteStatement(
        session.db(),
        FormatStatement("Update tFolder set ModifyTime = %lld where strFolderPath = '%s'", current,
                        path));
    stamp->lastWriteTime = current;
}
