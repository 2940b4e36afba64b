// The project's own pages: the project index page (every item under its group, with a gap
// between runs of different initials, and optionally an alphabetical index), the narrow index
// frame with its drop-down list and "back" link, and the frame set that is the project's entry
// point and that the master index links to.
//
// Both index pages are written in one pass over the items, through a buffer each.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "engine/scan_source.h"
#include "html/output_files.h"
#include "html/placeholders.h"
#include "html/sorted_rows.h"
#include "scan/syl_item.h"
#include "support/file_output.h"
#include "support/link_target.h"
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
constexpr std::string_view kFrameIndexSuffix = "_frameidx";
constexpr std::string_view kPageExtension = ".HTML";
// Longer names are cut in the drop-down list, which the narrow frame must hold.
constexpr std::size_t kDropDownNameLimit = 20;
constexpr std::string_view kCutMark = "...";

constexpr int kNoInitial = -1;

// The first byte of the member name, ASCII letters in upper case; kNoInitial for an empty name.
int InitialOf(std::string_view memberName) {
    return memberName.empty() ? kNoInitial
                              : static_cast<unsigned char>(AsciiUpper(memberName.front()));
}

// The two index pages while they are being written, and the rows that recur in them. The lists
// that sorted adds would fill (the drop-down entries and the alphabetical index) come out in the
// same order, ascending by their complete text, but sorted once (SortedRows) instead of keeping
// every row twice.
class IndexPages {
  public:
    IndexPages(const CZTScanSource& generator, BufferedOutputFile& index, BufferedOutputFile& frame)
        : generator_(generator),
          index_(index),
          frame_(frame),
          font_(generator.Setting(SYL_STD_FONT_HEADER)),
          backLink_(LinkTarget("../" + generator.masterIndexName)),
          gapRow_(FillTemplate(generator.Setting(SYL_HTML_STD_INDEX_LINK_GROUP),
                               {{placeholder::kFont, font_}, {placeholder::kLinkName, ""}})),
          groupRow_(FillTemplate(generator.Setting(SYL_HTML_STD_INDEX_LINK_GROUP),
                                 {{placeholder::kFont, font_}})),
          frameGroupHeading_(FillTemplate(kFrameGroupHeading, {{placeholder::kFont, font_}})),
          markerImages_(MarkerImagesInstalled(generator.outputPath)),
          indexRowTemplate_(generator.Setting(markerImages_ ? SYL_HTML_STD_INDEX_LINK_GIF
                                                            : SYL_HTML_STD_INDEX_LINK)),
          frameRowTemplate_(markerImages_ ? kFrameRowWithImage : kFrameRow),
          dropDownRows_(FixedLead(kDropDownEntry)),
          alphaIndexRows_(FixedLead(indexRowTemplate_)),
          alphaFrameRows_(FixedLead(frameRowTemplate_)) {}

    void AppendHeads() {
        AppendLine(index_, FillTemplate(generator_.Setting(SYL_HTML_INDEX_FILE_START),
                                        {{placeholder::kFont, font_},
                                         {placeholder::kHtmlTitle, generator_.projectName},
                                         {placeholder::kFncTitle, generator_.projectName},
                                         {placeholder::kIndexBegin, BeginMarker()},
                                         {placeholder::kShortDesc, generator_.projectDesc}}));
        // "[ListSearchEntries]" stays in the text: the entries follow it.
        AppendLine(frame_, FillTemplate(generator_.Setting(SYL_HTML_INDEX_FILE_FRAME_START),
                                        {{placeholder::kFont, font_},
                                         {placeholder::kHtmlTitle, generator_.projectName},
                                         {placeholder::kFncTitle, generator_.projectName},
                                         {placeholder::kLinkedFile, backLink_}}));
    }

    // The drop-down entries, in ascending order of their text, only when the frame template has
    // a place for them; then the end of the form, always. Returns the number of entries.
    int AppendDropDown() {
        int entryCount = 0;
        if (generator_.Setting(SYL_HTML_INDEX_FILE_FRAME_START)
                .find(placeholder::kListSearchEntries) != std::string::npos) {
            for (const std::unique_ptr<CSylItem>& slot : generator_.items) {
                if (!slot) {
                    continue;
                }
                ++entryCount;
                dropDownRows_.Add(DropDownEntry(*slot));
                dropDownItems_.push_back(slot.get());
            }
            for (std::uint32_t k : dropDownRows_.TakeOrder(
                     [this](std::size_t i) { return DropDownEntry(*dropDownItems_[i]); })) {
                AppendLine(frame_, DropDownEntry(*dropDownItems_[k]));
            }
        }
        frame_.Append(FillTemplate(kFormEnd, {{placeholder::kIndexBegin, BeginMarker()}}));
        return entryCount;
    }

