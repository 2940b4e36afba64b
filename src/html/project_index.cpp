// The project's own pages: the project index page (every item under its group, with a gap
// between runs of different initials, and optionally an alphabetical index), the narrow index
// frame with its drop-down list and "back" link, and the frame set that is the project's entry
// point and that the master index links to.
//
// Each index page is written in one pass over the items, through a buffer of its own; with more
// than one thread the two passes run at once.
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "html/class_hierarchy.h"
#include "html/output_files.h"
#include "html/page_names.h"
#include "html/page_text.h"
#include "html/placeholders.h"
#include "html/sorted_rows.h"
#include "support/output_sink.h"
#include "support/text_format.h"
#include "support/zt_string.h"
#include "support/zt_time.h"

namespace sylva {

namespace {

constexpr std::string_view kProgressStatus = "Generate project index...";
constexpr std::string_view kCreatingIndex = "  Creating HTML index file %s for project %s.";
constexpr std::string_view kAddingAlphaIndex = "  Add alphabetical index...";
constexpr std::string_view kGeneratingFrameSet = "  Generating projects HTML base frame %s...";
constexpr std::string_view kIndexOpenFailure = "  ERROR: Cannot access file %s !";
constexpr std::string_view kFrameSetOpenFailure = "    ERROR: Cannot access to HTML-file %s !";

constexpr std::string_view kDropDownEntry = "<option value=\"[LinkedFile]\">[LinkName]";
constexpr std::string_view kFormEnd =
    "        </select>\n"
    "\n"
    "        <input type=submit value=\"Go\" onClick=\"OpenLink()\">\n"
    "    </form>\n"
    "\n"
    "    <table border=\"0\" width=\"100%\">\n"
    "    [IndexBegin]";
constexpr std::string_view kFrameRowWithImage =
    "<img src=\"[GifFile]\"><a href=\"[LinkedFile]\" TARGET=\"Details\"><font "
    "face=[Font]>[LinkName]</font></a><BR>\n";
constexpr std::string_view kFrameRow =
    "<a href=\"[LinkedFile]\" target=\"Details\"><font face=[Font]>[LinkName]</font></a><BR>\n";
constexpr std::string_view kFrameGroupHeading =
    "<BR><font face=[Font] size=+1><B>[LinkName]</B></font><BR>";
constexpr std::string_view kFrameGap = "<BR>";
constexpr std::string_view kAlphaIndexHeading = "Index";
// Longer names are cut in the drop-down list, which the narrow frame must hold.
constexpr std::size_t kDropDownNameLimit = 20;
constexpr std::string_view kCutMark = "...";

constexpr int kNoInitial = -1;

// The link to each item's page, by slot (empty for an empty slot): made once, as the drop-down
// list, the group rows and the alphabetical index of both pages all lead there.
std::vector<std::string> LinksOf(const ItemList& items) {
    std::vector<std::string> links(items.size());
    for (std::size_t slot = 0; slot < items.size(); ++slot) {
        if (items[slot]) {
            links[slot] = LinkTarget(PageFile(*items[slot]));
        }
    }
    return links;
}

// True when the index frame's template has a place for the drop-down list.
bool HasDropDown(const Settings& settings) {
    return settings[SYL_HTML_INDEX_FILE_FRAME_START].find(placeholder::kListSearchEntries) !=
           std::string::npos;
}

// The first byte of the member name, ASCII letters in upper case; kNoInitial for an empty name.
int InitialOf(std::string_view memberName) {
    return memberName.empty() ? kNoInitial
                              : static_cast<unsigned char>(AsciiUpper(memberName.front()));
}

// The index pages while they are being written, and the rows that recur in them. The lists that
// sorted adds would fill (the drop-down entries and the alphabetical index) come out in the same
// order, ascending by their complete text, but sorted once (SortedRows) instead of keeping every
// row twice. A null page is not written: neither its rows nor its lists are made.
class IndexPages {
  public:
    // `links`: LinksOf(job.items).
    IndexPages(const PageJob& job, const std::vector<std::string>& links, OutputStream* index,
               OutputStream* frame)
        : job_(job),
          settings_(job.settings),
          index_(index),
          frame_(frame),
          font_(settings_[SYL_STD_FONT_HEADER]),
          backLink_(LinkTarget("../" + job.project.masterIndexName)),
          gapRow_(FillTemplate(settings_[SYL_HTML_STD_INDEX_LINK_GROUP],
                               {{placeholder::kFont, font_}, {placeholder::kLinkName, ""}})),
          groupRow_(FillTemplate(settings_[SYL_HTML_STD_INDEX_LINK_GROUP],
                                 {{placeholder::kFont, font_}})),
          frameGroupHeading_(FillTemplate(kFrameGroupHeading, {{placeholder::kFont, font_}})),
          markerImages_(MarkerImagesInstalled(job.project.outputPath)),
          indexRowTemplate_(
              settings_[markerImages_ ? SYL_HTML_STD_INDEX_LINK_GIF : SYL_HTML_STD_INDEX_LINK]),
          frameRowTemplate_(markerImages_ ? kFrameRowWithImage : kFrameRow),
          dropDownRows_(FixedLead(kDropDownEntry)),
          alphaIndexRows_(FixedLead(indexRowTemplate_)),
          alphaFrameRows_(FixedLead(frameRowTemplate_)),
          links_(links) {}

