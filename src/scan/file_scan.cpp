// Reading one source file: recognising its documentation blocks, collecting the declaration of
// each, and filing one item per completed block into the item list.
//
// The file is read in pieces of at most 999 bytes, never whole: a longer physical line arrives
// as several lines, and a file ends as soon as a read fails, which is a failure of the run.
#include <algorithm>
#include <cstring>
#include <memory>

#include "scan/block_markers.h"
#include "scan/block_text.h"
#include "scan/doxygen/reader.h"
#include "scan/item_fields.h"
#include "scan/scan.h"
#include "support/line_reader.h"
#include "support/text_format.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::size_t kPieceChars = 999;
constexpr std::size_t kMarkerChars = 5;
constexpr std::string_view kScanningLine = "  Scanning file %s...";
constexpr std::string_view kCannotAccess = "  ERROR: Cannot access file %s !";
constexpr std::string_view kFileDone = "  File done, scanned items %d.";
constexpr WarningKind kUnclosedBlock = {
    "sylva.unclosed-block",
    "documentation block not closed before the end of the file; it gives no item"};
constexpr WarningKind kNoDeclaration = {
    "sylva.no-declaration", "documentation block without a declaration; its item is named \"%s\""};
constexpr WarningKind kBinaryFile = {"sylva.binary-file",
                                     "binary file (a NUL byte in its first 8 kB); skipped"};
// Openers of doxygen comments, and what makes a line that begins with one no such comment.
constexpr std::string_view kDoxygenOpeners[] = {"/**", "/*!", "///", "//!"};
constexpr std::string_view kNoDoxygenAfter[] = {"/**/", "////"};
constexpr std::string_view kCannotReadAll = "  ERROR: Cannot read file %s completely (%s) !";

// The pieces of a file, with the 1-based number of the physical line the last one belongs to.
class PieceSource {
  public:
    explicit PieceSource(LineReader& reader) : reader_(reader) {}

    bool Next(std::string& piece) {
        if (!reader_.ReadPiece(piece, kPieceChars)) {
            return false;
        }
        if (atLineStart_) {
            ++lineNumber_;
        }
        atLineStart_ = piece.ends_with('\n');
        return true;
    }

    int lineNumber() const { return lineNumber_; }

  private:
    LineReader& reader_;
    int lineNumber_ = 0;
    bool atLineStart_ = true;
};

// The lines below a block, up to (and consuming) the first line shorter than two characters or
// opening with '{', or the end of the file; each line prefixed with "\n". Spaces are kept, so a
// line of two spaces goes on while one of a single space ends the collection.
std::string CollectDeclarationBelow(PieceSource& source, std::string& piece) {
    std::string declText;
    while (source.Next(piece)) {
        std::string_view line = TrimRightView(piece, "\n");
        if (line.size() < 2 || line.front() == '{') {
            break;
        }
        declText.push_back('\n');
        declText.append(line);
    }
    return declText;
}

// True iff the `kMarkerChars` characters of `marker` occur anywhere in `markerList`.
bool MarkerListHolds(std::string_view markerList, std::string_view marker) {
    return marker.size() == kMarkerChars && markerList.find(marker) != std::string_view::npos;
}

void AnnounceFile(Reporter& reporter, const std::string& path) {
    reporter.Status(FormatLine(kScanningFileStatus, {path}));
    reporter.Advance();
    reporter.Protocol(FormatLine(kScanningLine, {CZTString(path).GetFilename()}));
}

// Files one item per completed block of the open `reader`; returns their number.
int ScanPieces(ScanJob& job, LineReader& reader, const std::string& path, CZTTime lastWrite) {
    Reporter& reporter = job.reporter;
    PieceSource source(reader);
    std::string piece;
    // Invariant: outside a block, preText holds the lines since the last line of two characters
    // or fewer (or since the last item), each prefixed with "\n".
    std::string preText;
    // The lines of the current block (AppendBlockLine).
    std::string blockText;
    bool inBlock = false;
    int blockLineNumber = 0;
    int itemCount = 0;
    std::string_view sourceName;  // kept by the item list once the file has an item
    while (source.Next(piece)) {
        std::string_view line = TrimLeftView(TrimRightView(piece, "\n "), "\n");
        if (!inBlock) {
            if (IsBlockStart(job.settings, line)) {
                inBlock = true;
                blockLineNumber = source.lineNumber();
            } else if (line.size() <= 2) {
                preText.clear();
            } else {
                preText.push_back('\n');
                preText.append(line);
            }
            continue;
        }
        if (!IsBlockEnd(job.settings, line)) {
            AppendBlockLine(blockText, line);
            continue;
        }
        inBlock = false;
        reporter.Advance();
        std::string declText = CollectDeclarationBelow(source, piece);
        // The text above the block belongs to this item only: the next block starts afresh.
        std::string declaration = preText.empty() ? std::move(declText) : std::move(preText);
        preText.clear();
        if (DeclaresNothing(declaration)) {
            reporter.Warning(path, blockLineNumber, FormatLine(kNoDeclaration, {kUntitledName}));
        }
        if (sourceName.empty()) {
            sourceName = job.items.KeepSourceName(path);
        }
        job.items.Add(job.settings,
                      {declaration, blockText, lastWrite, sourceName, blockLineNumber});
        ++itemCount;
        blockText.clear();
    }
    // The blocks after the failed read are lost; those before it keep their items. A block cut
    // off by the failure is no mistake of the file's author, so only a whole file can warn of one.
    if (reader.readError() != 0) {
        reporter.Failure(FormatLine(kCannotReadAll, {path, std::strerror(reader.readError())}));
    } else if (inBlock) {
        reporter.Warning(path, blockLineNumber, kUnclosedBlock);
    }
    reporter.Protocol(FormatLine(kFileDone, {std::to_string(itemCount)}));
    return itemCount;
}

