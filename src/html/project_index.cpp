// The project's own pages: the project index page (every item under its group, with a gap
// between runs of different initials, and optionally an alphabetical index), the narrow index
// frame with its drop-down list and "back" link, and the frame set that is the project's entry
// point and that the master index links to.
//
// Both index pages are assembled in memory in one pass over the items and written whole.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "engine/scan_source.h"
#include "html/output_files.h"
#include "html/placeholders.h"
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
constexpr std::string_view kFrameSet =
    "<HTML>\n"
    "<HEAD>\n"
    "<TITLE>[HtmlTitle]</TITLE></HEAD>\n"
    "<FRAMESET COLS=\"240,*\" ONUNLOAD=\"0\">\n"
    "<FRAME SRC=\"[LinkedIndexFile]\" NAME=\"Index\" MARGINWIDTH=\"2\" MARGINHEIGHT=\"2\">\n"
    "<FRAME SRC=\"[LinkedDetailsFile]\" NAME=\"Details\">\n"
    "<NOFRAMES><BODY><basefont size=2></BODY></NOFRAMES></FRAMESET></HTML>";
constexpr std::string_view kAlphaIndexHeading = "Index";
constexpr std::string_view kFrameIndexSuffix = "_frameidx";
constexpr std::string_view kPageExtension = ".HTML";
// Longer names are cut in the drop-down list, which the narrow frame must hold.
constexpr std::size_t kDropDownNameLimit = 20;
constexpr std::string_view kCutMark = "...";

constexpr int kNoInitial = -1;

// The order of a list filled by sorted adds: ascending byte order of the complete text. Sorting
// once at the end gives it without moving the list on every add, which large projects cannot
// afford.
void SortAscending(std::vector<std::string>& rows) {
    std::sort(rows.begin(), rows.end());
}

// The first byte of the member name, ASCII letters in upper case; kNoInitial for an empty name.
int InitialOf(std::string_view memberName) {
    return memberName.empty() ? kNoInitial
                              : static_cast<unsigned char>(AsciiUpper(memberName.front()));
}

// The two index pages while they are being assembled, and the rows that recur in them.
class IndexPages {
  public:
    explicit IndexPages(const CZTScanSource& generator)
        : generator_(generator),
          font_(generator.Setting(SYL_STD_FONT_HEADER)),
          backLink_(LinkTarget("../" + generator.masterIndexName)),
          gapRow_(FillTemplate(generator.Setting(SYL_HTML_STD_INDEX_LINK_GROUP),
                               {{placeholder::kFont, font_}, {placeholder::kLinkName, ""}})),
          groupRow_(FillTemplate(generator.Setting(SYL_HTML_STD_INDEX_LINK_GROUP),
                                 {{placeholder::kFont, font_}})),
          frameGroupHeading_(FillTemplate(kFrameGroupHeading, {{placeholder::kFont, font_}})),
          markerImages_(MarkerImagesInstalled(generator.outputPath)) {}

    const std::string& index() const { return index_; }
    const std::string& frame() const { return frame_; }

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
    // a place for them; then the end of the form, always.
    void AppendDropDown(CZTScanSource& progress) {
        if (generator_.Setting(SYL_HTML_INDEX_FILE_FRAME_START)
                .find(placeholder::kListSearchEntries) != std::string::npos) {
            std::vector<std::string> entries;
            for (const std::unique_ptr<CSylItem>& slot : generator_.items) {
                if (!slot) {
                    continue;
                }
                progress.AdvanceProgress();
                std::string shown = slot->name;
                if (shown.size() > kDropDownNameLimit) {
                    shown.resize(kDropDownNameLimit);
                    shown.append(kCutMark);
                }
                entries.push_back(FillTemplate(
                    kDropDownEntry, {{placeholder::kLinkedFile, LinkTarget(slot->PageFile())},
                                     {placeholder::kLinkName, shown}}));
            }
            SortAscending(entries);
            for (const std::string& entry : entries) {
                AppendLine(frame_, entry);
            }
        }
        frame_.append(FillTemplate(kFormEnd, {{placeholder::kIndexBegin, BeginMarker()}}));
    }

