#include "catalogue/catalogue_savepoint.h"

#include <sqlite3.h>

#include "catalogue/library_internals.h"
#include "catalogue/sql_query.h"

namespace {

constexpr const char* kSetSavepoint = "savepoint photo_change";
constexpr const char* kReleaseSavepoint = "release photo_change";
constexpr const char* kRollbackSavepoint = "rollback to photo_change";

}  // namespace

CatalogueSavepoint::CatalogueSavepoint() {
    active_ = session_.ok() && ExecuteStatement(SessionDb(session_), kSetSavepoint) == SQLITE_OK;
}

CatalogueSavepoint::~CatalogueSavepoint() {
    if (!active_) return;
    ExecuteStatement(SessionDb(session_), kRollbackSavepoint);
    ExecuteStatement(SessionDb(session_), kReleaseSavepoint);
}

bool CatalogueSavepoint::Commit() {
    if (!active_) return false;
    if (ExecuteStatement(SessionDb(session_), kReleaseSavepoint) != SQLITE_OK) return false;
    active_ = false;
    return true;
}
