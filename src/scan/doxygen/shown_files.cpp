// Where the files that comments show but the scan does not read are found: images (copied beside
// the pages) and example files (shown as code). Both are looked up only in the places the run
// names, and a file that resolves outside them (through "..", an absolute path or a symbolic
// link) is never read.
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "scan/doxygen/reader.h"
#include "scan/file_selection.h"
#include "support/digest.h"

namespace sylva {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kWebSchemes[] = {"https://", "http://"};
// Hex digits of the digest that tells copies of images of the same name apart.
constexpr int kCopyDigits = 16;
// How many entries a search below an example directory looks at, at most.
constexpr std::size_t kMostEntriesSearched = 100000;

// The name of the copy beside the pages of the image at `relative` (below the place it was found
// in): its own name, with bytes every file system and address take, and a digest of the whole
// relative path. It depends on nothing but that path, so that two images of one name never share
// a copy and a re-run that reads only some files names every copy as a full run does.
std::string CopyName(const fs::path& relative) {
    std::string name = relative.filename().string();
    for (char& ch : name) {
        const bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                           (ch >= '0' && ch <= '9') || ch == '.' || ch == '-' || ch == '_';
        ch = plain ? ch : '_';
    }
    std::size_t dot = name.rfind('.');
    dot = dot == std::string::npos || dot == 0 ? name.size() : dot;
    const Digest digest = DigestOf(relative.generic_string());
    std::string copy = name.substr(0, dot);
    copy.push_back('-');
    constexpr std::string_view kDigits = "0123456789abcdef";
    for (int shift = 60; shift > 60 - 4 * kCopyDigits; shift -= 4) {
        copy.push_back(kDigits[(digest.low >> shift) & 0xF]);
    }
    copy.append(name.substr(dot));
    return copy;
}

// True iff the canonical path `found` is `root` or lies below it.
bool Below(const fs::path& root, const fs::path& found) {
    auto [rootEnd, foundAt] = std::mismatch(root.begin(), root.end(), found.begin(), found.end());
    (void)foundAt;
    return rootEnd == root.end();
}

// The canonical form of each of `places` that exists, in their order.
std::vector<fs::path> CanonicalPlaces(const std::vector<std::string>& places) {
    std::vector<fs::path> canonical;
    for (const std::string& place : places) {
        std::error_code error;
        fs::path path = fs::canonical(place, error);
        if (!error) {
            canonical.push_back(std::move(path));
        }
    }
    return canonical;
}

// The canonical path of `candidate` when it is a regular file; empty otherwise.
fs::path RegularFile(const fs::path& candidate) {
    std::error_code error;
    fs::path found = fs::canonical(candidate, error);
    return !error && fs::is_regular_file(found, error) && !error ? found : fs::path();
}

// True iff the generic form of `path` ends with the whole path components of `written`.
bool EndsWithPath(const fs::path& path, const fs::path& written) {
    const std::string whole = path.generic_string();
    const std::string tail = written.lexically_normal().generic_string();
    return !tail.empty() && whole.ends_with(tail) &&
           (whole.size() == tail.size() || whole[whole.size() - tail.size() - 1] == '/');
}

bool PassesPatterns(const std::vector<std::string>& patterns, const fs::path& file) {
    const std::string name = file.filename().string();
    return patterns.empty() ||
           std::any_of(patterns.begin(), patterns.end(),
                       [&name](const std::string& pattern) { return MatchesGlob(pattern, name); });
}

// The first file (in path order) below the directory `root` whose path ends with `written` and
// whose name passes `patterns`; empty when none does among the first entries searched.
fs::path SearchBelow(const fs::path& root, const fs::path& written,
                     const std::vector<std::string>& patterns) {
    std::error_code error;
    fs::recursive_directory_iterator walk(root, fs::directory_options::skip_permission_denied,
                                          error);
    fs::path best;
    std::size_t seen = 0;
    for (; !error && walk != fs::recursive_directory_iterator() && seen < kMostEntriesSearched;
         walk.increment(error), ++seen) {
        const fs::path& path = walk->path();
        if (EndsWithPath(path, written) && PassesPatterns(patterns, path) &&
            (best.empty() || path < best)) {
            const fs::path found = RegularFile(path);
            if (!found.empty() && Below(root, found)) {
                best = path;
            }
        }
    }
    return best.empty() ? best : RegularFile(best);
}

// At most `limit` bytes of the regular file `path`, cut back to a line end when cut; nothing
// when it cannot be read.
std::optional<std::string> ReadAtMost(const fs::path& path, std::size_t limit, bool& cut) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text(limit + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        return std::nullopt;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    cut = text.size() > limit;
    if (cut) {
        const std::size_t end = text.rfind('\n', limit - 1);
        text.resize(end == std::string::npos ? limit : end + 1);
    }
    return text;
}

}  // namespace