    void AppendHeads() {
        const Project& project = job_.project;
        if (index_ != nullptr) {
            AppendLine(*index_, FillTemplate(settings_[SYL_HTML_INDEX_FILE_START],
                                             {{placeholder::kFont, font_},
                                              {placeholder::kHtmlTitle, project.name},
                                              {placeholder::kFncTitle, project.name},
                                              {placeholder::kIndexBegin, BeginMarker()},
                                              {placeholder::kShortDesc, project.description}}));
        }
        if (frame_ != nullptr) {
            // "[ListSearchEntries]" stays in the text: the entries follow it.
            AppendLine(*frame_, FillTemplate(settings_[SYL_HTML_INDEX_FILE_FRAME_START],
                                             {{placeholder::kFont, font_},
                                              {placeholder::kHtmlTitle, project.name},
                                              {placeholder::kFncTitle, project.name},
                                              {placeholder::kLinkedFile, backLink_}}));
        }
    }

    // The drop-down entries of the index frame, in ascending order of their text, only when the
    // frame template has a place for them; then the end of the form, always.
    void AppendDropDown() {
        if (frame_ == nullptr) {
            return;
        }
        if (HasDropDown(settings_)) {
            for (std::size_t slot = 0; slot < job_.items.size(); ++slot) {
                if (job_.items[slot]) {
                    dropDownRows_.Add(DropDownEntry(slot));
                    dropDownSlots_.push_back(slot);
                }
            }
            for (std::uint32_t k : dropDownRows_.TakeOrder(
                     [this](std::size_t i) { return DropDownEntry(dropDownSlots_[i]); })) {
                AppendLine(*frame_, DropDownEntry(dropDownSlots_[k]));
            }
        }
        frame_->Append(FillTemplate(kFormEnd, {{placeholder::kIndexBegin, BeginMarker()}}));
    }

