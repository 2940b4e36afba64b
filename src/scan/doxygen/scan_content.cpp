// Scanning a file of the doxygen style: its documented items, filed into the run's item list,
// with the images its comments show.
#include <algorithm>
#include <filesystem>

#include "scan/doxygen/predefined_macros.h"
#include "scan/doxygen/reader.h"
#include "support/digest.h"
#include "support/text_format.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr WarningKind kImageMissing = {
    "doxygen.image-missing",
    "image \"%s\" is not found beside the source; its alt text stands in its place"};
constexpr WarningKind kImageOutside = {
    "doxygen.image-outside",
    "image \"%s\" lies outside the scan path; it is not copied, its alt text stands in its place"};
constexpr std::string_view kWebSchemes[] = {"https://", "http://"};
// The extensions of the header files, whose declarations are the public ones that the coverage
// counts are made of; the declarations of other files are not counted.
constexpr std::string_view kHeaderExtensions[] = {".h", ".hh", ".hpp", ".hxx", ".h++"};
// Hex digits of the digest that tells copies of images of the same name apart.
constexpr int kCopyDigits = 16;

namespace fs = std::filesystem;

// The name of the copy beside the pages of the image at `relative` (below the scan path): its
// own name, with bytes every file system and address take, and a digest of the whole relative
// path. It depends on nothing but that path, so that two images of one name never share a copy
// and a re-run that reads only some files names every copy as a full run does.
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

}  // namespace

bool IsHeaderFile(std::string_view path) {
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return false;
    }
    const std::string_view extension = name.substr(dot);
    return std::any_of(std::begin(kHeaderExtensions), std::end(kHeaderExtensions),
                       [&](std::string_view header) { return EqualsNoCase(extension, header); });
}

ItemList::ImageLookup LookUpImage(const std::string& scanPath, const std::string& source,
                                  std::string_view written) {
    ItemList::ImageLookup lookup{std::string(written), {}, {}};
    for (std::string_view scheme : kWebSchemes) {
        if (written.starts_with(scheme)) {
            lookup.shown = written;
            return lookup;
        }
    }
    std::error_code error;
    const fs::path asWritten(written);
    const fs::path candidate =
        asWritten.is_absolute() ? asWritten : fs::path(source).parent_path() / asWritten;
    const fs::path found = fs::canonical(candidate, error);
    if (error || !fs::is_regular_file(found, error)) {
        return lookup;
    }
    lookup.found = found.string();
    const fs::path root = fs::canonical(scanPath, error);
    auto [rootEnd, foundAt] = std::mismatch(root.begin(), root.end(), found.begin(), found.end());
    if (!error && rootEnd == root.end()) {
        lookup.shown = CopyName(found.lexically_relative(root));
    }
    return lookup;
}

int ScanDoxygenContent(ScanJob& job, std::string_view content, const std::string& path,
                       CZTTime lastWrite) {
    Reporter& reporter = job.reporter;
    DoxygenOptions options;
    options.showHidden = IsSwitchedOn(job.settings[SYL_DOXYGEN_INTERNAL_DOCS]);
    // Nothing is read here; a found file is copied with the pages.
    options.images = [&](std::string_view file, int line) {
        ItemList::ImageLookup lookup = LookUpImage(job.scanPath, path, file);
        if (lookup.shown.empty()) {
            reporter.Warning(
                path, line,
                FormatLine(lookup.found.empty() ? kImageMissing : kImageOutside, {file}));
        }
        std::string shown = lookup.shown;
        job.items.NoteImage(std::move(lookup));
        return shown;
    };
    // Each file parses the short list again: less than reading one line of the file costs.
    const PredefinedMacros macros(SplitSettingList(job.settings[SYL_PREDEFINED]));
    std::string expanded;
    if (!macros.empty()) {
        expanded = macros.Expand(content);
        content = expanded;
    }
    std::vector<SeenDeclaration> declarations;
    if (IsHeaderFile(path)) {
        options.declarations = &declarations;
    }
    std::vector<DoxygenItem> documented = ReadDoxygenComments(
        content,
        [&](int line, const WarningMessage& message) { reporter.Warning(path, line, message); },
        options);
    if (documented.empty() && declarations.empty()) {
        return 0;
    }
    std::string_view sourceName = job.items.KeepSourceName(path);
    for (SeenDeclaration& seen : declarations) {
        job.items.NoteDeclaration(sourceName, std::move(seen));
    }
    for (DoxygenItem& item : documented) {
        reporter.Advance();
        job.items.Add(job.settings, item, {{}, {}, lastWrite, sourceName, item.line});
    }
    return static_cast<int>(documented.size());
}

}  // namespace sylva
