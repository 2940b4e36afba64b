// Test helpers: running a program as a user's shell would, with a bound on how long it may take,
// and listing every file a run left behind.
#pragma once

#include <sys/resource.h>

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "test_support/scratch_dir.h"

namespace sylva::test {

struct ProcessResult {
    // The exit status, or 128 plus the signal that ended the program.
    int status = -1;
    // True when the program ran past its time and was killed.
    bool timedOut = false;
    std::string out;
    std::string err;
};

struct ProcessOptions {
    std::string cwd;
    std::vector<std::string> environment;  // "NAME=value" entries added to the inherited ones
    // When set, standard input is a terminal that receives this text.
    std::optional<std::string> terminalInput;
    // When set, every write that would make a file longer fails as on a full disk.
    std::optional<rlim_t> fileSizeLimit;
    int timeoutSeconds = 60;
};

// Runs `program` with `arguments` and waits for it, killing it after options.timeoutSeconds.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options);

// A program started in the background; what it writes to standard output and error goes to
// files that can be read while it runs. Killed when destroyed unless waited for.
class StartedProcess {
  public:
    StartedProcess(const std::string& program, const std::vector<std::string>& arguments,
                   const ProcessOptions& options);
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    // Its standard output so far.
    std::string Out() const;
    // Waits at most `seconds` until its standard output holds `text`; true when it does.
    bool WaitForOut(std::string_view text, int seconds) const;
    void Signal(int signal) const;
    // Waits for it to end, killing it after options.timeoutSeconds.
    ProcessResult Wait();

  private:
    int timeoutSeconds_;
    ScratchDir capture_;
    std::string outPath_;
    std::string errPath_;
    int terminal_ = -1;
    pid_t child_ = -1;
};

// Every regular file below `root`, by path relative to it, with its content. Symbolic links are
// neither followed nor listed.
std::map<std::string, std::string> Tree(const std::string& root);

// Every entry below `root` (files, directories, links and others), by path relative to it, in
// ascending order. Symbolic links are not followed.
std::vector<std::string> Entries(const std::string& root);

}  // namespace sylva::test