    // The item in `slot`: a group heading when its group begins, else a gap when its initial
    // differs from the one before; then its rows.
    void AppendItem(std::size_t slot) {
        const CSylItem& item = *job_.items[slot];
        const RowParts parts(item, links_[slot]);
        const std::string indexRow = index_ != nullptr ? IndexRow(item, parts) : std::string();
        const std::string frameRow = frame_ != nullptr ? FrameRow(item, parts) : std::string();
        if (job_.options.alphaIndex != 0) {
            if (index_ != nullptr) {
                alphaIndexRows_.Add(indexRow);
            }
            if (frame_ != nullptr) {
                alphaFrameRows_.Add(frameRow);
            }
            alphaSlots_.push_back(slot);
        }
        int initial = InitialOf(item.MemberName());
        if (item.group != lastGroup_) {
            AppendGaps(1, false);
            std::string escapedGroup;
            AppendGroupHeadings(ShownGroup(item, escapedGroup));
            AppendGaps(1, false);
            lastGroup_ = item.group;
            currentInitial_ = initial;
        } else if (firstItem_) {
            currentInitial_ = initial;
        } else if (initial != currentInitial_) {
            AppendGaps(1, false);
            currentInitial_ = initial;
        }
        firstItem_ = false;
        if (index_ != nullptr) {
            AppendLine(*index_, indexRow);
        }
        if (frame_ != nullptr) {
            AppendLine(*frame_, frameRow);
        }
    }

    // The row that leads to the class hierarchy, apart from the groups that follow.
    void AppendHierarchyLink() {
        const std::string target = LinkTarget(HierarchyFile(job_.project.directoryName));
        if (index_ != nullptr) {
            AppendLine(*index_, FillTemplate(settings_[SYL_HTML_STD_INDEX_LINK],
                                             {{placeholder::kFont, font_},
                                              {placeholder::kLinkedFile, target},
                                              {placeholder::kLinkName, kClassHierarchyTitle},
                                              {placeholder::kShortDesc, ""}}));
        }
        if (frame_ != nullptr) {
            AppendLine(*frame_,
                       FillTemplate(kFrameRow, {{placeholder::kFont, font_},
                                                {placeholder::kLinkedFile, target},
                                                {placeholder::kLinkName, kClassHierarchyTitle}}));
        }
    }

    void AppendAlphabeticalIndex() {
        AppendGaps(3, true);
        AppendGroupHeadings(kAlphaIndexHeading);
        // Both lists hold one row per item, each in its own order.
        if (index_ != nullptr) {
            for (std::uint32_t k :
                 alphaIndexRows_.TakeOrder([this](std::size_t i) { return AlphaIndexRow(i); })) {
                index_->Append(AlphaIndexRow(k));
            }
        }
        if (frame_ != nullptr) {
            for (std::uint32_t k :
                 alphaFrameRows_.TakeOrder([this](std::size_t i) { return AlphaFrameRow(i); })) {
                frame_->Append(AlphaFrameRow(k));
            }
        }
    }

    void AppendEnds(const std::string& timeText) {
        if (index_ != nullptr) {
            index_->AppendDated(IndexEnd(timeText), IndexEnd(""));
        }
        if (frame_ != nullptr) {
            frame_->AppendDated(FrameEnd(timeText), FrameEnd(""));
        }
    }

  private:
    std::string IndexEnd(std::string_view timeText) const {
        return FillTemplate(settings_[SYL_HTML_INDEX_FILE_END],
                            {{placeholder::kIndexEnd, EndMarker()},
                             {placeholder::kFont, font_},
                             {placeholder::kDateTime, timeText}});
    }

    std::string FrameEnd(std::string_view timeText) const {
        return FillTemplate(settings_[SYL_HTML_INDEX_FILE_FRAME_END],
                            {{placeholder::kIndexEnd, EndMarker()},
                             {placeholder::kFont, font_},
                             {placeholder::kDateTime, timeText},
                             {placeholder::kLinkedFile, backLink_}});
    }

    const std::string& BeginMarker() const { return settings_[SYL_Q_HTML_INDEX_BEGIN]; }
    const std::string& EndMarker() const { return settings_[SYL_Q_HTML_INDEX_END]; }

