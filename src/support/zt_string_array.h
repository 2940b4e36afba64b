// CZTStringArray: a growable array of byte strings, used for section lines, index rows and
// master index records.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sylva {

class CZTStringArray {
  public:
    int GetSize() const { return static_cast<int>(lines_.size()); }
    bool IsEmpty() const { return lines_.empty(); }
    const std::string& GetAt(int index) const { return lines_[static_cast<std::size_t>(index)]; }
    void SetAt(int index, std::string text) {
        lines_[static_cast<std::size_t>(index)] = std::move(text);
    }
    void RemoveAt(int index) { lines_.erase(lines_.begin() + index); }
    void RemoveAll() { lines_.clear(); }

    // sorted = false appends. sorted = true inserts at the text's place in ascending order
    // (bytewise when caseSensitive, else with ASCII letters folded), after any equal texts, so an
    // array filled only this way stays sorted and equal texts keep their order of addition.
    // Returns the index at which the text now stands.
    int Add(std::string text, bool sorted = false, bool caseSensitive = false);

    // Index of the first element that begins with `key` (prefix = true) or equals it, compared
    // bytewise or with ASCII letters folded (noCase = true); -1 when there is none.
    int Find(std::string_view key, bool prefix = true, bool noCase = false) const;

    const std::vector<std::string>& Lines() const { return lines_; }
    std::vector<std::string>& Lines() { return lines_; }

    auto begin() const { return lines_.begin(); }
    auto end() const { return lines_.end(); }

  private:
    std::vector<std::string> lines_;
};

}  // namespace sylva
