#include "catalogue/tag_row_ids.h"

#include "catalogue/cached_statement.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"

namespace {

// The column keeps tKeyWord's integer affinity, so that it compares
// exactly as the deletes below do. A trigger's body may not qualify the
// table it writes; a temporary trigger finds the temporary table first.
constexpr const char* kCreate =
    "create temp table if not exists tagged_photo(idPic integer, unique(idPic));"
    "insert or ignore into temp.tagged_photo select idPic from main.tKeyWord;"
    "insert or ignore into temp.tagged_photo select idPic from main.tSubject;"
    "create temp trigger if not exists tagged_keyword after insert on main.tKeyWord begin "
    "insert or ignore into tagged_photo values(new.idPic); end;"
    "create temp trigger if not exists tagged_subject after insert on main.tSubject begin "
    "insert or ignore into tagged_photo values(new.idPic); end;";
constexpr const char* kLookup = "select 1 from temp.tagged_photo where idPic = ?";
constexpr const char* kDeleteSubjects = "delete from tSubject where idPic = ?";
constexpr const char* kDeleteKeywords = "delete from tKeyWord where idPic = ?";

// The temporary database stays in memory, beside the working database.
constexpr const char* kTempInMemory = "pragma temp_store=memory";

enum class Lookup { Absent, Present, Unknown };

Lookup LookUp(const CatalogueSession& session, std::int64_t id) {
    CachedStatement lookup(session, kLookup);
    if (!lookup.ok()) return Lookup::Unknown;  // no table yet
    switch (lookup.Bind(id).Step()) {
        case SQLITE_ROW:
            return Lookup::Present;
        case SQLITE_DONE:
            return Lookup::Absent;
        default:
            // The table went with a rolled-back transaction that made it.
            return Lookup::Unknown;
    }
}

// All or nothing: a table filled half-way would say "absent" wrongly.
bool CreateIdTable(sqlite3* db) {
    ExecuteStatement(db, kTempInMemory);  // refused inside a transaction: harmless
    if (ExecuteStatement(db, "savepoint tag_row_ids") != SQLITE_OK) return false;
    const bool created = ExecuteStatement(db, kCreate) == SQLITE_OK;
    if (!created) ExecuteStatement(db, "rollback to tag_row_ids");
    return ExecuteStatement(db, "release tag_row_ids") == SQLITE_OK && created;
}

bool MayHaveTagRows(const CatalogueSession& session, std::int64_t id) {
    Lookup found = LookUp(session, id);
    if (found == Lookup::Unknown) {
        if (!CreateIdTable(SessionDb(session))) return true;
        found = LookUp(session, id);
    }
    return found != Lookup::Absent;
}

}  // namespace

void DeleteTagRows(const CatalogueSession& session, std::int64_t id) {
    if (!MayHaveTagRows(session, id)) return;
    CachedStatement(session, kDeleteSubjects).Bind(id).Run();
    CachedStatement(session, kDeleteKeywords).Bind(id).Run();
}
