#include "test_support/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "test_support/scratch_dir.h"

namespace sylva::test {

namespace {

// Waits for `child` for at most `seconds`, then kills it; returns its wait status.
int WaitWithTimeout(pid_t child, int seconds, bool& timedOut) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status;
}

}  // namespace

StartedProcess::StartedProcess(const std::string& program,
                               const std::vector<std::string>& arguments,
                               const ProcessOptions& options)
    : timeoutSeconds_(options.timeoutSeconds),
      outPath_(capture_.File("stdout")),
      errPath_(capture_.File("stderr")) {
    int terminalSlave = -1;
    if (options.terminalInput) {
        EXPECT_EQ(::openpty(&terminal_, &terminalSlave, nullptr, nullptr, nullptr), 0);
    }
    child_ = ::fork();
    if (child_ == 0) {
        if (::chdir(options.cwd.c_str()) != 0) {
            ::_exit(127);
        }
        int out = ::open(outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int in = terminalSlave >= 0 ? terminalSlave : ::open("/dev/null", O_RDONLY);
        if (terminalSlave >= 0) {
            ::setsid();
            ::ioctl(terminalSlave, TIOCSCTTY, 0);
        }
        ::dup2(in, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        for (const std::string& entry : options.environment) {
            ::putenv(const_cast<char*>(entry.c_str()));
        }
        if (options.fileSizeLimit) {
            // An ignored SIGXFSZ stays ignored across exec, so the write fails instead.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    if (options.terminalInput) {
        ::close(terminalSlave);
        EXPECT_EQ(::write(terminal_, options.terminalInput->data(), options.terminalInput->size()),
                  static_cast<ssize_t>(options.terminalInput->size()));
    }
}

StartedProcess::~StartedProcess() {
    if (child_ > 0) {
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
    }
    if (terminal_ >= 0) {
        ::close(terminal_);
    }
}

std::string StartedProcess::Out() const {
    return ReadFile(outPath_);
}

bool StartedProcess::WaitForOut(std::string_view text, int seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (Out().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void StartedProcess::Signal(int signal) const {
    ::kill(child_, signal);
}

ProcessResult StartedProcess::Wait() {
    ProcessResult result;
    int status = WaitWithTimeout(child_, timeoutSeconds_, result.timedOut);
    child_ = -1;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = Out();
    result.err = ReadFile(errPath_);
    return result;
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const ProcessOptions& options) {
    return StartedProcess(program, arguments, options).Wait();
}

std::map<std::string, std::string> Tree(const std::string& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            files[entry.path().lexically_relative(root).string()] = ReadFile(entry.path().string());
        }
    }
    return files;
}

std::vector<std::string> Entries(const std::string& root) {
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        entries.push_back(entry.path().lexically_relative(root).string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace sylva::test
