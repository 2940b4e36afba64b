// CacheStore: byte records under text keys, in a few tables, kept in one file between runs, with
// changes made in transactions that reach the file whole or not at all.
//
// The store only keeps bytes; what they mean, and whether they can still be trusted, is its
// user's business. A store that fails (a full disk, a damaged file) remembers its first failure
// and from then on finds nothing and keeps nothing, so its user can go on without it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sylva {

enum class CacheTable : int {
    kMeta,         // what the store belongs to
    kSources,      // one small record per source file
    kSourceItems,  // one large record per source file: what scanning it gave
    kPages,        // one record per output file of the project
    kProof,        // what shows that nothing changed since the last run, in a few large records
    kPageLookups,  // one record per description page: the names its building looked up
};
inline constexpr int kCacheTableCount = 6;

class CacheStore {
  public:
    virtual ~CacheStore() = default;

    virtual std::optional<std::string> Get(CacheTable table, std::string_view key) = 0;
    // Calls visit(key, value) for every record of `table`, in no particular order.
    virtual void ForEach(CacheTable table,
                         const std::function<void(std::string_view, std::string_view)>& visit) = 0;
    // Calls visit(key, value, beside) for every record of `table`, in no particular order, where
    // `beside` is the value of the record of `besideTable` with the same key, if there is one:
    // one pass over both, far cheaper than a Get per record.
    virtual void ForEachWith(CacheTable table, CacheTable besideTable,
                             const std::function<void(std::string_view, std::string_view,
                                                      std::optional<std::string_view>)>& visit) = 0;
    virtual void Put(CacheTable table, std::string_view key, std::string_view value) = 0;
    virtual void Erase(CacheTable table, std::string_view key) = 0;
    // Removes every record of `table`.
    virtual void EraseTable(CacheTable table) = 0;
    // Removes every record of every table.
    virtual void EraseAll() = 0;

    // The changes between Begin and Commit reach the file together or not at all; a process
    // killed in between leaves the file as it was before Begin.
    virtual void Begin() = 0;
    virtual void Commit() = 0;

    // The first failure since the store was opened; empty while there was none.
    virtual const std::string& failure() const = 0;
};

struct OpenedStore {
    std::unique_ptr<CacheStore> store;  // null when the file cannot serve as a store
    std::string problem;                // why not
    // True when the file exists but holds no store of ours (garbage, another format): its user
    // may remove it and open anew.
    bool unreadable = false;
};

// Opens the SQLite database at `path`, creating it when it is missing. A symbolic link at `path`
// is never followed. Changes are not flushed to the disk at every commit: a process killed at
// any moment leaves a consistent file, a machine that loses power may leave a damaged one, which
// the next open or read reports as a failure.
OpenedStore OpenSqliteStore(const std::string& path);

}  // namespace sylva