    std::string DropDownEntry(std::size_t slot) const {
        const CSylItem& item = *job_.items[slot];
        std::string shown = item.name;
        if (shown.size() > kDropDownNameLimit) {
            shown.resize(kDropDownNameLimit);
            shown.append(kCutMark);
        }
        std::string escaped;
        return FillTemplate(kDropDownEntry,
                            {{placeholder::kLinkedFile, links_[slot]},
                             {placeholder::kLinkName, ShownText(item, shown, escaped)}});
    }

    // `rowTemplate` with the item's marker image, when the images are installed.
    std::string WithImage(std::string_view rowTemplate, const CSylItem& item) const {
        if (!markerImages_) {
            return std::string(rowTemplate);
        }
        return FillTemplate(
            rowTemplate, {{placeholder::kGifFile, item.isPublic == 1 ? kGreenImage : kRedImage}});
    }

    // What an item's index row and frame row both show, made once for both. Not copied: `name`
    // may view `escaped`.
    struct RowParts {
        RowParts(const CSylItem& item, std::string_view link)
            : link(link), name(ShownBreakableName(item, escaped)) {}
        RowParts(const RowParts&) = delete;
        RowParts& operator=(const RowParts&) = delete;

        std::string_view link;
        std::string escaped;
        std::string_view name;
    };

    // The rows of the alphabetical index's `i`th item, in the order the items were listed.
    std::string AlphaIndexRow(std::size_t i) const {
        const std::size_t slot = alphaSlots_[i];
        return IndexRow(*job_.items[slot], RowParts(*job_.items[slot], links_[slot]));
    }
    std::string AlphaFrameRow(std::size_t i) const {
        const std::size_t slot = alphaSlots_[i];
        return FrameRow(*job_.items[slot], RowParts(*job_.items[slot], links_[slot]));
    }

    std::string IndexRow(const CSylItem& item, const RowParts& parts) const {
        return FillTemplate(WithImage(indexRowTemplate_, item),
                            {{placeholder::kFont, font_},
                             {placeholder::kLinkedFile, parts.link},
                             {placeholder::kLinkName, parts.name},
                             {placeholder::kShortDesc, Brief(item)}});
    }

    // The brief of a fresh page is the one built with it: the same lookups gave the same text.
    std::string Brief(const CSylItem& item) const {
        if (job_.memo != nullptr) {
            if (const PageRecord* fresh = job_.memo->Fresh(item)) {
                return fresh->indexBrief;
            }
        }
        return ShownShortDescription(item, settings_, job_.items);
    }

    std::string FrameRow(const CSylItem& item, const RowParts& parts) const {
        return FillTemplate(WithImage(frameRowTemplate_, item),
                            {{placeholder::kFont, font_},
                             {placeholder::kLinkedFile, parts.link},
                             {placeholder::kLinkName, parts.name}});
    }

    void AppendGaps(int count, bool lineEnds) {
        for (int i = 0; i < count; ++i) {
            if (index_ != nullptr) {
                index_->Append(gapRow_);
                if (lineEnds) {
                    index_->Append("\n");
                }
            }
            if (frame_ != nullptr) {
                frame_->Append(kFrameGap);
                if (lineEnds) {
                    frame_->Append("\n");
                }
            }
        }
    }

    void AppendGroupHeadings(std::string_view name) {
        if (index_ != nullptr) {
            index_->Append(FillTemplate(groupRow_, {{placeholder::kLinkName, name}}));
        }
        if (frame_ != nullptr) {
            frame_->Append(FillTemplate(frameGroupHeading_, {{placeholder::kLinkName, name}}));
        }
    }

    static void AppendLine(OutputStream& file, std::string_view text) {
        file.Append(text);
        file.Append("\n");
    }

