#include "catalogue/folder_stamps.h"

#include <algorithm>
#include <ctime>
#include <optional>
#include <unordered_map>
#include <vector>

#include "catalogue/folder_volumes.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/file_status.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace {

constexpr const char* kSelectFolderTimes = "select strFolderPath, ModifyTime from tFolder";
constexpr const char* kSelectFolderRows =
    "select strFolderPath, ModifyTime from tFolder order by rowid";
constexpr const char* kSelectFolderTime =
    "select ModifyTime from tFolder where strFolderPath = '%s'";

// The folder list of the session's library; the session holds its lock.
FolderStampList& Stamps(const CatalogueSession& session) {
    return LibraryInternals::FolderStamps(LibraryInternals::Owner(session));
}

FolderStamp* FindStamp(const CatalogueSession& session, const std::string& path) {
    auto& list = Stamps(session);
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

// tFolder holds exactly the list's rows, in its order, as WriteFolderTable
// writes them (the path as text, the time as an integer).
bool TableHoldsList(sqlite3* db, const FolderStampList& list) {
    std::size_t next = 0;
    bool same = true;
    const bool read = ForEachRow(db, kSelectFolderRows, [&](sqlite3_stmt* row) {
        if (!same) return;
        same = next < list.size() && sqlite3_column_type(row, 0) == SQLITE_TEXT &&
               sqlite3_column_type(row, 1) == SQLITE_INTEGER &&
               ColumnText(row, 0) == list[next].path &&
               sqlite3_column_int64(row, 1) == list[next].lastWriteTime;
        ++next;
    });
    return read && same && next == list.size();
}

}  // namespace

void PutFolderStamp(Library& library, const std::string& path, std::int64_t time) {
    CatalogueSession session(library);
    if (time == 0) time = TimeOnDisk(path);
    auto& list = Stamps(session);
    if (time == 0) {
        std::erase_if(list, [&](const FolderStamp& s) { return s.path == path; });
        return;
    }
    if (FolderStamp* stamp = FindStamp(session, path)) {
        if (stamp->lastWriteTime != time) {
            stamp->lastWriteTime = time;
            stamp->changed = false;
        }
        return;
    }
    list.push_back({path, time, false});
}

void LoadFolderList(Library& library) {
    CatalogueSession session(library);
    Stamps(session).clear();
    if (!session.ok()) return;
    // tFolder has no index: read it once rather than once per folder.
    std::unordered_map<std::string, std::int64_t> stored;
    ForEachRow(SessionDb(session), kSelectFolderTimes, [&](sqlite3_stmt* row) {
        stored.emplace(ColumnText(row, 0), ParseInt64Text(ColumnText(row, 1)));
    });
    const std::vector<std::string> folders = CataloguedFolders(SessionDb(session));
    for (const std::string& folder : folders) {
        auto time = stored.find(folder);
        if (time == stored.end()) continue;
        // The folders are distinct, so a stored time needs no look-up in the list.
        if (time->second != 0)
            Stamps(session).push_back({folder, time->second, false});
        else
            PutFolderStamp(library, folder, 0);
    }
    // Also at start-up, so that a catalogue from before volumes were recorded
    // learns them while they are plugged in.
    RememberFolderVolumes(folders, LibraryInternals::MountTables(session));
}

void RebuildFolderList(Library& library) {
    CatalogueSession session(library);
    FolderStampList previous;
    previous.swap(Stamps(session));
    if (!session.ok()) return;
    const std::vector<std::string> folders = CataloguedFolders(SessionDb(session));
    RememberFolderVolumes(folders, LibraryInternals::MountTables(session));
    const VolumeCheck volumes(LibraryInternals::MountTables(session));
    for (const std::string& folder : folders) {
        if (!volumes.IsOffline(folder)) {
            // Distinct folders: no look-up in the list (a folder gone has no time).
            if (std::int64_t time = TimeOnDisk(folder))
                Stamps(session).push_back({folder, time, false});
            continue;
        }
        // An offline folder keeps the time it had, so that changes made on
        // the volume meanwhile are found once it is back.
        auto old = std::find_if(previous.begin(), previous.end(),
                                [&](const FolderStamp& s) { return s.path == folder; });
        std::optional<std::string> stored;
        if (old == previous.end())
            stored = QueryText(SessionDb(session), FormatStatement(kSelectFolderTime, folder));
        std::int64_t time =
            old != previous.end() ? old->lastWriteTime : (stored ? ParseInt64Text(*stored) : 0);
        if (time != 0) Stamps(session).push_back({folder, time, false});
    }
}

