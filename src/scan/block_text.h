// The lines of a documentation block kept in one string, as an item keeps them: each line is
// preceded by its length (seven bits per byte, the high bit set on every byte but the last), so
// that a line may hold any byte, a line feed included.
#pragma once

#include <string>
#include <string_view>

namespace sylva {

inline void AppendBlockLine(std::string& blockText, std::string_view line) {
    std::size_t size = line.size();
    while (size >= 0x80) {
        blockText.push_back(static_cast<char>(0x80 | (size & 0x7F)));
        size >>= 7;
    }
    blockText.push_back(static_cast<char>(size));
    blockText.append(line);
}

// Calls `visit(std::string_view line)` for each line of `blockText`, in order; each view is a
// part of `blockText`. REQUIRES: `blockText` was built by AppendBlockLine.
template <typename Visit>
void ForEachBlockLine(std::string_view blockText, Visit visit) {
    std::size_t at = 0;
    while (at < blockText.size()) {
        std::size_t size = 0;
        int shift = 0;
        unsigned char byte = 0;
        do {
            byte = static_cast<unsigned char>(blockText[at++]);
            size |= static_cast<std::size_t>(byte & 0x7F) << shift;
            shift += 7;
        } while ((byte & 0x80) != 0 && at < blockText.size());
        visit(blockText.substr(at, size));
        at += size;
    }
}

}  // namespace sylva
