#include "engine/tag_files.h"

#include <sys/stat.h>

#include <fstream>
#include <string_view>

#include "html/html.h"
#include "support/atomic_file.h"
#include "support/text_format.h"
#include "support/warning_kind.h"

namespace sylva {

namespace {

constexpr std::string_view kMissing = "Tag file %s does not exist.";
constexpr std::string_view kNoFile = "Tag file %s is not a file.";
constexpr std::string_view kCannotWrite = "ERROR: Cannot write tag file %s (%s) !";
constexpr std::string_view kTooBig = "bigger than a tag file may be";
constexpr std::string_view kUnreadable = "cannot be read";
constexpr WarningKind kBadTagFile = {"sylva.bad-tag-file",
                                     "tag file not read, its names stay unlinked: %s"};
constexpr WarningKind kUnsafeEntries = {
    "sylva.unsafe-tag-file-address",
    "%s entries of this tag file have an address that would run code (javascript:, vbscript:, "
    "data:); they stay unlinked"};

}  // namespace

std::optional<std::string> TagFilesProblem(const Settings& settings) {
    for (const TagFileSource& source : ParseTagFileSources(settings[SYL_TAG_FILES])) {
        struct stat info {};
        if (::stat(source.path.c_str(), &info) != 0) {
            return FormatLine(kMissing, {source.path});
        }
        if (!S_ISREG(info.st_mode)) {
            return FormatLine(kNoFile, {source.path});
        }
    }
    return std::nullopt;
}

ExternalNames ReadTagFiles(const Settings& settings, Reporter& reporter) {
    ExternalNames names;
    for (const TagFileSource& source : ParseTagFileSources(settings[SYL_TAG_FILES])) {
        struct stat info {};
        std::ifstream in(source.path, std::ios::binary);
        TagFileRead read;
        if (!in || ::stat(source.path.c_str(), &info) != 0) {
            read.problem = TagFileProblem{1, std::string(kUnreadable)};
        } else if (info.st_size > kMaxTagFileBytes) {
            read.problem = TagFileProblem{1, std::string(kTooBig)};
        } else {
            read = ReadTagFile(in, source.location);
        }
        if (read.problem) {
            reporter.Warning(source.path, read.problem->line,
                             FormatLine(kBadTagFile, {read.problem->text}));
            continue;
        }
        if (read.unsafe > 0) {
            reporter.Warning(source.path, 1,
                             FormatLine(kUnsafeEntries, {std::to_string(read.unsafe)}));
        }
        names.Merge(std::move(read.names));
    }
    return names;
}

Digest DigestOf(const ExternalNames& names) {
    Hasher hasher;
    for (const auto& [name, address] : names.Sorted()) {
        hasher.Text(name).Text(address);
    }
    return hasher.Finish();
}

void WriteTagFile(const Settings& settings, const ItemList& items, Reporter& reporter) {
    const std::string& path = settings[SYL_TAG_FILE];
    if (path.empty()) {
        return;
    }
    if (Status written = ReplaceFileAtomically(path, TagFileText(items)); !written.ok()) {
        reporter.Failure(FormatLine(kCannotWrite, {path, written.reason()}));
    }
}

}  // namespace sylva
