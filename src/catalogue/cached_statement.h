#pragma once
// Statements prepared once per working connection and bound for each use.
// The library keeps them (StatementCache) until its connection closes or is
// replaced; CachedStatement hands one out for one call, with its values bound
// as parameters, so no value is ever spliced into SQL text. Callers hold a
// CatalogueSession. Internal to this folder (it names sqlite3).

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

class CatalogueSession;

class StatementCache {
  public:
    explicit StatementCache(sqlite3* connection) : connection_(connection) {}
    // Finalizes every statement; the connection can then be closed.
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // The prepared statement of text, reset and without bindings, or null
    // when it cannot be prepared. A statement already handed out (a nested
    // call running the same text) is prepared afresh and finalized on release.
    sqlite3_stmt* Acquire(std::string_view text);
    void Release(sqlite3_stmt* statement);

  private:
    struct Entry {
        sqlite3_stmt* statement;
        bool inUse;
    };
    // Looks texts up without copying them into a std::string first.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    sqlite3* connection_;
    std::unordered_map<std::string, Entry, TextHash, std::equal_to<>> entries_;
};

// One use of a cached statement: binds values from the first parameter on,
// steps, and returns the statement reset to the cache when it goes.
class CachedStatement {
  public:
    CachedStatement(const CatalogueSession& session, std::string_view text);
    ~CachedStatement();
    CachedStatement(const CachedStatement&) = delete;
    CachedStatement& operator=(const CachedStatement&) = delete;

    bool ok() const { return statement_ != nullptr && bound_; }
    sqlite3_stmt* get() const { return statement_; }

    // Binds each value to the next parameter: texts up to their first NUL
    // byte (read in place: they must outlive the step), integers as they
    // are, floats as their six-decimal text, which the real columns turn into
    // the very number a "%f" literal in the statement gave. A float that is
    // not finite has no such literal: the statement then fails (ok() false).
    template <typename... Values>
    CachedStatement& Bind(const Values&... values) {
        (BindOne(values), ...);
        return *this;
    }
    CachedStatement& BindBlob(std::span<const std::uint8_t> bytes);
    CachedStatement& BindNull();

    // sqlite3_step's result; SQLITE_MISUSE after a failed bind.
    int Step();
    // Steps to the end; true when every step succeeded.
    bool Run();

  private:
    template <typename T>
    void BindOne(const T& value) {
        if constexpr (std::is_convertible_v<const T&, std::string_view> &&
                      !std::is_arithmetic_v<T>) {
            BindText(std::string_view(value));
        } else if constexpr (std::is_floating_point_v<T>) {
            BindDecimal(static_cast<double>(value));
        } else {
            static_assert(std::is_integral_v<T>);
            BindInteger(static_cast<std::int64_t>(value));
        }
    }
    void BindText(std::string_view text);
    void BindDecimal(double value);
    void BindInteger(std::int64_t value);
    void Check(int rc);

    StatementCache* cache_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    int next_ = 1;
    bool bound_ = true;
};