ItemList::ImageLookup LookUpImage(const Settings& settings, const std::string& scanPath,
                                  const std::string& source, std::string_view written) {
    ItemList::ImageLookup lookup{std::string(written), {}, {}};
    for (std::string_view scheme : kWebSchemes) {
        if (written.starts_with(scheme)) {
            lookup.shown = written;
            return lookup;
        }
    }
    std::vector<std::string> named{scanPath};
    for (const SettingId list : {SYL_SCAN_PATHS, SYL_IMAGE_PATH}) {
        for (std::string& place : SplitSettingList(settings[list])) {
            named.push_back(std::move(place));
        }
    }
    const fs::path folder = fs::path(source).parent_path();
    named.push_back(folder.empty() ? std::string(".") : folder.string());
    // A place that does not exist holds nothing; its index stays in the names of the copies.
    std::vector<fs::path> places;
    for (const std::string& place : named) {
        std::error_code error;
        places.push_back(fs::canonical(place, error));
    }
    const fs::path asWritten(written);
    std::vector<fs::path> candidates;
    if (asWritten.is_absolute()) {
        candidates.push_back(asWritten);
    } else {
        candidates.push_back(folder / asWritten);
        for (const fs::path& place : places) {
            std::error_code error;
            if (!place.empty() && fs::is_directory(place, error)) {
                candidates.push_back(place / asWritten);
            } else if (!place.empty() && EndsWithPath(place, asWritten)) {
                candidates.push_back(place);
            }
        }
    }
    for (const fs::path& candidate : candidates) {
        const fs::path found = RegularFile(candidate);
        if (found.empty()) {
            continue;
        }
        if (lookup.found.empty()) {
            lookup.found = found.string();
        }
        for (std::size_t i = 0; i < places.size(); ++i) {
            if (!places[i].empty() && Below(places[i], found)) {
                // The first place (the scan path) keeps the plain relative path in the name.
                const fs::path relative = found.lexically_relative(places[i]);
                lookup.found = found.string();
                lookup.shown = CopyName(i == 0 ? relative : fs::path(std::to_string(i)) / relative);
                return lookup;
            }
        }
    }
    return lookup;
}

ExampleRead ReadExample(const Settings& settings, std::string_view written) {
    ExampleRead read;
    read.lookup.written = written;
    const std::vector<fs::path> places =
        CanonicalPlaces(SplitSettingList(settings[SYL_EXAMPLE_PATH]));
    const std::vector<std::string> patterns = SplitSettingList(settings[SYL_EXAMPLE_PATTERNS]);
    const bool recursive = IsSwitchedOn(settings[SYL_EXAMPLE_RECURSIVE]);
    const fs::path asWritten(written);
    fs::path found;
    for (const fs::path& place : places) {
        std::error_code error;
        if (!fs::is_directory(place, error)) {
            found = EndsWithPath(place, asWritten) ? place : fs::path();
        } else {
            const fs::path candidate = RegularFile(place / asWritten);
            if (!candidate.empty() && !Below(place, candidate)) {
                read.outside = true;
            } else if (!candidate.empty() && PassesPatterns(patterns, candidate)) {
                found = candidate;
            }
            if (found.empty() && recursive && !asWritten.is_absolute()) {
                found = SearchBelow(place, asWritten, patterns);
            }
        }
        if (!found.empty()) {
            break;
        }
    }
    if (found.empty()) {
        return read;
    }
    read.outside = false;
    read.text = ReadAtMost(found, kExampleMostBytes, read.cut);
    if (read.text) {
        read.lookup.found = found.string();
        read.lookup.bytes = DigestOf(*read.text);
    }
    return read;
}

}  // namespace sylva
