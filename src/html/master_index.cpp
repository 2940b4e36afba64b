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
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "html/output_files.h"
#include "html/page_names.h"
#include "html/placeholders.h"
#include "html/site_entry.h"
#include "support/atomic_file.h"
#include "support/file_lock.h"
#include "support/line_reader.h"
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
// The part of a record that keeps its fields for reading back.
constexpr std::string_view kRecordFieldsStart = "<!--DESC:";
constexpr std::string_view kRecordFieldsEnd = "DESCEND-->";

constexpr int kNoInitial = -1;

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
std::optional<int> ReadRecords(const Settings& settings, Reporter& reporter,
                               CZTStringArray& records, const std::string& path) {
    reporter.Protocol("");
    reporter.Protocol(FormatLine(kReadingIndex, {path}));
    LineReader reader;
    if (!reader.Open(path)) {
        if (CZTSystem::FileExist(path)) {
            reporter.Failure(FormatLine(kUnreadableIndex, {path}));
            return std::nullopt;
        }
        reporter.Protocol(kNoPreviousIndex);
        return 0;
    }
    const std::string& beginMarker = settings[SYL_Q_HTML_INDEX_BEGIN];
    const std::string& endMarker = settings[SYL_Q_HTML_INDEX_END];
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
        reporter.Failure(FormatLine(kUnreadableIndex, {path}));
        return std::nullopt;
    }
    return count;
}

// True when `record`, written as a line of the page, is read back as that same record: it is
// neither a line the reading skips as a gap nor a line it takes for a marker. A record that
// holds the end marker would even hide every record after it.
bool ReadsBackAsRecord(const Settings& settings, std::string_view record) {
    return !record.empty() && !EqualsNoCase(record, kRemoveGapLine) &&
           !record.starts_with(kAddGapPrefix) &&
           record.find(settings[SYL_Q_HTML_INDEX_BEGIN]) == std::string_view::npos &&
           record.find(settings[SYL_Q_HTML_INDEX_END]) == std::string_view::npos;
}

// Removes the record of project `name`, if listed; returns whether there was one.
bool RemoveRecord(const Reporter& reporter, CZTStringArray& records, std::string_view name) {
    int at = records.Find(RecordKey(name), true, false);
    if (at < 0) {
        return false;
    }
    records.RemoveAt(at);
    reporter.Protocol(kAlreadyListed);
    return true;
}

// A date of the length of every date, told apart from any real one in every byte.
constexpr std::string_view kOtherDate = "#########|#########";

// The whole page: head, the records with `gap` between runs of different initials, tail. With
// `progress`, each record advances it.
std::string BuildPage(const Settings& settings, const CZTStringArray& records, std::string_view gap,
                      Reporter* progress, std::string_view timeText) {
    const std::string& font = settings[SYL_STD_FONT_HEADER];
    std::string page;
    AppendLine(page, FillTemplate(settings[SYL_HTML_MS_INDEX_FILE_START],
                                  {{placeholder::kFont, font},
                                   {placeholder::kHtmlTitle, kPageTitle},
                                   {placeholder::kFncTitle, kPageHeading},
                                   {placeholder::kIndexBegin, settings[SYL_Q_HTML_INDEX_BEGIN]}}));
    int currentInitial = kNoInitial;
    for (int i = 0; i < records.GetSize(); ++i) {
        if (progress != nullptr) {
            progress->Advance();
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
    AppendLine(page, FillTemplate(settings[SYL_HTML_MS_INDEX_FILE_END],
                                  {{placeholder::kIndexEnd, settings[SYL_Q_HTML_INDEX_END]},
                                   {placeholder::kFont, font},
                                   {placeholder::kDateTime, timeText}}));
    return page;
}

// True when the page at `path` already holds `page`, or, unless the run's date is fixed
// (SOURCE_DATE_EPOCH), holds it but for its date: `otherDate` is the page with another date, so
// the bytes where the two differ are the date's. Such a page is left as it is, so that a run
// that changes nothing in it leaves its time and inode.
bool HoldsPage(const std::string& path, const std::string& page, const std::string& otherDate) {
    std::string old;
    LineReader reader;
    if (!reader.Open(path) || !reader.ReadRest(old) || old.size() != page.size()) {
        return false;
    }
    if (old == page) {
        return true;
    }
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if ((epoch != nullptr && *epoch != '\0') || otherDate.size() != page.size()) {
        return false;
    }
    for (std::size_t i = 0; i < old.size(); ++i) {
        if (old[i] != page[i] && page[i] == otherDate[i]) {
            return false;
        }
    }
    return true;
}

// A lock that cannot be had is reported, and the change goes on as it would without any other
// writer. Under the lock, what writers killed earlier left behind is cleared away.
void PrepareChange(const Reporter& reporter, const std::string& path, const FileLock& lock) {
    if (!lock.locked()) {
        reporter.Protocol(FormatLine(kLockFailure, {path, lock.error()}));
        return;
    }
    RemoveAbandonedTemporaries(path);
}

// True, after reporting the failure, when the page at `path` is a symbolic link and so must not
// be replaced. Reading through a link is harmless and stays allowed (ReadMasterIndex).
bool RefuseLinkedPage(Reporter& reporter, const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return false;
    }
    reporter.Failure(FormatLine(kLinkedIndex, {path}));
    return true;
}

// Replaces the page; -1 when it was not replaced (the old page then stays as it was).
int WritePage(Reporter& reporter, const std::string& path, const std::string& page,
              int recordCount) {
    return WriteOutputFile(reporter, path, page, kOpenFailure, ReplaceFileAtomically).ok()
               ? recordCount
               : -1;
}

}  // namespace

