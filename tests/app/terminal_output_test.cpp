// Batch mode's terminal output on a real pseudo-terminal: lines written while a progress status
// line stands must not be glued to it.
#include "app/terminal_output.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>

namespace sylva {
namespace {

// Standard error redirected to a raw pseudo-terminal for the life of the object.
class StderrOnTerminal {
  public:
    StderrOnTerminal() {
        EXPECT_EQ(::openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        ::dup2(slave_, STDERR_FILENO);
    }

    ~StderrOnTerminal() {
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        ::close(slave_);
        ::close(master_);
    }

    // Everything written so far.
    std::string Output() {
        std::string output;
        pollfd ready{master_, POLLIN, 0};
        char buffer[4096];
        while (::poll(&ready, 1, 100) == 1) {
            ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            output.append(buffer, static_cast<std::size_t>(got));
        }
        return output;
    }

  private:
    int master_ = -1;
    int slave_ = -1;
    int saved_ = -1;
};

TEST(TerminalOutput, ALineWrittenUnderAStatusLineErasesItFirstAndTheStatusComesBack) {
    StderrOnTerminal terminal;
    {
        TerminalProgress progress;
        progress.SetStatus("Scanning a.h");
        TerminalDiagnostics diagnostics;
        diagnostics.Warning("src/a.h", 3, "text");
        progress.SetPos(1);
        WriteTerminalLine(stderr, "ERROR: x");
    }
    WriteTerminalLine(stderr, "sylva: 1 warning given");
    EXPECT_EQ(terminal.Output(),
              "\r\033[K[0] Scanning a.h"
              "\r\033[Ksrc/a.h:3: warning: text\n"
              "\r\033[K[1] Scanning a.h"
              "\r\033[KERROR: x\n"
              // The progress ends without a status line to erase.
              "\r\033[K"
              "sylva: 1 warning given\n");
}

}  // namespace
}  // namespace sylva
