#include "app/terminal_output.h"

#include <unistd.h>

#include "html/html.h"
#include "scan/scan.h"
#include "support/text_format.h"

namespace sylva {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr std::size_t kStatusWidth = 100;
constexpr std::string_view kWarningLine = "%s:%d: warning: %s";
constexpr std::string_view kEraseLine = "\r\033[K";
constexpr std::string_view kCountsText = "%d files scanned, %d pages written: %s";

// Whether a progress status line stands unfinished on standard error. A line written to the
// terminal erases it first, or the line would be glued to the status text (a warning would then
// no longer begin with its path); the next progress event draws the status again.
bool statusLineShown = false;

std::string Printable(std::string_view text) {
    std::string shown(text);
    for (char& ch : shown) {
        unsigned char byte = static_cast<unsigned char>(ch);
        if ((byte < 0x20 && ch != '\t' && ch != '\n') || byte == 0x7F) {
            ch = '?';
        }
    }
    return shown;
}

// The part of a status format before its "%s": what every status of that kind begins with.
constexpr std::string_view StatusKind(std::string_view format) {
    return format.substr(0, format.find("%s"));
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

void WriteTerminalLine(std::FILE* stream, std::string_view text) {
    if (statusLineShown && (stream == stderr || IsTerminal(stream))) {
        std::fwrite(kEraseLine.data(), 1, kEraseLine.size(), stderr);
        std::fflush(stderr);
        statusLineShown = false;
    }
    std::string line = IsTerminal(stream) ? Printable(text) : std::string(text);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fflush(stream);
}

TerminalProtocol::TerminalProtocol(bool verbose, bool failuresToStderr)
    : verbose_(verbose), failuresToStderr_(failuresToStderr) {}

void TerminalProtocol::AddSelString(std::string_view line, int, int) {
    if (verbose_) {
        WriteTerminalLine(stdout, line);
    }
    if (failuresToStderr_ && (line.find("ERROR:") != std::string_view::npos ||
                              line.find("WARNING:") != std::string_view::npos)) {
        WriteTerminalLine(stderr, line);
    }
}

void TerminalDiagnostics::Warning(std::string_view file, int line, std::string_view text) {
    WriteTerminalLine(stderr, FormatLine(kWarningLine, {file, std::to_string(line), text}));
}

TerminalProgress::TerminalProgress() : enabled_(IsTerminal(stderr)) {}

TerminalProgress::~TerminalProgress() {
    if (drawn_) {
        std::fwrite(kEraseLine.data(), 1, kEraseLine.size(), stderr);
        std::fflush(stderr);
    }
    statusLineShown = false;
}

void TerminalProgress::SetStatus(std::string_view text) {
    if (text.starts_with(StatusKind(kScanningFileStatus))) {
        ++filesScanned_;
    } else if (text.starts_with(StatusKind(kDescriptionPageStatus))) {
        ++pagesWritten_;
    }
    status_ = text;
    Draw();
}

void TerminalProgress::SetPos(int) {
    Draw();
}

void TerminalProgress::Draw() {
    if (!enabled_) {
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (statusLineShown && now - lastDraw_ < kRedrawInterval) {
        return;
    }
    std::string line = std::string(kEraseLine) +
                       FormatLine(kCountsText, {std::to_string(filesScanned_),
                                                std::to_string(pagesWritten_), Printable(status_)});
    if (line.size() > kStatusWidth) {
        line.resize(kStatusWidth);
    }
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = true;
    statusLineShown = true;
    lastDraw_ = now;
}

}  // namespace sylva
