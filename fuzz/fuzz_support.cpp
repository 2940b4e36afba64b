#include "fuzz_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "fuzz_targets.h"
#include "html/page_names.h"
#include "scan/scan.h"
#include "support/zt_string.h"

namespace sylva::fuzz {

namespace {

class OwnDirectory {
  public:
    OwnDirectory() {
        const char* base = std::getenv("TMPDIR");
        if (base == nullptr || *base == '\0') {
            base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        }
        std::string pattern = std::string(base) + "/sylva-fuzz-XXXXXX";
        Require(::mkdtemp(pattern.data()) != nullptr, "cannot create a scratch directory");
        path_ = pattern;
    }
    OwnDirectory(const OwnDirectory&) = delete;
    OwnDirectory& operator=(const OwnDirectory&) = delete;
    ~OwnDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

void Require(bool holds, std::string_view what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz property broken: %.*s\n", static_cast<int>(what.size()),
                     what.data());
        std::abort();
    }
}

const std::string& ScratchDirectory() {
    static const OwnDirectory directory;
    return directory.path();
}

RunOptions OptionsFromFlags(std::uint8_t flags) {
    RunOptions options;
    options.removeInlineComments = flags & 1;
    options.addHistoryDate = (flags >> 1) & 1;
    options.sectionHistory = (flags >> 2) & 1;
    options.sectionSeeAlso = (flags >> 3) & 1;
    // 5 to 20: short enough that comments get cut.
    options.maxInlineComment = 5 + (flags >> 4);
    return options;
}

FuzzProject::FuzzProject(std::uint8_t flags)
    : options(OptionsFromFlags(flags)),
      project(std::get<Project>(
          MakeProject(std::string(kProjectName), "", kOutputPath, "SYLVA_MAIN_INDEX.HTML"))) {}

int FuzzProject::Scan(std::string_view source, const std::string& path, CommentStyle style) {
    ScanJob job{
        settings,           items,        reporter, std::string(kOutputPath), ".CPP|.C|.H|.SYL",
        project.outputPath, project.name, style};
    int made = ScanBuffer(job, source, path, CZTTime(0));
    // As a run does once every file is read: merged items leave empty slots, sorted last.
    const ItemList::Warning ignore = [](std::string_view, int, std::string_view) {};
    items.FinishDocumented(ignore);
    items.UseGroupTitles(ignore);
    items.Sort();
    return made;
}

void RequireSoundItems(const FuzzProject& fuzzed) {
    const std::string directory = fuzzed.project.Directory() + "/";
    const CSylItem* previous = nullptr;
    bool emptied = false;
    for (const ItemList::Slot& slot : fuzzed.items) {
        Require(slot != nullptr || fuzzed.items[0] != nullptr, "only empty slots after the scan");
        Require(!emptied || slot == nullptr, "an empty slot before an item after the sort");
        emptied = slot == nullptr;
        if (emptied) {
            continue;
        }
        const CSylItem& item = *slot;
        const std::string pageFile = PageFile(item);
        Require(item.style != CommentStyle::kSylva ||
                    SafeFileName(item.name).size() == item.name.size(),
                "the safe name has another length");
        for (char ch : pageFile) {
            Require(!IsInvalidFilenameChar(static_cast<unsigned char>(ch)),
                    "a page file name holds a byte that may not stand in a file name");
        }
        Require(pageFile.starts_with("SYLVA_") && pageFile.ends_with(".html"),
                "a page file name without its prefix or extension");
        Require(PagePath(fuzzed.project, item) == directory + pageFile,
                "a page outside the project directory");
        Require(previous == nullptr || !SortsBefore(item, *previous),
                "the list is not in sort-key order");
        previous = &item;
    }
}

}  // namespace sylva::fuzz
