// File names of the project's pages and their form in links.
#include "html/page_names.h"

#include <cstdint>

#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kPageFilePrefix = "SYLVA_";
// Before the label in the name of a group's page, apart from the pages of names.
constexpr std::string_view kGroupPagePrefix = "group_";
constexpr std::string_view kPlainPageTail = ".html";
constexpr std::string_view kNumberedPageTail = "_%s.html";
// Between the kept part of a shortened name and the hash of the whole.
constexpr char kShortenedMark = '-';
constexpr std::size_t kHashDigits = 16;
constexpr std::string_view kPageExtension = ".HTML";
constexpr std::string_view kFrameIndexSuffix = "_frameidx";
constexpr std::string_view kFrameSetSuffix = "_frame";
constexpr std::string_view kHierarchySuffix = "_hierarchy";

bool NeedsEscape(unsigned char byte) {
    return byte > 127 || byte == '&';
}

// FNV-1a over `text`: the same on every machine, so a shortened name is stable across runs.
std::uint64_t StableHash(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (char ch : text) {
        hash ^= static_cast<unsigned char>(ch);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::string HexDigits(std::uint64_t value) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string digits(kHashDigits, '0');
    for (std::size_t i = kHashDigits; i-- > 0; value >>= 4) {
        digits[i] = kHexDigits[value & 0x0F];
    }
    return digits;
}

// "SYLVA_" + `safeName` + `tail`, shortened when it would not fit a file name: then the longest
// prefix of the safe name that fits (cut between UTF-8 characters), a mark and the hash of the
// whole name it stands for. Names that fit keep their bytes exactly.
std::string PageFileOf(std::string_view safeName, std::string_view tail) {
    std::string file(kPageFilePrefix);
    file.append(safeName);
    file.append(tail);
    if (file.size() <= kMaxFileNameBytes) {
        return file;
    }
    const std::string hash = HexDigits(StableHash(file));
    std::size_t room = kMaxFileNameBytes - kPageFilePrefix.size() - 1 - hash.size() - tail.size();
    // A continuation byte (10xxxxxx) would leave half a character behind.
    while (room > 0 && (static_cast<unsigned char>(safeName[room]) & 0xC0) == 0x80) {
        --room;
    }
    std::string shortened(kPageFilePrefix);
    shortened.append(safeName.substr(0, room));
    shortened.push_back(kShortenedMark);
    shortened.append(hash);
    shortened.append(tail);
    return shortened;
}

std::string ProjectPageFile(std::string_view directoryName, std::string_view suffix) {
    std::string file(directoryName);
    file.append(suffix);
    file.append(kPageExtension);
    return file;
}

}  // namespace

std::string SafeFileName(std::string_view name, CommentStyle style) {
    if (style == CommentStyle::kSylva) {
        CZTString safe(name);
        return safe.ReplaceInvalidFilenameChars('_');
    }
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string safe;
    safe.reserve(name.size());
    for (char ch : name) {
        unsigned char byte = static_cast<unsigned char>(ch);
        if (!IsInvalidFilenameChar(byte)) {
            safe.push_back(ch);
        } else {
            safe.push_back('_');
            if (ch != ':') {
                safe.push_back(kHexDigits[byte >> 4]);
                safe.push_back(kHexDigits[byte & 0x0F]);
            }
        }
    }
    return safe;
}

std::string PlainPageFile(std::string_view name, CommentStyle style) {
    return PageFileOf(SafeFileName(name, style), kPlainPageTail);
}

std::string PageFile(const CSylItem& item) {
    std::string safeName;
    if (std::optional<std::string_view> label = GroupLabel(item)) {
        safeName.assign(kGroupPagePrefix).append(SafeFileName(*label, item.style));
    } else {
        safeName = SafeFileName(item.name, item.style);
    }
    if (item.pageNumber < 0) {
        return PageFileOf(safeName, kPlainPageTail);
    }
    return PageFileOf(safeName, FormatLine(kNumberedPageTail, {ThreeDigits(item.pageNumber)}));
}

std::string PagePath(const Project& project, const CSylItem& item) {
    return project.Directory() + "/" + PageFile(item);
}

std::string ProjectIndexFile(std::string_view directoryName) {
    return ProjectPageFile(directoryName, "");
}

std::string FrameIndexFile(std::string_view directoryName) {
    return ProjectPageFile(directoryName, kFrameIndexSuffix);
}

std::string FrameSetFile(std::string_view directoryName) {
    return ProjectPageFile(directoryName, kFrameSetSuffix);
}

std::string HierarchyFile(std::string_view directoryName) {
    return ProjectPageFile(directoryName, kHierarchySuffix);
}

std::string LinkTarget(std::string_view fileName) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string target;
    target.reserve(fileName.size());
    for (char ch : fileName) {
        unsigned char byte = static_cast<unsigned char>(ch);
        if (NeedsEscape(byte)) {
            target.push_back('%');
            target.push_back(kHexDigits[byte >> 4]);
            target.push_back(kHexDigits[byte & 0x0F]);
        } else {
            target.push_back(ch);
        }
    }
    return target;
}

}  // namespace sylva
