#include "scan/tag_file.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "support/setting_table.h"
#include "support/text_format.h"
#include "support/xml_reader.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kNotTagFile = "the root element is not <tagfile>";
constexpr std::string_view kTooManyEntries = "more names than a tag file may give";
constexpr std::string_view kUnsafeLocation = "its location uses a scheme that runs code: %s";
constexpr std::string_view kRootElement = "tagfile";
constexpr std::string_view kScope = "::";

// The compounds whose members are named inside them ("std::vector::at"); the members of the
// others (files, groups, pages) are named alone.
constexpr std::array<std::string_view, 5> kScopeKinds = {"class", "struct", "union", "namespace",
                                                         "concept"};
constexpr std::array<std::string_view, 4> kOtherKinds = {"file", "group", "page", "interface"};

constexpr std::array<std::string_view, 3> kUnsafeSchemes = {"javascript:", "vbscript:", "data:"};

int HexDigit(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    const char lower = static_cast<char>(ch | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// The texts of one compound or member as its elements give them.
struct Entry {
    std::string name;
    std::string file;
    std::string anchor;
};

// The byte a numeric character reference at address[at] ("&#106;", "&#x6A;") stands for, '?'
// past ASCII, and where the reference ends (its ";" is optional, as browsers read it); nothing
// when no numeric reference stands there.
std::optional<std::pair<char, std::size_t>> NumericReference(std::string_view address,
                                                             std::size_t at) {
    if (!address.substr(at).starts_with("&#")) {
        return std::nullopt;
    }
    std::size_t end = at + 2;
    const bool hex = end < address.size() && (address[end] == 'x' || address[end] == 'X');
    end += hex ? 1 : 0;
    unsigned long code = 0;
    for (; end < address.size(); ++end) {
        const int digit = HexDigit(address[end]);
        if (digit < 0 || (!hex && digit > 9)) {
            break;
        }
        code = std::min(code * (hex ? 16 : 10) + static_cast<unsigned long>(digit), 0x80UL);
    }
    if (end < address.size() && address[end] == ';') {
        ++end;
    }
    return std::pair(code < 0x80 ? static_cast<char>(code) : '?', end);
}

// `address` as a browser sees its scheme: numeric references decoded, blanks and control bytes
// (which browsers drop from an address) removed, letters in lower case. Named references cannot
// spell a letter of a scheme.
std::string DecodedForScheme(std::string_view address) {
    std::string decoded;
    for (std::size_t at = 0; at < address.size();) {
        char ch = address[at];
        if (std::optional<std::pair<char, std::size_t>> reference = NumericReference(address, at)) {
            ch = reference->first;
            at = reference->second;
        } else {
            ++at;
        }
        const auto byte = static_cast<unsigned char>(ch);
        if (byte > ' ' && byte != 0x7F) {
            decoded.push_back(static_cast<char>(std::tolower(byte)));
        }
    }
    return decoded;
}

std::string Trimmed(std::string_view text) {
    return std::string(TrimRightView(TrimLeftView(text, " \t\r\n"), " \t\r\n"));
}

// `location` joined with `file` and `anchor`: "location/file#anchor".
std::string JoinedAddress(std::string_view location, const std::string& file,
                          const std::string& anchor) {
    std::string address(location);
    if (!address.empty() && !address.ends_with('/')) {
        address.push_back('/');
    }
    address.append(file);
    if (!anchor.empty()) {
        address.append("#").append(anchor);
    }
    return address;
}

// True iff the last part of the page `file` has an extension ("cpp/io.html", not "cpp/io").
bool HasExtension(std::string_view file) {
    const std::size_t slash = file.rfind('/');
    return file.find('.', slash == std::string_view::npos ? 0 : slash + 1) !=
           std::string_view::npos;
}

// How a tag file's pages relate to the compound names it gives them: some name a compound's page
// without the folder and the extension its members' pages have (cppreference's tag file for its
// local copy gives "cpp/container/vector" beside "en/cpp/container/vector/at.html"; older tag
// files "classfoo" beside "classfoo.html").
struct PageConvention {
    std::string prefix;
    std::string extension;
};

// The convention the page `member` of a member shows for its compound's page `file`: `member`
// holds `file` as whole path parts, followed by "/" or ".".
std::optional<PageConvention> ConventionOf(std::string_view file, std::string_view member) {
    for (std::size_t at = member.find(file); at != std::string_view::npos;
         at = member.find(file, at + 1)) {
        const std::size_t end = at + file.size();
        if ((at == 0 || member[at - 1] == '/') && end < member.size() &&
            (member[end] == '/' || member[end] == '.')) {
            const std::size_t slash = member.rfind('/');
            const std::size_t dot = member.rfind('.');
            const bool extension =
                dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
            return PageConvention{std::string(member.substr(0, at)),
                                  extension ? std::string(member.substr(dot)) : std::string()};
        }
    }
    return std::nullopt;
}

// Reads the compounds of a tag file in order; calls back at the end of each with it and its
// members.
class TagFileParser {
  public:
    TagFileParser(std::istream& in, std::string_view location, TagFileRead& read)
        : xml_(in), location_(location), read_(read) {}

    std::optional<TagFileProblem> Parse() {
        for (;;) {
            switch (xml_.Next()) {
                case XmlReader::Event::kError:
                    return TagFileProblem{xml_.line(), xml_.error()};
                case XmlReader::Event::kDone:
                    AddWaiting();
                    return std::nullopt;
                case XmlReader::Event::kText:
                    if (collecting_ != nullptr) {
                        collecting_->append(xml_.text());
                    }
                    break;
                case XmlReader::Event::kStart:
                    if (!Started()) {
                        return TagFileProblem{xml_.line(), std::string(kNotTagFile)};
                    }
                    break;
                case XmlReader::Event::kEnd:
                    collecting_ = nullptr;
                    if (!Ended()) {
                        return TagFileProblem{xml_.line(), std::string(kTooManyEntries)};
                    }
                    break;
            }
        }
    }

  private:
    // False when the root element is no tag file.
    bool Started() {
        collecting_ = nullptr;
        const int depth = xml_.depth();
        const std::string& name = xml_.name();
        if (depth <= 1) {
            return name == kRootElement;
        }
        if (depth == 2 && name == "compound") {
            const std::string* kind = xml_.Attribute("kind");
            const std::string_view shown = kind != nullptr ? *kind : std::string_view();
            inScope_ =
                std::find(kScopeKinds.begin(), kScopeKinds.end(), shown) != kScopeKinds.end();
            inCompound_ = inScope_ || std::find(kOtherKinds.begin(), kOtherKinds.end(), shown) !=
                                          kOtherKinds.end();
            compound_ = {};
            members_.clear();
        } else if (depth == 3 && inCompound_ && name == "member") {
            members_.emplace_back();
        } else if (depth == 3 && inCompound_) {
            collecting_ = name == "name"       ? &compound_.name
                          : name == "filename" ? &compound_.file
                                               : nullptr;
        } else if (depth == 4 && inCompound_ && !members_.empty()) {
            Entry& member = members_.back();
            collecting_ = name == "name"         ? &member.name
                          : name == "anchorfile" ? &member.file
                          : name == "anchor"     ? &member.anchor
                                                 : nullptr;
        }
        return true;
    }

    // At the end of an element; false when the file gave too many names.
    bool Ended() {
        if (xml_.depth() != 1 || xml_.name() != "compound" || !inCompound_) {
            return true;
        }
        inCompound_ = false;
        const std::string scope = Trimmed(compound_.name);
        const std::string page = Trimmed(compound_.file);
        if (!page.empty() && !HasExtension(page)) {
            for (auto member = members_.begin(); !convention_ && member != members_.end();
                 ++member) {
                convention_ = ConventionOf(page, Trimmed(member->file));
            }
        }
        if (!scope.empty() && !page.empty()) {
            if (HasExtension(page) || convention_) {
                Add(scope, WithConvention(page), "");
            } else {
                waiting_.emplace_back(scope, page);
            }
        }
        for (const Entry& member : members_) {
            const std::string name = Trimmed(member.name);
            const std::string file = Trimmed(member.file);
            if (name.empty() || file.empty()) {
                continue;
            }
            Add(inScope_ && !scope.empty() ? scope + std::string(kScope) + name : name, file,
                Trimmed(member.anchor));
        }
        members_.clear();
        return read_.names.size() + waiting_.size() <= kMaxTagFileEntries;
    }

    std::string WithConvention(const std::string& page) const {
        return HasExtension(page) || !convention_
                   ? page
                   : convention_->prefix + page + convention_->extension;
    }

    // The compounds whose pages wait for a convention, with it if the file showed one by its end.
    void AddWaiting() {
        for (const auto& [name, page] : waiting_) {
            Add(name, WithConvention(page), "");
        }
        waiting_.clear();
    }

    void Add(std::string name, const std::string& file, const std::string& anchor) {
        std::string address = JoinedAddress(location_, file, anchor);
        if (IsUnsafeAddress(address)) {
            ++read_.unsafe;
            return;
        }
        read_.names.Add(std::move(name), std::move(address));
    }

    XmlReader xml_;
    std::string_view location_;
    TagFileRead& read_;
    Entry compound_;
    std::vector<Entry> members_;
    std::string* collecting_ = nullptr;
    // Learnt from the first compound whose page lacks an extension and whose member shows one;
    // the compounds before it wait in `waiting_`, by name and page.
    std::optional<PageConvention> convention_;
    std::vector<std::pair<std::string, std::string>> waiting_;
    bool inCompound_ = false;
    bool inScope_ = false;
};

}  // namespace

std::vector<TagFileSource> ParseTagFileSources(std::string_view list) {
    std::vector<TagFileSource> sources;
    for (const std::string& entry : SplitSettingList(list)) {
        const std::size_t equals = entry.find('=');
        sources.push_back(
            {Trimmed(std::string_view(entry).substr(0, equals)),
             equals == std::string::npos ? std::string() : Trimmed(entry.substr(equals + 1))});
    }
    return sources;
}

bool IsUnsafeAddress(std::string_view address) {
    const std::string decoded = DecodedForScheme(address);
    return std::any_of(kUnsafeSchemes.begin(), kUnsafeSchemes.end(),
                       [&decoded](std::string_view scheme) { return decoded.starts_with(scheme); });
}

const std::string* ExternalNames::Find(std::string_view name) const {
    auto found = addresses_.find(name);
    return found == addresses_.end() ? nullptr : &found->second;
}

void ExternalNames::Merge(ExternalNames&& other) {
    for (auto& [name, address] : other.addresses_) {
        addresses_.try_emplace(name, std::move(address));
    }
}

void ExternalNames::Add(std::string name, std::string address) {
    addresses_.try_emplace(std::move(name), std::move(address));
}

std::vector<std::pair<std::string, std::string>> ExternalNames::Sorted() const {
    std::vector<std::pair<std::string, std::string>> sorted(addresses_.begin(), addresses_.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

TagFileRead ReadTagFile(std::istream& in, std::string_view location) {
    TagFileRead read;
    if (IsUnsafeAddress(location)) {
        read.problem = TagFileProblem{1, FormatLine(kUnsafeLocation, {location})};
        return read;
    }
    read.problem = TagFileParser(in, location, read).Parse();
    if (read.problem) {
        read.names = {};
    }
    return read;
}

}  // namespace sylva
