// The search index of a project: the script files through which the search runtime finds items by
// their names and by the words of their pages, offline, from file:// as well as from a server.
//
// Each file is a script that hands its data to the runtime's global SylvaSearch, so a browser
// loads it with a <script> element and needs no fetch. A query loads only a small part of the
// index:
//   sylva_search_index.js      the manifest: item count, block size, the shard keys, stop words
//   sylva_search_w_<key>.js    a shard: the terms beginning with <key> (the first two characters
//                              of a term, more where a shard would outgrow kShardBudget), each
//                              with its postings (the items that hold it, and how)
//   sylva_search_i_<n>.js      block n of the item table: name, page, group, type and summary of
//                              kItemBlockSize items, loaded only for the results shown
// plus the runtime itself (sylva_search.js, sylva_search.css).
//
// Entries are added in item order and numbered from 0. The files depend on nothing but the
// entries and their order, so the same entries give the same bytes on every run. The writer
// hands each block of the item table on as soon as it is full, and keeps of an entry only its
// terms' postings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "support/status.h"

namespace sylva {

// What the index holds of one item. Texts are bytes as the page holds them.
struct SearchEntry {
    std::string name;         // the item's name as its page shows it
    std::string page;         // its page file, as links to it are written
    std::string group;        // its group
    std::string type;         // its kind, e.g. "Public Constructor"
    std::string summary;      // the first sentence of its description, plain text
    std::string description;  // plain text of its Description section
    std::string other;        // plain text of the other sections that are searched
};

// How an item holds a term, best first. The runtime ranks a match by it: exact name, name
// prefix (both kFullName), word of the name, word of the description, word of other sections.
enum class TermLevel : std::uint8_t {
    kFullName = 0,  // the whole name, in lower case
    kNameWord = 1,
    kDescriptionWord = 2,
    kOtherWord = 3,
};

// A term of an entry: its text, its std::hash (taken where the entry is derived, so that the
// thread that adds entries to the index need not), and the best level at which the entry holds it.
struct IndexedTerm {
    std::string text;
    std::size_t hash;
    TermLevel level;
};

// An entry as the index keeps it: its row of the item table in UTF-8, and its terms, each once.
struct IndexedEntry {
    std::string name;
    std::string page;
    std::string group;
    std::string type;
    std::string summary;
    std::vector<IndexedTerm> terms;
};

// The terms of the entry's name (the whole name and its words), of its description and of its
// other texts and group. Words that carry no meaning of their own (kStopWords) are left out of
// the texts, never out of the name. A pure function: the page builders call it on their threads.
IndexedEntry IndexSearchEntry(const SearchEntry& entry);

// Common English and German words that are not indexed in texts; the runtime drops them from a
// query that holds other words. In byte order.
extern const std::vector<std::string_view> kStopWords;

inline constexpr std::size_t kItemBlockSize = 64;
// A shard that would hold more bytes is split by the next character of its terms.
inline constexpr std::size_t kShardBudget = 512 * 1024;

inline constexpr std::string_view kSearchScriptFile = "sylva_search.js";
inline constexpr std::string_view kSearchStyleFile = "sylva_search.css";
inline constexpr std::string_view kSearchManifestFile = "sylva_search_index.js";

class SearchIndexWriter {
  public:
    using FileWriter = std::function<Status(const std::string& name, std::string_view content)>;

    // Hands every file of the index, the runtime's included, to `writeFile` by name (a file name
    // in the project directory). After a failure it writes nothing more.
    explicit SearchIndexWriter(FileWriter writeFile) : writeFile_(std::move(writeFile)) {}

    // Numbers the entry with the next item number and adds it to the item table and its terms'
    // postings. REQUIRES: entries come in item order; Finish was not called.
    void Add(IndexedEntry entry);
    std::size_t Count() const { return count_; }

    // Writes the files that need every entry: the runtime, the manifest, the shards and the last
    // block of the item table. Returns the first failure of any file, or Ok.
    Status Finish();

  private:
    struct Postings {
        std::string encoded;  // see AppendPosting in the .cpp
        std::uint32_t lastItem = 0;
    };
    struct TermKey {
        std::string text;
        std::size_t hash;
        bool operator==(const TermKey& other) const {
            return hash == other.hash && text == other.text;
        }
    };
    struct TermKeyHash {
        std::size_t operator()(const TermKey& key) const { return key.hash; }
    };
    struct Shard {
        std::string key;
        std::size_t begin;  // a range of the sorted terms
        std::size_t end;
    };
    using Term = std::pair<const TermKey, Postings>;

    void CloseBlock();
    void Write(const std::string& name, std::string_view content);
    void Partition(const std::vector<const Term*>& terms, std::size_t begin, std::size_t end,
                   std::size_t keyLength, std::vector<Shard>& shards,
                   std::vector<std::string>& splitKeys) const;

    FileWriter writeFile_;
    Status status_;
    std::size_t count_ = 0;
    std::unordered_map<TermKey, Postings, TermKeyHash> postings_;
    // The block of the item table being filled: its rows, and the group and type texts they
    // refer to by number.
    std::string blockRows_;
    std::vector<std::string> blockTexts_;
};

}  // namespace sylva
