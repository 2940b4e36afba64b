// Turns SIGTERM and SIGINT into a Qt signal on the UI thread, so that a session logout, Ctrl+C
// or a CI job can end the window cleanly instead of killing it mid-paint.
//
// The handler only writes one byte into a pipe (all a signal handler may safely do); a socket
// notifier on the pipe's other end emits `terminationRequested` from the event loop.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <memory>

namespace sylva {

class TerminationWatcher : public QObject {
    Q_OBJECT

  public:
    // Installs the handlers; at most one watcher may exist at a time.
    explicit TerminationWatcher(QObject* parent = nullptr);
    // Restores the previous handlers.
    ~TerminationWatcher() override;

  signals:
    void terminationRequested();

  private:
    void Drain();

    std::unique_ptr<QSocketNotifier> notifier_;
    struct sigaction previousTerm_ {};
    struct sigaction previousInt_ {};
};

}  // namespace sylva