    const PageJob& job_;
    const Settings& settings_;
    OutputStream* const index_;
    OutputStream* const frame_;
    const std::string& font_;
    const std::string backLink_;
    const std::string gapRow_;
    const std::string groupRow_;
    const std::string frameGroupHeading_;
    const bool markerImages_;
    const std::string_view indexRowTemplate_;
    const std::string_view frameRowTemplate_;
    SortedRows dropDownRows_;
    std::deque<std::size_t> dropDownSlots_;  // the item of each drop-down entry
    SortedRows alphaIndexRows_;
    SortedRows alphaFrameRows_;
    std::deque<std::size_t> alphaSlots_;  // the item of each row of both lists
    const std::vector<std::string>& links_;
    std::string lastGroup_;
    int currentInitial_ = kNoInitial;
    bool firstItem_ = true;
};

// The index frame when the index page could not be created: it is not created either.
class UnopenedStream : public OutputStream {
  public:
    void Append(std::string_view) override {}
    void AppendDated(std::string_view, std::string_view) override {}
    Status Close() override { return Status::OpenFailed("not opened"); }
    bool OpenFailed() const override { return true; }
};

// The page the frame set opens beside the index frame: the first main page's (the doxygen
// style's "@mainpage" or the Markdown file the settings name), else the project index.
std::string FirstDetailsPage(const PageJob& job) {
    for (const ItemList::Slot& slot : job.items) {
        if (slot && slot->style == CommentStyle::kDoxygen && slot->kind == DoxygenKind::kMainPage &&
            PassesTypeFilter(job, *slot)) {
            return PageFile(*slot);
        }
    }
    return ProjectIndexFile(job.project.directoryName);
}

// Writes the frame set page: the index frame on the left, the main page or else the project
// index on the right.
void WriteFrameSet(PageJob& job) {
    const Project& project = job.project;
    job.reporter.Protocol(FormatLine(kGeneratingFrameSet, {project.framePage}));
    std::string frameSet;
    AppendLine(
        frameSet,
        FillTemplate(
            job.settings[SYL_HTML_FRAME_SET],
            {{placeholder::kHtmlTitle, project.name},
             {placeholder::kLinkedIndexFile, LinkTarget(FrameIndexFile(project.directoryName))},
             {placeholder::kLinkedDetailsFile, LinkTarget(FirstDetailsPage(job))}}));
    (void)WriteOutputFile(job, project.framePage, {frameSet}, OutputKind::kFrameSet,
                          kFrameSetOpenFailure);
}

// Both index pages, written by Write; what the stage reports about them stays here for
// Report. Write reads the items and changes nothing but the two files, so it may run on a
// thread of its own while nothing changes the items.
class ProjectIndexPages {
  public:
    explicit ProjectIndexPages(const PageJob& job)
        : job_(job), classes_(HierarchyClasses(ItemsWithPages(job))) {}

    void Write() {
        CountSteps();
        if (job_.memo != nullptr && job_.memo->IndexFresh()) {
            return;
        }
        const std::string timeText = CZTTime::Now().GetTimeAsString();
        // The pages are written while they are assembled. Whether they could be written is
        // reported at the end, where a page assembled whole would have been written: a page that
        // cannot be created ends the stage (the index frame is not even created when the index
        // page cannot be), one that is created but not written whole is reported and the stage
        // goes on.
        std::unique_ptr<OutputStream> index =
            job_.Output().Open(job_.project.indexPage, OutputKind::kProjectIndex);
        std::unique_ptr<OutputStream> frame =
            index->OpenFailed()
                ? std::make_unique<UnopenedStream>()
                : job_.Output().Open(job_.project.frameIndexPage, OutputKind::kProjectIndex);
        // A page that could not be opened takes no bytes: none are made for it.
        OutputStream* const indexPage = index->OpenFailed() ? nullptr : index.get();
        OutputStream* const framePage = frame->OpenFailed() ? nullptr : frame.get();
        const std::vector<std::string> links = LinksOf(job_.items);
        if (job_.threadCount <= 1 || indexPage == nullptr || framePage == nullptr) {
            WriteRows(links, indexPage, framePage, timeText);
        } else {
            // The two pages share no bytes: the index frame is written meanwhile, by a thread of
            // its own.
            std::thread frameWriter([&] { WriteRows(links, nullptr, framePage, timeText); });
            WriteRows(links, indexPage, nullptr, timeText);
            frameWriter.join();
        }
        indexWritten_ = index->Close();
        frameWritten_ = frame->Close();
    }

