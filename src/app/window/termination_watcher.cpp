#include "app/window/termination_watcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace sylva {

namespace {

// The pipe of the one live watcher; -1 while there is none.
int pipeRead = -1;
int pipeWrite = -1;

void OnTerminationSignal(int) {
    int savedErrno = errno;
    char byte = 1;
    // A full pipe already holds a pending request: losing this byte loses nothing.
    [[maybe_unused]] ssize_t written = ::write(pipeWrite, &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationWatcher::TerminationWatcher(QObject* parent) : QObject(parent) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    pipeRead = fds[0];
    pipeWrite = fds[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipeRead, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationWatcher::Drain);

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &previousTerm_);
    ::sigaction(SIGINT, &action, &previousInt_);
}

TerminationWatcher::~TerminationWatcher() {
    if (!notifier_) {
        return;
    }
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
    ::sigaction(SIGINT, &previousInt_, nullptr);
    notifier_.reset();
    ::close(pipeRead);
    ::close(pipeWrite);
    pipeRead = -1;
    pipeWrite = -1;
}

void TerminationWatcher::Drain() {
    char buffer[64];
    while (::read(pipeRead, buffer, sizeof buffer) > 0) {
    }
    emit terminationRequested();
}

}  // namespace sylva