std::string MasterIndexPath(std::string_view outputPath, std::string_view indexName) {
    std::string path(outputPath);
    path.push_back('/');
    path.append(indexName);
    return path;
}

std::optional<int> ReadMasterIndex(const Settings& settings, Reporter& reporter,
                                   const std::string& path, CZTStringArray& records) {
    return ReadRecords(settings, reporter, records, path);
}

int AddToMasterIndex(const Settings& settings, Reporter& reporter, const std::string& outputPath,
                     const std::string& indexName, const MasterIndexEntry& entry) {
    reporter.Status(kProgressStatus);
    const std::string path = MasterIndexPath(outputPath, indexName);
    const FileLock lock(path);
    PrepareChange(reporter, path, lock);
    if (RefuseLinkedPage(reporter, path)) {
        return -1;
    }
    CZTStringArray records;
    std::optional<int> read = ReadRecords(settings, reporter, records, path);
    if (!read) {
        return -1;
    }
    reporter.Protocol(FormatLine(kCurrentItems, {std::to_string(*read)}));

    // A foreign index's address is the user's own and is taken as given.
    const std::string directoryName = ProjectDirectoryName(entry.name);
    const std::string link = entry.linkTarget.empty()
                                 ? LinkTarget(directoryName + "/" + FrameSetFile(directoryName))
                                 : entry.linkTarget;
    const std::string recordName = OnOneLine(entry.name);
    std::string record = FillTemplate(settings[SYL_HTML_MS_STD_LINK],
                                      {{placeholder::kLinkedFile, OnOneLine(link)},
                                       {placeholder::kLinkName, recordName},
                                       {placeholder::kFont, settings[SYL_STD_FONT_HEADER]},
                                       {placeholder::kShortDesc, OnOneLine(entry.description)}});
    const std::string gap = FillTemplate(settings[SYL_HTML_MS_STD_LINK],
                                         {{placeholder::kLinkedFile, ""},
                                          {placeholder::kLinkName, ""},
                                          {placeholder::kFont, ""},
                                          {placeholder::kShortDesc, kEmptyGapDescription}});
    if (!ReadsBackAsRecord(settings, record)) {
        reporter.Failure(FormatLine(kUnreadableRecord, {entry.name, path}));
        return -1;
    }
    RemoveRecord(reporter, records, recordName);
    records.Add(std::move(record), true, true);
    reporter.Protocol(FormatLine(kAddingRecord, {indexName, entry.name}));
    const std::string page =
        BuildPage(settings, records, gap, &reporter, CZTTime::Now().GetTimeAsString());
    const int listed = HoldsPage(path, page, BuildPage(settings, records, gap, nullptr, kOtherDate))
                           ? records.GetSize()
                           : WritePage(reporter, path, page, records.GetSize());
    // Under the same lock, so that two runs never replace the entry page at once.
    if (listed >= 0) {
        WriteSiteEntry(reporter, outputPath, indexName);
    }
    return listed;
}

int RemoveFromMasterIndex(const Settings& settings, Reporter& reporter,
                          const std::string& outputPath, const std::string& indexName,
                          const std::string& name) {
    const std::string path = MasterIndexPath(outputPath, indexName);
    const FileLock lock(path);
    PrepareChange(reporter, path, lock);
    if (RefuseLinkedPage(reporter, path)) {
        return -1;
    }
    CZTStringArray records;
    std::optional<int> read = ReadRecords(settings, reporter, records, path);
    if (!read) {
        return -1;
    }
    reporter.Protocol(FormatLine(kCurrentItems, {std::to_string(*read)}));
    bool removed = RemoveRecord(reporter, records, OnOneLine(name));
    if (records.IsEmpty() && !removed) {
        return 0;
    }
    reporter.Protocol(FormatLine(kRecreatingIndex, {indexName, name}));
    return WritePage(
        reporter, path,
        BuildPage(settings, records, kRemoveGap, nullptr, CZTTime::Now().GetTimeAsString()),
        records.GetSize());
}

std::vector<std::string> MasterRecordFields(std::string_view record, std::string_view separators) {
    const CZTString fields =
        CZTString(record).GetField(kRecordFieldsStart, 1).GetField(kRecordFieldsEnd, 0);
    std::vector<std::string> split;
    std::size_t begin = 0;
    for (;;) {
        std::size_t end = fields.find_first_of(separators, begin);
        split.push_back(fields.substr(begin, end == std::string::npos ? end : end - begin));
        if (end == std::string::npos) {
            return split;
        }
        begin = end + 1;
    }
}

}  // namespace sylva
