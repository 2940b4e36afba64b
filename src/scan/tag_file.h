// Names other sites document, read from their tag files: each name with the address of its page
// there, for names the project does not document itself. A tag file lists compounds (classes,
// namespaces, files, groups, pages) with their page and members with theirs; the addresses are
// the file's location joined with those pages.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sylva {

// The tag file at `path` and where its pages are: a folder relative to the project's pages or a
// web address. Read from "file=location", as the list setting and a Doxyfile write them.
struct TagFileSource {
    std::string path;
    std::string location;
};
// The entries of `list` ("file=location"); an entry without "=" has an empty location.
std::vector<TagFileSource> ParseTagFileSources(std::string_view list);

// True iff `address`, with character references decoded and blanks and control bytes removed
// as a browser removes them, starts with a scheme that runs code or hides content when followed:
// javascript:, vbscript: or data: (any case).
bool IsUnsafeAddress(std::string_view address);

// The names of every tag file read, each with its address.
class ExternalNames {
  public:
    // The address of `name`, or null. A name of several tag files has the address of the first.
    const std::string* Find(std::string_view name) const;
    std::size_t size() const { return addresses_.size(); }
    bool empty() const { return addresses_.empty(); }
    // Adds the names of `other` that this does not hold yet.
    void Merge(ExternalNames&& other);
    // Adds `name` unless it is held already.
    void Add(std::string name, std::string address);
    // Every name and address, sorted by name: what a run's pages may link to.
    std::vector<std::pair<std::string, std::string>> Sorted() const;

  private:
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>()(text);
        }
    };
    std::unordered_map<std::string, std::string, Hash, std::equal_to<>> addresses_;
};

// Why a tag file was not taken, and where.
struct TagFileProblem {
    int line = 1;  // the first for the file as a whole
    std::string text;
};

// What one tag file gave.
struct TagFileRead {
    ExternalNames names;
    // Set when the file was not taken: its names are then empty.
    std::optional<TagFileProblem> problem;
    // How many entries were left out for an unsafe address (IsUnsafeAddress).
    int unsafe = 0;
};

// The most entries one tag file may give: a bound far above the standard library's (some 8,000)
// that keeps a hostile file from filling memory with names.
inline constexpr std::size_t kMaxTagFileEntries = 4'000'000;

// Reads a tag file from `in`, each address `location` joined with the page the file names.
TagFileRead ReadTagFile(std::istream& in, std::string_view location);

}  // namespace sylva
