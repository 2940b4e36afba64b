// The cache store in an SQLite database: one table of (key, value) per CacheTable.
#include <sqlite3.h>

#include <array>
#include <string>

#include "support/cache_store.h"

namespace sylva {

namespace {

constexpr std::array<const char*, kCacheTableCount> kTableNames = {
    "meta", "sources", "source_items", "pages", "proof", "page_lookups"};
// Another run of the same project never waits here (runs of a project take turns before they
// open its store), but a reader of the file might.
constexpr int kBusyMilliseconds = 10000;

enum Statement { kGet, kAll, kPut, kErase, kEraseAll, kStatementCount };

std::string StatementText(Statement statement, const char* table) {
    const std::string name(table);
    switch (statement) {
        case kGet:
            return "SELECT v FROM " + name + " WHERE k = ?1";
        case kAll:
            return "SELECT k, v FROM " + name;
        case kPut:
            return "INSERT OR REPLACE INTO " + name + " (k, v) VALUES (?1, ?2)";
        case kErase:
            return "DELETE FROM " + name + " WHERE k = ?1";
        case kEraseAll:
        case kStatementCount:
            break;
    }
    return "DELETE FROM " + name;
}

const char* NameOf(CacheTable table) {
    return kTableNames[static_cast<std::size_t>(table)];
}

std::string_view ColumnBytes(sqlite3_stmt* statement, int column) {
    const void* data = sqlite3_column_blob(statement, column);
    const int size = sqlite3_column_bytes(statement, column);
    return data == nullptr
               ? std::string_view()
               : std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size));
}

class SqliteStore : public CacheStore {
  public:
    explicit SqliteStore(sqlite3* db) : db_(db) {}
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;
    ~SqliteStore() override {
        if (inTransaction_) {
            Execute("ROLLBACK");
        }
        for (auto& table : statements_) {
            for (sqlite3_stmt* statement : table) {
                sqlite3_finalize(statement);
            }
        }
        sqlite3_close(db_);
    }

    // Sets the file's mode of working and makes the tables; false, with failure() set, when the
    // file holds no database.
    bool Prepare() {
        Execute("PRAGMA synchronous = OFF");
        Execute("PRAGMA journal_mode = DELETE");
        for (const char* table : kTableNames) {
            Execute("CREATE TABLE IF NOT EXISTS " + std::string(table) +
                    " (k BLOB PRIMARY KEY, v BLOB NOT NULL)");
        }
        return failure_.empty();
    }

    std::optional<std::string> Get(CacheTable table, std::string_view key) override {
        sqlite3_stmt* statement = Use(table, kGet);
        if (statement == nullptr || !Bind(statement, 1, key)) {
            return std::nullopt;
        }
        std::optional<std::string> value;
        int step = sqlite3_step(statement);
        if (step == SQLITE_ROW) {
            value.emplace(ColumnBytes(statement, 0));
        } else if (step != SQLITE_DONE) {
            Fail();
        }
        sqlite3_reset(statement);
        return value;
    }

