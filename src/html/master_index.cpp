// The master index: the page in the output directory that lists every project generated there,
// and at the same time the only record of which projects exist. Each project is one record line
// between the begin and the end marker; the page is never edited in place but read back record
// by record and written anew from the templates.
//
// Losing the page would lose every project of the directory, so a change holds an exclusive lock
// on the output directory from reading the page to replacing it (two runs adding projects to one
// directory keep both), and the new page replaces the old one atomically (a crash or a full disk
// leaves the old page whole). A page that is a symbolic link is never changed: the new page would
// land wherever the link points, and whoever can plant a link in a shared output directory would
// choose which of the user's files is overwritten.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "engine/scan_source.h"
#include "html/output_files.h"
#include "html/placeholders.h"
#include "support/atomic_file.h"
#include "support/file_lock.h"
#include "support/line_reader.h"
#include "support/link_target.h"
#include "support/text_format.h"
#include "support/zt_string.h"
#include "support/zt_system.h"
#include "support/zt_time.h"

namespace sylva {

namespace {

constexpr std::string_view kReadingIndex = "  Read HTML master index %s.";
constexpr std::string_view kNoPreviousIndex = "  There is no previous master index file.";
constexpr std::string_view kUnreadableIndex =
    "  ERROR: Cannot read master index %s, it is left unchanged !";
constexpr std::string_view kLinkedIndex =
    "  ERROR: Master index %s is a symbolic link, it and the file it names are left unchanged !";
constexpr std::string_view kLockFailure =
    "  WARNING: Cannot lock master index %s (%s), it is changed without lock.";
constexpr std::string_view kProgressStatus = "Generate master index...";
constexpr std::string_view kCurrentItems = "  Current items in main header: %d";
constexpr std::string_view kAlreadyListed = "  Project is already in main index, update link!";
constexpr std::string_view kAddingRecord =
    "  Add HTML index link to master index %s for project %s.";
constexpr std::string_view kRecreatingIndex =
    "  Recreate HTML index link to master index %s for project %s.";
constexpr std::string_view kOpenFailure = "  ERROR: Cannot access file %s !";
constexpr std::string_view kUnreadableRecord =
    "  ERROR: Project %s cannot be listed in master index %s: its record would not be read back "
    "(it holds an index marker or is a gap line) !";

constexpr std::string_view kPageTitle = "Sylva MAIN INDEX";
constexpr std::string_view kPageHeading = "Sylva Main Index";
// Lines the page writes itself between the records; they are dropped when it is read.
constexpr std::string_view kAddGapPrefix = "<!---->";
constexpr std::string_view kRemoveGapLine = "<BR>";
constexpr std::string_view kRemoveGap = "<BR>\n";
constexpr std::string_view kEmptyGapDescription = "&nbsp;";
constexpr std::string_view kLinkAttribute = "href=\"";
constexpr std::string_view kFrameSetSuffix = "_frame";
constexpr std::string_view kPageExtension = ".HTML";

constexpr int kNoInitial = -1;

std::string MasterIndexPath(const std::string& output, const std::string& indexName) {
    return output + "/" + indexName;
}

// The key by which a project's record is found: the record begins with it.
std::string RecordKey(std::string_view name) {
    return FormatLine("<!--%s-->", {name});
}

// A record is one line: line breaks in a value become single spaces.
std::string OnOneLine(std::string_view text) {
    CZTString line(text);
    line.FindReplace("\r\n", " ");
    line.FindReplace('\n', ' ');
    line.FindReplace('\r', ' ');
    return line;
}

// The first byte of the record's link target, ASCII letters in upper case.
int InitialOf(const std::string& record) {
    CZTString target = CZTString(record).GetField(kLinkAttribute, 1);
    return target.empty() ? kNoInitial : static_cast<unsigned char>(AsciiUpper(target.front()));
}

// Appends the records of the page at `path` to `records`. Returns their number (0 when there is
// no page), or nothing when a page exists but cannot be read whole: rewriting it would lose its
// records.
std::optional<int> ReadRecords(CZTScanSource& generator, CZTStringArray& records,
                               const std::string& path) {
    generator.Protocol("");
    generator.Protocol(FormatLine(kReadingIndex, {path}));
    LineReader reader;
    if (!reader.Open(path)) {
        if (CZTSystem::FileExist(path)) {
            generator.ProtocolFailure(FormatLine(kUnreadableIndex, {path}));
            return std::nullopt;
        }
        generator.Protocol(kNoPreviousIndex);
        return 0;
    }
    const std::string& beginMarker = generator.Setting(SYL_Q_HTML_INDEX_BEGIN);
    const std::string& endMarker = generator.Setting(SYL_Q_HTML_INDEX_END);
    int count = 0;
    bool inside = false;
    std::string text;
    while (reader.ReadLine(text)) {
        // Carriage returns at the end of a line belong to its line end, whatever their number:
        // the page is written back with plain line ends, so a record keeping them would be read
        // differently the next time (a "<BR>" + CR record would become a gap and be lost).
        std::string_view line = TrimRightView(text, "\r");
        if (line.empty() || EqualsNoCase(line, kRemoveGapLine) || line.starts_with(kAddGapPrefix)) {
            continue;
        }
        if (line.find(beginMarker) != std::string::npos) {
            inside = true;
        } else if (line.find(endMarker) != std::string::npos) {
            inside = false;
        } else if (inside) {
            records.Add(std::string(line));
            ++count;
        }
    }
    if (reader.readError() != 0) {
        generator.ProtocolFailure(FormatLine(kUnreadableIndex, {path}));
        return std::nullopt;
    }
    return count;
}

// True when `record`, written as a line of the page, is read back as that same record: it is
// neither a line the reading skips as a gap nor a line it takes for a marker. A record that
// holds the end marker would even hide every record after it.
bool ReadsBackAsRecord(const CZTScanSource& generator, std::string_view record) {
    return !record.empty() && !EqualsNoCase(record, kRemoveGapLine) &&
           !record.starts_with(kAddGapPrefix) &&
           record.find(generator.Setting(SYL_Q_HTML_INDEX_BEGIN)) == std::string_view::npos &&
           record.find(generator.Setting(SYL_Q_HTML_INDEX_END)) == std::string_view::npos;
}

// Removes the record of project `name`, if listed; returns whether there was one.
bool RemoveRecord(const CZTScanSource& generator, CZTStringArray& records, std::string_view name) {
    int at = records.Find(RecordKey(name), true, false);
    if (at < 0) {
        return false;
    }
    records.RemoveAt(at);
    generator.Protocol(kAlreadyListed);
    return true;
}

// The whole page: head, the records with `gap` between runs of different initials, tail. With
// `progressOwner`, each record advances that generator's progress.
std::string BuildPage(const CZTScanSource& generator, const CZTStringArray& records,
                      std::string_view gap, CZTScanSource* progressOwner) {
    const std::string& font = generator.Setting(SYL_STD_FONT_HEADER);
    std::string page;
    AppendLine(page, FillTemplate(
                         generator.Setting(SYL_HTML_MS_INDEX_FILE_START),
                         {{placeholder::kFont, font},
                          {placeholder::kHtmlTitle, kPageTitle},
                          {placeholder::kFncTitle, kPageHeading},
                          {placeholder::kIndexBegin, generator.Setting(SYL_Q_HTML_INDEX_BEGIN)}}));
    int currentInitial = kNoInitial;
    for (int i = 0; i < records.GetSize(); ++i) {
        if (progressOwner != nullptr) {
            progressOwner->AdvanceProgress();
        }
        int initial = InitialOf(records.GetAt(i));
        if (i == 0) {
            currentInitial = initial;
        } else if (initial != kNoInitial && initial != currentInitial) {
            AppendLine(page, gap);
            currentInitial = initial;
        }
        AppendLine(page, records.GetAt(i));
    }
    AppendLine(page,
               FillTemplate(generator.Setting(SYL_HTML_MS_INDEX_FILE_END),
                            {{placeholder::kIndexEnd, generator.Setting(SYL_Q_HTML_INDEX_END)},
                             {placeholder::kFont, font},
                             {placeholder::kDateTime, CZTTime::Now().GetTimeAsString()}}));
    return page;
}

// A lock that cannot be had is reported, and the change goes on as it would without any other
// writer. Under the lock, what writers killed earlier left behind is cleared away.
void PrepareChange(const CZTScanSource& generator, const std::string& path, const FileLock& lock) {
    if (!lock.locked()) {
        generator.Protocol(FormatLine(kLockFailure, {path, lock.error()}));
        return;
    }
    RemoveAbandonedTemporaries(path);
}

// True, after reporting the failure, when the page at `path` is a symbolic link and so must not
// be replaced. Reading through a link is harmless and stays allowed (ReadMasterIndex).
bool RefuseLinkedPage(CZTScanSource& generator, const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return false;
    }
    generator.ProtocolFailure(FormatLine(kLinkedIndex, {path}));
    return true;
}

// Replaces the page; -1 when it was not replaced (the old page then stays as it was).
int WritePage(CZTScanSource& generator, const std::string& path, const std::string& page,
              int recordCount) {
    return WriteOutputFile(generator, path, page, kOpenFailure, ReplaceFileAtomically).ok()
               ? recordCount
               : -1;
}

}  // namespace

