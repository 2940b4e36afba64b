// What the search index holds of one item: the texts of its page, and the terms they are found
// by, derived where the page is built so that the index's writer only files them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    bool deprecated = false;  // ranked after the items that match as well
};

// How an item holds a term, best first. The runtime ranks a match by it: exact name, a whole
// word or the last part of the name typed in full, name prefix, another part of the name, a
// word of the description, a word of other sections (search.js, Score).
enum class TermLevel : std::uint8_t {
    kFullName = 0,       // the whole name, in lower case
    kWholeNameWord = 1,  // a whole word of the name ("plant" of "CBed::Plant"), or the last part
                         // of its last word ("oid" of "git_oid")
    kNameWord = 2,       // another part of a word of the name ("cbed" of "CBed::Plant")
    kDescriptionWord = 3,
    kOtherWord = 4,
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
    bool deprecated = false;
    std::vector<IndexedTerm> terms;
};

// The terms of the entry's name (the whole name and its words), of its description and of its
// other texts and group. Words that carry no meaning of their own (kStopWords) are left out of
// the texts, never out of the name. A pure function: the page builders call it on their threads.
IndexedEntry IndexSearchEntry(const SearchEntry& entry);

// An indexed entry as bytes, for a later run that does not build the item's page again, and
// back; nothing when the bytes hold no entry (a damaged cache).
std::string EncodeIndexedEntry(const IndexedEntry& entry);
std::optional<IndexedEntry> DecodeIndexedEntry(std::string_view bytes);

// Common English and German words that are not indexed in texts; the runtime drops them from a
// query that holds other words. In byte order.
extern const std::vector<std::string_view> kStopWords;

}  // namespace sylva