// Files one item per documented entity of the open `reader`, read whole (a Markdown file: its
// page); returns their number.
int ScanDocumented(ScanJob& job, LineReader& reader, const std::string& path, CZTTime lastWrite) {
    std::string content;
    // What was read before a failed read still gives its items.
    const bool whole = reader.ReadRest(content);
    int itemCount = IsMarkdownFile(path) ? ScanMarkdownPage(job, content, path, lastWrite)
                                         : ScanDoxygenContent(job, content, path, lastWrite);
    if (!whole) {
        job.reporter.Failure(FormatLine(kCannotReadAll, {path, std::strerror(reader.readError())}));
    }
    job.reporter.Protocol(FormatLine(kFileDone, {std::to_string(itemCount)}));
    return itemCount;
}

int ScanReader(ScanJob& job, LineReader& reader, const std::string& path, CZTTime lastWrite) {
    if (reader.HeadHoldsNul(kBinaryHeadBytes)) {
        job.reporter.Warning(path, 1, kBinaryFile);
        return kSkippedAsBinary;
    }
    return job.style == CommentStyle::kDoxygen ? ScanDocumented(job, reader, path, lastWrite)
                                               : ScanPieces(job, reader, path, lastWrite);
}

bool OpensDoxygenComment(std::string_view line) {
    const auto starts = [line](std::string_view start) { return line.starts_with(start); };
    return std::any_of(std::begin(kDoxygenOpeners), std::end(kDoxygenOpeners), starts) &&
           std::none_of(std::begin(kNoDoxygenAfter), std::end(kNoDoxygenAfter), starts);
}

}  // namespace

std::optional<int> FirstOtherStyleLine(const ScanJob& job, const std::string& path) {
    LineReader reader;
    if (!reader.Open(path) || reader.HeadHoldsNul(kBinaryHeadBytes)) {
        return std::nullopt;
    }
    PieceSource source(reader);
    std::string piece;
    while (source.Next(piece)) {
        std::string_view line = TrimRightView(piece, "\n ");
        const bool other = job.style == CommentStyle::kDoxygen
                               ? IsBlockStart(job.settings, TrimLeftView(line, "\n"))
                               : !IsBlockStart(job.settings, line) &&
                                     OpensDoxygenComment(TrimLeftView(line, " \t"));
        if (other) {
            return source.lineNumber();
        }
    }
    return std::nullopt;
}

bool IsBlockStart(const Settings& settings, std::string_view line) {
    return line.size() >= kMarkerChars &&
           MarkerListHolds(settings[SYL_DOC_BLOCK_START], line.substr(0, kMarkerChars));
}

bool IsBlockEnd(const Settings& settings, std::string_view line) {
    return line.size() >= kMarkerChars &&
           MarkerListHolds(settings[SYL_DOC_BLOCK_END], line.substr(line.size() - kMarkerChars));
}

int ScanFile(ScanJob& job, const std::string& path, CZTTime lastWrite) {
    AnnounceFile(job.reporter, path);
    LineReader reader;
    if (!reader.Open(path)) {
        job.reporter.Failure(FormatLine(kCannotAccess, {path}));
        return -1;
    }
    return ScanReader(job, reader, path, lastWrite);
}

int ScanBuffer(ScanJob& job, std::string_view content, const std::string& displayPath,
               CZTTime lastWrite) {
    AnnounceFile(job.reporter, displayPath);
    LineReader reader;
    reader.OpenBuffer(content);
    return ScanReader(job, reader, displayPath, lastWrite);
}

}  // namespace sylva
