#include "app/terminal_output.h"

#include <unistd.h>

namespace sylva {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr std::size_t kStatusWidth = 100;

bool IsTerminal(std::FILE* stream) {
    return ::isatty(::fileno(stream)) == 1;
}

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

}  // namespace

void WriteTerminalLine(std::FILE* stream, std::string_view text) {
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

TerminalProgress::TerminalProgress() : enabled_(IsTerminal(stderr)) {}

TerminalProgress::~TerminalProgress() {
    if (drawn_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

void TerminalProgress::SetStatus(std::string_view text) {
    status_ = text;
    Draw();
}

void TerminalProgress::SetPos(int pos) {
    pos_ = pos;
    Draw();
}

void TerminalProgress::Draw() {
    if (!enabled_) {
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDraw_ < kRedrawInterval) {
        return;
    }
    std::string line = "\r\033[K[" + std::to_string(pos_) + "] " + Printable(status_);
    if (line.size() > kStatusWidth) {
        line.resize(kStatusWidth);
    }
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    drawn_ = true;
    lastDraw_ = now;
}

}  // namespace sylva