void WriteFolderTable(Library& library) {
    CatalogueSession session(library);
    if (!session.ok() || Stamps(session).empty()) return;
    // An unchanged list leaves the table, and so the catalogue, unmodified.
    if (TableHoldsList(SessionDb(session), Stamps(session))) return;
    ExecuteStatement(SessionDb(session), "delete from tFolder");
    for (const FolderStamp& stamp : Stamps(session)) {
        ExecuteStatement(
            SessionDb(session),
            FormatStatement("insert into tFolder(strFolderPath ,ModifyTime) values('%s',%lld)",
                            stamp.path, stamp.lastWriteTime));
    }
}

bool AnyFolderChanged(Library& library) {
    CatalogueSession session(library);
    if (Stamps(session).empty()) LoadFolderList(library);
    // Read only when a folder looks changed: most checks find none.
    std::optional<VolumeCheck> volumes;
    bool any = false;
    for (FolderStamp& stamp : Stamps(session)) {
        bool changed = stamp.changed;
        if (!changed) {
            std::int64_t current = TimeOnDisk(stamp.path);
            changed = current == 0 || current != stamp.lastWriteTime;
        }
        if (changed) {
            // A folder on an unplugged volume is offline, not changed.
            if (!volumes) volumes.emplace(LibraryInternals::MountTables(session));
            changed = !volumes->IsOffline(stamp.path);
        }
        stamp.changed = changed;
        any = any || changed;
    }
    return any;
}

std::vector<std::string> ListedFolders(Library& library) {
    CatalogueSession session(library);
    if (Stamps(session).empty()) LoadFolderList(library);
    std::vector<std::string> folders;
    folders.reserve(Stamps(session).size());
    for (const FolderStamp& stamp : Stamps(session)) folders.push_back(stamp.path);
    return folders;
}

FolderStampList FolderStamps(Library& library) {
    CatalogueSession session(library);
    return Stamps(session);
}

std::optional<std::vector<std::string>> ChangedFolders(Library& library) {
    CatalogueSession session(library);
    if (Stamps(session).empty()) LoadFolderList(library);
    if (Stamps(session).empty()) return std::nullopt;
    AnyFolderChanged(library);
    std::vector<std::string> changed;
    for (const FolderStamp& stamp : Stamps(session))
        if (stamp.changed) changed.push_back(stamp.path);
    return changed;
}

void ClearFolderMark(Library& library, const std::string& folder) {
    CatalogueSession session(library);
    for (FolderStamp& stamp : Stamps(session))
        if (stamp.path == folder) stamp.changed = false;
}

void ForgetFolderList(Library& library) {
    CatalogueSession session(library);
    Stamps(session).clear();
}

void RefreshFolderStamp(Library& library, const std::string& path) {
    CatalogueSession session(library);
    if (!session.ok()) return;
    if (Stamps(session).empty()) LoadFolderList(library);
    FolderStamp* stamp = FindStamp(session, path);
    if (!stamp) return;
    const std::int64_t current = TimeOnDisk(path);
    if (current == 0 || current == stamp->lastWriteTime) return;
    // Marked as a check would mark it: another program may have changed the
    // folder before this rewrite, and the update of this session still
    // re-reads it.
    stamp->changed = true;
    ExecuteStatement(
        SessionDb(session),
        FormatStatement("Update tFolder set ModifyTime = %lld where strFolderPath = '%s'", current,
                        path));
    stamp->lastWriteTime = current;
}
