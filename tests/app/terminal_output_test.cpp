// Batch mode's terminal output on a real pseudo-terminal: lines written while a progress status
// line stands must not be glued to it, the status counts files and pages, and a run ends with
// the line that says where its pages are.
#include "app/terminal_output.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <string>

#include "app/batch.h"
#include "test_support/scratch_dir.h"

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
              "\r\033[K0 files scanned, 0 pages written: Scanning a.h"
              "\r\033[Ksrc/a.h:3: warning: text\n"
              "\r\033[K0 files scanned, 0 pages written: Scanning a.h"
              "\r\033[KERROR: x\n"
              // The progress ends without a status line to erase.
              "\r\033[K"
              "sylva: 1 warning given\n");
}

TEST(TerminalOutput, TheStatusCountsFilesAndPagesAndARunEndsWithWhereItsPagesAre) {
    {
        StderrOnTerminal terminal;
        TerminalProgress progress;
        progress.SetStatus("Scanning source file src/a.h...");
        progress.SetStatus("Generate html description file Open...");
        EXPECT_EQ(terminal.Output(),
                  "\r\033[K1 files scanned, 0 pages written: Scanning source file src/a.h...");
    }
    test::ScratchDir dir;
    const test::CurrentDirectory cwd(dir.path());  // no SYLVA.INI: the defaults serve
    dir.Write("src/door.h", "/**--\nDescription: Opens.\n--e*/\nint Open(int how);\n");
    dir.Write("src/lock.h", "/**--\nDescription: Locks.\nSee also: \"Shut\"\n--e*/\nint Lock();\n");
    MainFields fields;
    fields.scanPath = dir.File("src");
    fields.outputPath = dir.File("out");
    fields.projectName = "Demo";
    StartValues switches;
    switches.warningsAreErrors = true;
    StderrOnTerminal terminal;
    EXPECT_EQ(RunBatchGeneration(fields, switches), kExitFailures);
    const std::string output = terminal.Output();
    EXPECT_NE(output.find("2 files scanned"), std::string::npos) << output;
    // Two pages, the project index, the index frame and the frame set.
    EXPECT_TRUE(
        output.ends_with("\r\033[Ksylva: 2 items, 5 files written, 1 warning given, treated "
                         "as errors (-WERROR); open " +
                         dir.File("out/Demo/Demo_frame.HTML") + "\n"))
        << output;
}

}  // namespace
}  // namespace sylva
