#include "catalogue/cached_statement.h"

#include <cmath>

#include "catalogue/library_internals.h"
#include "platform/c_locale_numbers.h"

StatementCache::~StatementCache() {
    for (auto& [text, entry] : entries_) sqlite3_finalize(entry.statement);
}

sqlite3_stmt* StatementCache::Acquire(std::string_view text) {
    auto found = entries_.find(text);
    if (found != entries_.end() && !found->second.inUse) {
        found->second.inUse = true;
        return found->second.statement;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(connection_, text.data(), static_cast<int>(text.size()),
                           SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    if (found == entries_.end()) entries_.emplace(std::string(text), Entry{statement, true});
    return statement;
}

void StatementCache::Release(sqlite3_stmt* statement) {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    for (auto& [text, entry] : entries_) {
        if (entry.statement == statement) {
            entry.inUse = false;
            return;
        }
    }
    sqlite3_finalize(statement);  // a second copy made for a nested use
}

CachedStatement::CachedStatement(const CatalogueSession& session, std::string_view text) {
    if (!session.ok()) return;
    cache_ = &LibraryInternals::Statements(session);
    statement_ = cache_->Acquire(text);
}

CachedStatement::~CachedStatement() {
    if (statement_) cache_->Release(statement_);
}

void CachedStatement::Check(int rc) {
    if (rc != SQLITE_OK) bound_ = false;
    ++next_;
}

void CachedStatement::BindText(std::string_view text) {
    if (!statement_) return;
    text = text.substr(0, text.find('\0'));
    Check(sqlite3_bind_text64(statement_, next_, text.data(), text.size(), SQLITE_STATIC,
                              SQLITE_UTF8));
}

void CachedStatement::BindDecimal(double value) {
    if (!statement_) return;
    if (!std::isfinite(value)) {
        bound_ = false;
        ++next_;
        return;
    }
    const std::string text = FixedText(value, 6);
    Check(sqlite3_bind_text64(statement_, next_, text.data(), text.size(), SQLITE_TRANSIENT,
                              SQLITE_UTF8));
}

void CachedStatement::BindInteger(std::int64_t value) {
    if (!statement_) return;
    Check(sqlite3_bind_int64(statement_, next_, value));
}

CachedStatement& CachedStatement::BindBlob(std::span<const std::uint8_t> bytes) {
    if (!statement_) return *this;
    Check(sqlite3_bind_blob64(statement_, next_, bytes.data(), bytes.size(), SQLITE_STATIC));
    return *this;
}

CachedStatement& CachedStatement::BindNull() {
    if (!statement_) return *this;
    Check(sqlite3_bind_null(statement_, next_));
    return *this;
}

int CachedStatement::Step() {
    if (!ok()) return SQLITE_MISUSE;
    return sqlite3_step(statement_);
}

bool CachedStatement::Run() {
    int rc;
    while ((rc = Step()) == SQLITE_ROW) {
    }
    return rc == SQLITE_DONE;
}