    // The stage's protocol, progress and failures, in the order of a stage that assembles the
    // pages first and writes them at its end; then the frame set. Returns the stage's result.
    int Report(PageJob& job) const {
        Reporter& reporter = job.reporter;
        const Project& project = job.project;
        reporter.Status(kProgressStatus);
        // Even a run that found no item writes the three pages: the master index record that
        // the run adds next links to the frame set, and must not lead nowhere.
        reporter.Protocol("");
        reporter.Protocol(
            FormatLine(kCreatingIndex, {CZTString(project.indexPage).GetFilename(), project.name}));
        for (int step = 0; step < progressSteps_; ++step) {
            reporter.Advance();
        }
        if (job.options.alphaIndex != 0) {
            reporter.Protocol(kAddingAlphaIndex);
        }
        for (auto [written, path] : {std::pair{&indexWritten_, &project.indexPage},
                                     std::pair{&frameWritten_, &project.frameIndexPage}}) {
            ReportOutputStatus(reporter, *path, *written, kIndexOpenFailure);
            if (written->code() == Status::Code::kOpenFailed) {
                return -1;
            }
        }
        // Made again beside a fresh index too: a hierarchy too deep is a warning of every run
        // that shows it, and a page that comes out the same is not written.
        if (!classes_.empty()) {
            (void)WriteClassHierarchy(job, classes_);
        }
        WriteFrameSet(job);
        return static_cast<int>(job.items.size());
    }

  private:
    // The whole of the pages that are not null, in one pass over the items.
    void WriteRows(const std::vector<std::string>& links, OutputStream* index, OutputStream* frame,
                   const std::string& timeText) const {
        if (index == nullptr && frame == nullptr) {
            return;
        }
        IndexPages pages(job_, links, index, frame);
        pages.AppendHeads();
        pages.AppendDropDown();
        if (!classes_.empty()) {
            pages.AppendHierarchyLink();
        }
        for (std::size_t slot = 0; slot < job_.items.size(); ++slot) {
            if (job_.items[slot] && PassesTypeFilter(job_, *job_.items[slot])) {
                pages.AppendItem(slot);
            }
        }
        if (job_.options.alphaIndex != 0) {
            pages.AppendAlphabeticalIndex();
        }
        pages.AppendEnds(timeText);
    }

    // The steps that writing the pages advances the progress by: one per drop-down entry (when
    // the frame has the drop-down) and one per listed item.
    void CountSteps() {
        int listed = 0;
        for (const ItemList::Slot& slot : job_.items) {
            listed += slot ? 1 : 0;
        }
        progressSteps_ = HasDropDown(job_.settings) ? 2 * listed : listed;
    }

    const PageJob& job_;
    // The classes the hierarchy page shows; none: the run writes no such page.
    const std::vector<const CSylItem*> classes_;
    int progressSteps_ = 0;
    Status indexWritten_;
    Status frameWritten_;
};

}  // namespace

int WriteProjectIndex(PageJob& job) {
    ProjectIndexPages pages(job);
    pages.Write();
    return pages.Report(job);
}

void WritePages(PageJob& job) {
    if (job.threadCount <= 1) {
        WriteDescriptionPages(job);
        WriteProjectIndex(job);
        return;
    }
    // The index pages need nothing of the description pages: they are written meanwhile, by a
    // thread of their own, and reported after them as if written after them.
    ProjectIndexPages index(job);
    std::thread indexWriter([&index] { index.Write(); });
    WriteDescriptionPages(job);
    indexWriter.join();
    index.Report(job);
}

}  // namespace sylva