    void ForEach(CacheTable table,
                 const std::function<void(std::string_view, std::string_view)>& visit) override {
        sqlite3_stmt* statement = Use(table, kAll);
        if (statement == nullptr) {
            return;
        }
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            visit(ColumnBytes(statement, 0), ColumnBytes(statement, 1));
        }
        if (step != SQLITE_DONE) {
            Fail();
        }
        sqlite3_reset(statement);
    }

    void ForEachWith(CacheTable table, CacheTable besideTable,
                     const std::function<void(std::string_view, std::string_view,
                                              std::optional<std::string_view>)>& visit) override {
        if (!failure_.empty()) {
            return;
        }
        const std::string sql = "SELECT t.k, t.v, b.v FROM " + std::string(NameOf(table)) +
                                " AS t LEFT JOIN " + std::string(NameOf(besideTable)) +
                                " AS b ON b.k = t.k";
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
            Fail();
            sqlite3_finalize(statement);
            return;
        }
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
            std::optional<std::string_view> beside;
            if (sqlite3_column_type(statement, 2) != SQLITE_NULL) {
                beside = ColumnBytes(statement, 2);
            }
            visit(ColumnBytes(statement, 0), ColumnBytes(statement, 1), beside);
        }
        if (step != SQLITE_DONE) {
            Fail();
        }
        sqlite3_finalize(statement);
    }

    void Put(CacheTable table, std::string_view key, std::string_view value) override {
        sqlite3_stmt* statement = Use(table, kPut);
        if (statement != nullptr && Bind(statement, 1, key) && Bind(statement, 2, value)) {
            Step(statement);
        }
    }

    void Erase(CacheTable table, std::string_view key) override {
        sqlite3_stmt* statement = Use(table, kErase);
        if (statement != nullptr && Bind(statement, 1, key)) {
            Step(statement);
        }
    }

    void EraseTable(CacheTable table) override {
        if (sqlite3_stmt* statement = Use(table, kEraseAll)) {
            Step(statement);
        }
    }

    void EraseAll() override {
        for (int table = 0; table < kCacheTableCount; ++table) {
            EraseTable(static_cast<CacheTable>(table));
        }
    }

    void Begin() override { inTransaction_ = Execute("BEGIN IMMEDIATE"); }

    void Commit() override {
        if (!inTransaction_) {
            return;
        }
        inTransaction_ = false;
        if (!failure_.empty() || !Execute("COMMIT")) {
            Execute("ROLLBACK");
        }
    }

    const std::string& failure() const override { return failure_; }

  private:
    bool Execute(const std::string& sql) {
        if (!failure_.empty() && sql != "ROLLBACK") {
            return false;
        }
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            Fail();
            return false;
        }
        return true;
    }

    sqlite3_stmt* Use(CacheTable table, Statement kind) {
        if (!failure_.empty()) {
            return nullptr;
        }
        sqlite3_stmt*& statement = statements_[static_cast<std::size_t>(table)][kind];
        if (statement == nullptr) {
            const std::string sql = StatementText(kind, NameOf(table));
            if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
                Fail();
                return nullptr;
            }
        }
        return statement;
    }

    bool Bind(sqlite3_stmt* statement, int index, std::string_view bytes) {
        // A zero-length blob must not be bound as NULL: the column refuses NULL.
        static const char kEmpty = 0;
        if (sqlite3_bind_blob64(statement, index, bytes.empty() ? &kEmpty : bytes.data(),
                                bytes.size(), SQLITE_STATIC) != SQLITE_OK) {
            Fail();
            sqlite3_reset(statement);
            return false;
        }
        return true;
    }

    void Step(sqlite3_stmt* statement) {
        if (sqlite3_step(statement) != SQLITE_DONE) {
            Fail();
        }
        sqlite3_reset(statement);
    }

    void Fail() {
        if (failure_.empty()) {
            failure_ = sqlite3_errmsg(db_);
            if (failure_.empty()) {
                failure_ = "unknown failure";
            }
        }
    }

    sqlite3* db_;
    std::array<std::array<sqlite3_stmt*, kStatementCount>, kCacheTableCount> statements_{};
    bool inTransaction_ = false;
    std::string failure_;
};

}  // namespace

OpenedStore OpenSqliteStore(const std::string& path) {
    OpenedStore opened;
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOFOLLOW;
    const int result = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (result != SQLITE_OK) {
        opened.problem = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(result);
        sqlite3_close(db);
        return opened;
    }
    sqlite3_busy_timeout(db, kBusyMilliseconds);
    auto store = std::make_unique<SqliteStore>(db);
    if (!store->Prepare()) {
        opened.problem = store->failure();
        const int code = sqlite3_extended_errcode(db) & 0xFF;
        opened.unreadable = code == SQLITE_NOTADB || code == SQLITE_CORRUPT;
        return opened;
    }
    opened.store = std::move(store);
    return opened;
}

}  // namespace sylva