    // One item: a group heading when its group begins, else a gap when its initial differs from
    // the one before; then its rows.
    void AppendItem(const CSylItem& item) {
        std::string indexRow = IndexRow(item);
        std::string frameRow = FrameRow(item);
        if (generator_.options.alphaIndex != 0) {
            alphaIndexRows_.Add(indexRow);
            alphaFrameRows_.Add(frameRow);
            alphaItems_.push_back(&item);
        }
        int initial = InitialOf(item.MemberName());
        if (item.group != lastGroup_) {
            AppendGaps(1, false);
            AppendGroupHeadings(item.group);
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
        AppendLine(index_, indexRow);
        AppendLine(frame_, frameRow);
    }

    void AppendAlphabeticalIndex() {
        AppendGaps(3, true);
        AppendGroupHeadings(kAlphaIndexHeading);
        // Both lists hold one row per item, each in its own order.
        std::vector<std::uint32_t> indexOrder =
            alphaIndexRows_.TakeOrder([this](std::size_t i) { return IndexRow(*alphaItems_[i]); });
        std::vector<std::uint32_t> frameOrder =
            alphaFrameRows_.TakeOrder([this](std::size_t i) { return FrameRow(*alphaItems_[i]); });
        for (std::size_t i = 0; i < indexOrder.size(); ++i) {
            index_.Append(IndexRow(*alphaItems_[indexOrder[i]]));
            frame_.Append(FrameRow(*alphaItems_[frameOrder[i]]));
        }
    }

    void AppendEnds(const std::string& timeText) {
        index_.Append(FillTemplate(generator_.Setting(SYL_HTML_INDEX_FILE_END),
                                   {{placeholder::kIndexEnd, EndMarker()},
                                    {placeholder::kFont, font_},
                                    {placeholder::kDateTime, timeText}}));
        frame_.Append(FillTemplate(generator_.Setting(SYL_HTML_INDEX_FILE_FRAME_END),
                                   {{placeholder::kIndexEnd, EndMarker()},
                                    {placeholder::kFont, font_},
                                    {placeholder::kDateTime, timeText},
                                    {placeholder::kLinkedFile, backLink_}}));
    }

  private:
    const std::string& BeginMarker() const { return generator_.Setting(SYL_Q_HTML_INDEX_BEGIN); }
    const std::string& EndMarker() const { return generator_.Setting(SYL_Q_HTML_INDEX_END); }

    static std::string DropDownEntry(const CSylItem& item) {
        std::string shown = item.name;
        if (shown.size() > kDropDownNameLimit) {
            shown.resize(kDropDownNameLimit);
            shown.append(kCutMark);
        }
        return FillTemplate(kDropDownEntry,
                            {{placeholder::kLinkedFile, LinkTarget(item.PageFile())},
                             {placeholder::kLinkName, shown}});
    }

    // `rowTemplate` with the item's marker image, when the images are installed.
    std::string WithImage(std::string_view rowTemplate, const CSylItem& item) const {
        if (!markerImages_) {
            return std::string(rowTemplate);
        }
        return FillTemplate(
            rowTemplate, {{placeholder::kGifFile, item.isPublic == 1 ? kGreenImage : kRedImage}});
    }

    std::string IndexRow(const CSylItem& item) const {
        return FillTemplate(WithImage(indexRowTemplate_, item),
                            {{placeholder::kFont, font_},
                             {placeholder::kLinkedFile, LinkTarget(item.PageFile())},
                             {placeholder::kLinkName, item.name},
                             {placeholder::kShortDesc, item.ShortDescription()}});
    }

    std::string FrameRow(const CSylItem& item) const {
        return FillTemplate(WithImage(frameRowTemplate_, item),
                            {{placeholder::kFont, font_},
                             {placeholder::kLinkedFile, LinkTarget(item.PageFile())},
                             {placeholder::kLinkName, item.name}});
    }

    void AppendGaps(int count, bool lineEnds) {
        for (int i = 0; i < count; ++i) {
            index_.Append(gapRow_);
            frame_.Append(kFrameGap);
            if (lineEnds) {
                index_.Append("\n");
                frame_.Append("\n");
            }
        }
    }

    void AppendGroupHeadings(std::string_view name) {
        index_.Append(FillTemplate(groupRow_, {{placeholder::kLinkName, name}}));
        frame_.Append(FillTemplate(frameGroupHeading_, {{placeholder::kLinkName, name}}));
    }

    static void AppendLine(BufferedOutputFile& file, std::string_view text) {
        file.Append(text);
        file.Append("\n");
    }

    const CZTScanSource& generator_;
    BufferedOutputFile& index_;
    BufferedOutputFile& frame_;
    const std::string& font_;
    const std::string backLink_;
    const std::string gapRow_;
    const std::string groupRow_;
    const std::string frameGroupHeading_;
    const bool markerImages_;
    const std::string_view indexRowTemplate_;
    const std::string_view frameRowTemplate_;
    SortedRows dropDownRows_;
    std::deque<const CSylItem*> dropDownItems_;  // the item of each drop-down entry
    SortedRows alphaIndexRows_;
    SortedRows alphaFrameRows_;
    std::deque<const CSylItem*> alphaItems_;  // the item of each row of both lists
    std::string lastGroup_;
    int currentInitial_ = kNoInitial;
    bool firstItem_ = true;
};

// Both index pages, written by Write; what the stage reports about them stays here for
// Report. Write reads the generator and its items and changes nothing but the two files, so it
// may run on a thread of its own while nothing changes the items.
class ProjectIndexPages {
  public:
    explicit ProjectIndexPages(const CZTScanSource& generator)
        : generator_(generator), pages_(generator, index_, frame_) {}

