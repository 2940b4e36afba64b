// The search index of a project: the script files through which the search runtime finds items by
// their names and by the words of their pages, offline, from file:// as well as from a server.
//
// Each file is a script that hands its data to the runtime's global SylvaSearch, so a browser
// loads it with a <script> element and needs no fetch. A query loads only a small part of the
// index:
//   sylva_search_index.js      the manifest: item count, block size, the shard keys, stop words,
//                              the deprecated items
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
#include <utility>
#include <vector>

#include "html/search_entry.h"
#include "html/term_table.h"
#include "support/status.h"

namespace sylva {

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
    struct Shard {
        std::string key;
        std::size_t begin;  // a range of the sorted terms
        std::size_t end;
    };
    using Term = TermTable::Term;

    void CloseBlock();
    std::vector<const Term*> SortedTerms() const;
    void Write(const std::string& name, std::string_view content);
    void Partition(const std::vector<const Term*>& terms, std::size_t begin, std::size_t end,
                   std::size_t keyLength, std::vector<Shard>& shards,
                   std::vector<std::string>& splitKeys) const;

    FileWriter writeFile_;
    Status status_;
    std::size_t count_ = 0;
    TermTable terms_;
    // The block of the item table being filled: its rows, and the group and type texts they
    // refer to by number.
    std::string blockRows_;
    std::vector<std::string> blockTexts_;
    // The numbers of the deprecated items, in order: the manifest names them, so that the
    // runtime ranks them last among equal matches without loading the item table.
    std::vector<std::uint32_t> deprecated_;
};

}  // namespace sylva
