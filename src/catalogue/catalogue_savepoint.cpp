#include "catalogue/catalogue_savepoint.h"

#include <sqlite3.h>

#include "catalogue/library_internals.h"
#include "catalogue/sql_query.h"

namespace {

constexpr const char* kSetSavepoint = "savepoint photo_change";
constexpr const char* kReleaseSavepoint = "release photo_change";
constexpr const char* kRollbackSavepoint = "rollback to photo_change";
constexpr const char* kRollbackTransaction = "rollback transaction";

}  // namespace

CatalogueSavepoint::CatalogueSavepoint(Library& library) : session_(library) {
    if (!session_.ok()) return;
    outermost_ = sqlite3_get_autocommit(SessionDb(session_)) != 0;
    active_ = ExecuteStatement(SessionDb(session_), kSetSavepoint) == SQLITE_OK;
}

CatalogueSavepoint::~CatalogueSavepoint() {
    if (!active_) return;
    // Releasing an outermost savepoint would commit its (emptied)
    // transaction, which would mark the library modified for nothing.
    if (outermost_) {
        ExecuteStatement(SessionDb(session_), kRollbackTransaction);
        return;
    }
    ExecuteStatement(SessionDb(session_), kRollbackSavepoint);
    ExecuteStatement(SessionDb(session_), kReleaseSavepoint);
}

bool CatalogueSavepoint::Commit() {
    if (!active_) return false;
    if (ExecuteStatement(SessionDb(session_), kReleaseSavepoint) != SQLITE_OK) return false;
    active_ = false;
    return true;
}