    void Write() {
        const std::string timeText = CZTTime::Now().GetTimeAsString();
        // The pages are written while they are assembled. Whether they could be written is
        // reported at the end, where a page assembled whole would have been written: a page that
        // cannot be created ends the stage (the index frame is not even created when the index
        // page cannot be), one that is created but not written whole is reported and the stage
        // goes on.
        if (index_.Open(generator_.projectIndexFile).ok()) {
            (void)frame_.Open(generator_.frameIndexFile);
        }
        pages_.AppendHeads();
        progressSteps_ += pages_.AppendDropDown();
        for (const std::unique_ptr<CSylItem>& slot : generator_.items) {
            if (!slot) {
                continue;
            }
            ++progressSteps_;
            if (PassesTypeFilter(generator_, *slot)) {
                pages_.AppendItem(*slot);
            }
        }
        if (generator_.options.alphaIndex != 0) {
            pages_.AppendAlphabeticalIndex();
        }
        pages_.AppendEnds(timeText);
        indexWritten_ = index_.Close();
        frameWritten_ = frame_.Close();
    }

    // The stage's protocol, progress and failures, in the order of a stage that assembles the
    // pages first and writes them at its end; then the frame set. Returns the stage's result.
    int Report(CZTScanSource& generator) const {
        generator.ProgressStatus(kProgressStatus);
        // Even a run that found no item writes the three pages: the master index record that
        // the run adds next links to the frame set, and must not lead nowhere.
        generator.Protocol("");
        generator.Protocol(FormatLine(
            kCreatingIndex,
            {CZTString(generator.projectIndexFile).GetFilename(), generator.projectName}));
        for (int step = 0; step < progressSteps_; ++step) {
            generator.AdvanceProgress();
        }
        if (generator.options.alphaIndex != 0) {
            generator.Protocol(kAddingAlphaIndex);
        }
        for (auto [written, path] : {std::pair{&indexWritten_, &generator.projectIndexFile},
                                     std::pair{&frameWritten_, &generator.frameIndexFile}}) {
            ReportOutputStatus(generator, *path, *written, kIndexOpenFailure);
            if (written->code() == Status::Code::kOpenFailed) {
                return -1;
            }
        }
        generator.WriteFrameSet(generator.projectName);
        return static_cast<int>(generator.items.size());
    }

  private:
    const CZTScanSource& generator_;
    BufferedOutputFile index_;
    BufferedOutputFile frame_;
    IndexPages pages_;
    int progressSteps_ = 0;
    Status indexWritten_;
    Status frameWritten_;
};

}  // namespace

int CZTScanSource::WriteProjectIndex() {
    ProjectIndexPages pages(*this);
    pages.Write();
    return pages.Report(*this);
}

void CZTScanSource::WritePages() {
    if (threadCount <= 1) {
        WriteDescriptionPages();
        WriteProjectIndex();
        return;
    }
    // The index pages need nothing of the description pages: they are written meanwhile, by a
    // thread of their own, and reported after them as if written after them.
    Keywords();
    ProjectIndexPages index(*this);
    std::thread indexWriter([&index] { index.Write(); });
    WriteDescriptionPages();
    indexWriter.join();
    index.Report(*this);
}

int CZTScanSource::WriteFrameSet(const std::string& name) {
    Protocol(FormatLine(kGeneratingFrameSet, {frameFile}));
    CZTString directoryName(name);
    directoryName.ReplaceInvalidFilenameChars('_');
    std::string frameSet;
    AppendLine(frameSet, FillTemplate(Setting(SYL_HTML_FRAME_SET),
                                      {{placeholder::kHtmlTitle, name},
                                       {placeholder::kLinkedIndexFile,
                                        LinkTarget(directoryName + std::string(kFrameIndexSuffix) +
                                                   std::string(kPageExtension))},
                                       {placeholder::kLinkedDetailsFile,
                                        LinkTarget(directoryName + std::string(kPageExtension))}}));
    return WriteOutputFile(*this, frameFile, frameSet, kFrameSetOpenFailure, WriteWholeFile).ok()
               ? 1
               : 0;
}

}  // namespace sylva
