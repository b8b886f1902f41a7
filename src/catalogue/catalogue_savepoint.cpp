#include "catalogue/catalogue_savepoint.h"

#include <sqlite3.h>

#include "catalogue/sql_query.h"

namespace {

constexpr const char* kSetSavepoint = "savepoint photo_change";
constexpr const char* kReleaseSavepoint = "release photo_change";
constexpr const char* kRollbackSavepoint = "rollback to photo_change";

}  // namespace

CatalogueSavepoint::CatalogueSavepoint() {
    active_ = session_.ok() && ExecuteStatement(session_.db(), kSetSavepoint) == SQLITE_OK;
}

CatalogueSavepoint::~CatalogueSavepoint() {
    if (!active_) return;
    ExecuteStatement(session_.db(), kRollbackSavepoint);
    ExecuteStatement(session_.db(), kReleaseSavepoint);
}

bool CatalogueSavepoint::Commit() {
    if (!active_) return false;
    if (ExecuteStatement(session_.db(), kReleaseSavepoint) != SQLITE_OK) return false;
    active_ = false;
    return true;
}