int CZTScanSource::ReadMasterIndex(CZTStringArray& records, const std::string& path) {
    return ReadRecords(*this, records, path).value_or(0);
}

int CZTScanSource::AddToMasterIndex(CZTStringArray& records, const std::string& indexName,
                                    const std::string& name, const std::string& linkTarget,
                                    const std::string& description, const std::string& output) {
    ProgressStatus(kProgressStatus);
    const std::string path = MasterIndexPath(output, indexName);
    const FileLock lock(path);
    PrepareChange(*this, path, lock);
    if (RefuseLinkedPage(*this, path)) {
        return -1;
    }
    std::optional<int> read = ReadRecords(*this, records, path);
    if (!read) {
        return -1;
    }
    Protocol(FormatLine(kCurrentItems, {std::to_string(*read)}));

    CZTString directoryName(name);
    directoryName.ReplaceInvalidFilenameChars('_');
    // A foreign index's address is the user's own and is taken as given.
    const std::string link =
        linkTarget.empty() ? LinkTarget(directoryName + "/" + directoryName +
                                        std::string(kFrameSetSuffix) + std::string(kPageExtension))
                           : linkTarget;
    const std::string recordName = OnOneLine(name);
    std::string record = FillTemplate(Setting(SYL_HTML_MS_STD_LINK),
                                      {{placeholder::kLinkedFile, OnOneLine(link)},
                                       {placeholder::kLinkName, recordName},
                                       {placeholder::kFont, Setting(SYL_STD_FONT_HEADER)},
                                       {placeholder::kShortDesc, OnOneLine(description)}});
    const std::string gap = FillTemplate(Setting(SYL_HTML_MS_STD_LINK),
                                         {{placeholder::kLinkedFile, ""},
                                          {placeholder::kLinkName, ""},
                                          {placeholder::kFont, ""},
                                          {placeholder::kShortDesc, kEmptyGapDescription}});
    if (!ReadsBackAsRecord(*this, record)) {
        ProtocolFailure(FormatLine(kUnreadableRecord, {name, path}));
        return -1;
    }
    RemoveRecord(*this, records, recordName);
    records.Add(std::move(record), true, true);
    Protocol(FormatLine(kAddingRecord, {indexName, name}));
    return WritePage(*this, path, BuildPage(*this, records, gap, this), records.GetSize());
}

int CZTScanSource::RemoveFromMasterIndex(const std::string& indexName, const std::string& name,
                                         const std::string& output) {
    const std::string path = MasterIndexPath(output, indexName);
    const FileLock lock(path);
    PrepareChange(*this, path, lock);
    if (RefuseLinkedPage(*this, path)) {
        return -1;
    }
    CZTStringArray records;
    std::optional<int> read = ReadRecords(*this, records, path);
    if (!read) {
        return -1;
    }
    Protocol(FormatLine(kCurrentItems, {std::to_string(*read)}));
    bool removed = RemoveRecord(*this, records, OnOneLine(name));
    if (records.IsEmpty() && !removed) {
        return 0;
    }
    Protocol(FormatLine(kRecreatingIndex, {indexName, name}));
    return WritePage(*this, path, BuildPage(*this, records, kRemoveGap, nullptr),
                     records.GetSize());
}

}  // namespace sylva