    // One item: a group heading when its group begins, else a gap when its initial differs from
    // the one before; then its rows.
    void AppendItem(const CSylItem& item) {
        std::string indexRow =
            ItemRow(item, markerImages_ ? SYL_HTML_STD_INDEX_LINK_GIF : SYL_HTML_STD_INDEX_LINK);
        std::string frameRow = FrameRow(item);
        if (generator_.options.alphaIndex != 0) {
            alphaIndexRows_.push_back(indexRow);
            alphaFrameRows_.push_back(frameRow);
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
        SortAscending(alphaIndexRows_);
        SortAscending(alphaFrameRows_);
        for (std::size_t i = 0; i < alphaIndexRows_.size(); ++i) {
            index_.append(alphaIndexRows_[i]);
            frame_.append(alphaFrameRows_[i]);
        }
    }

    void AppendEnds(const std::string& timeText) {
        index_.append(FillTemplate(generator_.Setting(SYL_HTML_INDEX_FILE_END),
                                   {{placeholder::kIndexEnd, EndMarker()},
                                    {placeholder::kFont, font_},
                                    {placeholder::kDateTime, timeText}}));
        frame_.append(FillTemplate(generator_.Setting(SYL_HTML_INDEX_FILE_FRAME_END),
                                   {{placeholder::kIndexEnd, EndMarker()},
                                    {placeholder::kFont, font_},
                                    {placeholder::kDateTime, timeText},
                                    {placeholder::kLinkedFile, backLink_}}));
    }

  private:
    const std::string& BeginMarker() const { return generator_.Setting(SYL_Q_HTML_INDEX_BEGIN); }
    const std::string& EndMarker() const { return generator_.Setting(SYL_Q_HTML_INDEX_END); }

    std::string_view ImageOf(const CSylItem& item) const {
        return item.isPublic == 1 ? kGreenImage : kRedImage;
    }

    std::string ItemRow(const CSylItem& item, SettingId rowTemplate) const {
        std::string row = generator_.Setting(rowTemplate);
        if (markerImages_) {
            row = FillTemplate(row, {{placeholder::kGifFile, ImageOf(item)}});
        }
        return FillTemplate(row, {{placeholder::kFont, font_},
                                  {placeholder::kLinkedFile, LinkTarget(item.PageFile())},
                                  {placeholder::kLinkName, item.name},
                                  {placeholder::kShortDesc, item.shortDesc}});
    }

    std::string FrameRow(const CSylItem& item) const {
        std::string row(markerImages_ ? kFrameRowWithImage : kFrameRow);
        if (markerImages_) {
            row = FillTemplate(row, {{placeholder::kGifFile, ImageOf(item)}});
        }
        return FillTemplate(row, {{placeholder::kFont, font_},
                                  {placeholder::kLinkedFile, LinkTarget(item.PageFile())},
                                  {placeholder::kLinkName, item.name}});
    }

    void AppendGaps(int count, bool lineEnds) {
        for (int i = 0; i < count; ++i) {
            index_.append(gapRow_);
            frame_.append(kFrameGap);
            if (lineEnds) {
                index_.push_back('\n');
                frame_.push_back('\n');
            }
        }
    }

    void AppendGroupHeadings(std::string_view name) {
        index_.append(FillTemplate(groupRow_, {{placeholder::kLinkName, name}}));
        frame_.append(FillTemplate(frameGroupHeading_, {{placeholder::kLinkName, name}}));
    }

    const CZTScanSource& generator_;
    const std::string& font_;
    const std::string backLink_;
    const std::string gapRow_;
    const std::string groupRow_;
    const std::string frameGroupHeading_;
    const bool markerImages_;
    std::string index_;
    std::string frame_;
    std::vector<std::string> alphaIndexRows_;
    std::vector<std::string> alphaFrameRows_;
    std::string lastGroup_;
    int currentInitial_ = kNoInitial;
    bool firstItem_ = true;
};

}  // namespace

int CZTScanSource::WriteProjectIndex() {
    const std::string timeText = CZTTime::Now().GetTimeAsString();
    ProgressStatus(kProgressStatus);
    // Even a run that found no item writes the three pages: the master index record that the
    // run adds next links to the frame set, and must not lead nowhere.
    IndexPages pages(*this);
    Protocol("");
    Protocol(FormatLine(kCreatingIndex, {CZTString(projectIndexFile).GetFilename(), projectName}));
    pages.AppendHeads();
    pages.AppendDropDown(*this);
    for (const std::unique_ptr<CSylItem>& slot : items) {
        if (!slot) {
            continue;
        }
        AdvanceProgress();
        if (PassesTypeFilter(*this, *slot)) {
            pages.AppendItem(*slot);
        }
    }
    if (options.alphaIndex != 0) {
        Protocol(kAddingAlphaIndex);
        pages.AppendAlphabeticalIndex();
    }
    pages.AppendEnds(timeText);

    // A page that cannot be created ends the stage; one that is created but not written whole is
    // reported and the stage goes on.
    auto cannotCreate = [this](const std::string& path, const std::string& content) {
        return WriteOutputFile(*this, path, content, kIndexOpenFailure, WriteWholeFile).code() ==
               Status::Code::kOpenFailed;
    };
    if (cannotCreate(projectIndexFile, pages.index()) ||
        cannotCreate(frameIndexFile, pages.frame())) {
        return -1;
    }
    WriteFrameSet(projectName);
    return static_cast<int>(items.size());
}

int CZTScanSource::WriteFrameSet(const std::string& name) {
    Protocol(FormatLine(kGeneratingFrameSet, {frameFile}));
    CZTString directoryName(name);
    directoryName.ReplaceInvalidFilenameChars('_');
    std::string frameSet;
    AppendLine(frameSet, FillTemplate(kFrameSet,
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
