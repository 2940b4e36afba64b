#include "app/inotify_source.h"

#include <dirent.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

#include "support/text_format.h"

namespace sylva {

namespace {

constexpr std::string_view kCannotWatch = "WARNING: Cannot watch %s (%s) !";
constexpr std::string_view kCannotWatchSignals = "WARNING: Cannot wait for Ctrl-C (%s) !";
// Written and closed, made, removed, renamed: what changes the bytes a run reads. (IN_MODIFY
// would report every block of a write; the closing write is the one that counts.)
constexpr std::uint32_t kWatchMask =
    IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_EXCL_UNLINK;

std::string Joined(const std::string& directory, std::string_view name) {
    std::string path = directory;
    path.append("/").append(name);
    return path;
}

bool IsBelowOrAt(std::string_view path, std::string_view directory) {
    return path.starts_with(directory) &&
           (path.size() == directory.size() || path[directory.size()] == '/');
}

}  // namespace

InotifySource::InotifySource(std::vector<WatchRoot> roots, std::string ignored,
                             std::function<void(std::string_view)> warn)
    : roots_(std::move(roots)), ignored_(std::move(ignored)), warn_(std::move(warn)) {
    sigemptyset(&blocked_);
    sigaddset(&blocked_, SIGINT);
    sigaddset(&blocked_, SIGTERM);
    ::sigprocmask(SIG_BLOCK, &blocked_, &previousMask_);
    signals_ = ::signalfd(-1, &blocked_, SFD_NONBLOCK | SFD_CLOEXEC);
    if (signals_ < 0) {
        warn_(FormatLine(kCannotWatchSignals, {std::strerror(errno)}));
        ::sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
        return;
    }
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ < 0) {
        warn_(FormatLine(kCannotWatch,
                         {roots_.empty() ? "" : roots_.front().path, std::strerror(errno)}));
        return;
    }
    rootsWatched_ = WatchRoots(nullptr);
}

bool InotifySource::WatchRoots(std::vector<FileEvent>* found) {
    Entered entered;
    bool watched = !roots_.empty();
    // Directories first, so that a file root in a directory they watch needs no watch of its own.
    std::vector<const WatchRoot*> files;
    for (const WatchRoot& root : roots_) {
        struct stat info {};
        if (::stat(root.path.c_str(), &info) != 0) {
            if (root.optional) {
                files.push_back(&root);  // watched for its making
                continue;
            }
            warn_(FormatLine(kCannotWatch, {root.path, std::strerror(errno)}));
            watched = false;
        } else if (S_ISDIR(info.st_mode)) {
            WatchTree(root.path, root.recurse, found, entered);
        } else {
            files.push_back(&root);
        }
    }
    for (const WatchRoot* root : files) {
        const std::string& file = root->path;
        const std::size_t slash = file.rfind('/');
        const std::string directory = slash == std::string::npos ? "."
                                      : slash == 0               ? "/"
                                                                 : file.substr(0, slash);
        const std::string path =
            Joined(directory == "/" ? "" : directory, std::string_view(file).substr(slash + 1));
        struct stat info {};
        if (::stat(directory.c_str(), &info) == 0 && entered.contains({info.st_dev, info.st_ino})) {
            continue;  // watched, and its files listed, for a directory root
        }
        fileRoots_.insert(path);
        const int watch = ::inotify_add_watch(inotify_, directory.c_str(), kWatchMask);
        if (watch < 0) {
            // An optional file whose directory is not there either cannot be made unseen by a
            // watch that could be set up, so it is no fault.
            if (!root->optional) {
                warn_(FormatLine(kCannotWatch, {directory, std::strerror(errno)}));
                watched = false;
            }
            continue;
        }
        directories_[watch] = {directory, false};
        fileRootWatches_.insert(watch);
        struct stat fileInfo {};
        if (found != nullptr && ::stat(file.c_str(), &fileInfo) == 0) {
            found->push_back({FileEvent::Kind::kCreated, path, false});
        }
    }
    return watched && !directories_.empty();
}

InotifySource::~InotifySource() {
    if (inotify_ >= 0) {
        ::close(inotify_);
    }
    if (signals_ >= 0) {
        // A stop request still pending would end the program the moment it is unblocked: the
        // caller is ending cleanly anyway, so it is read and dropped.
        signalfd_siginfo signal{};
        while (::read(signals_, &signal, sizeof signal) == sizeof signal) {
        }
        ::close(signals_);
        ::sigprocmask(SIG_SETMASK, &previousMask_, nullptr);
    }
}

void InotifySource::WatchTree(const std::string& directory, bool recurse,
                              std::vector<FileEvent>* found, Entered& entered) {
    struct stat info {};
    struct stat ignoredInfo {};
    if (::stat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return;
    }
    // Entered again only to go deeper than the first time.
    const auto [enteredBefore, first] =
        entered.emplace(DirectoryId{info.st_dev, info.st_ino}, recurse);
    if (!first && (enteredBefore->second || !recurse)) {
        return;
    }
    enteredBefore->second = recurse;
    // Compared by identity, so that "doc/P" and "./doc/P" are the same directory; it may be made
    // only by the first run, after watching began.
    if (!ignored_.empty() && ::stat(ignored_.c_str(), &ignoredInfo) == 0 &&
        ignoredInfo.st_dev == info.st_dev && ignoredInfo.st_ino == info.st_ino) {
        return;
    }
    // Watching an inode already watched gives its old descriptor: the path is brought up to date.
    const int watch = ::inotify_add_watch(inotify_, directory.c_str(), kWatchMask);
    if (watch < 0) {
        warn_(FormatLine(kCannotWatch, {directory, std::strerror(errno)}));
        return;
    }
    directories_[watch] = {directory, recurse};
    DIR* handle = ::opendir(directory.c_str());
    if (handle == nullptr) {
        return;
    }
    std::vector<std::string> subdirectories;
    while (const dirent* entry = ::readdir(handle)) {
        std::string_view name(entry->d_name);
        if (name == "." || name == "..") {
            continue;
        }
        std::string path = Joined(directory, name);
        struct stat entryInfo {};
        if (::stat(path.c_str(), &entryInfo) != 0) {
            continue;
        }
        if (S_ISDIR(entryInfo.st_mode)) {
            if (recurse) {
                subdirectories.push_back(std::move(path));
            }
        } else if (found != nullptr) {
            found->push_back({FileEvent::Kind::kCreated, std::move(path), false});
        }
    }
    ::closedir(handle);
    for (const std::string& subdirectory : subdirectories) {
        WatchTree(subdirectory, recurse, found, entered);
    }
}

bool InotifySource::Rewatch(std::vector<WatchRoot> roots) {
    for (const auto& [watch, directory] : directories_) {
        ::inotify_rm_watch(inotify_, watch);
    }
    directories_.clear();
    fileRoots_.clear();
    fileRootWatches_.clear();
    roots_ = std::move(roots);
    rootsWatched_ = inotify_ >= 0 && WatchRoots(nullptr);
    return ok();
}

void InotifySource::Unwatch(const std::string& directory) {
    for (auto watch = directories_.begin(); watch != directories_.end();) {
        if (IsBelowOrAt(watch->second.path, directory)) {
            ::inotify_rm_watch(inotify_, watch->first);
            watch = directories_.erase(watch);
        } else {
            ++watch;
        }
    }
}

bool InotifySource::StopRequested() {
    if (signals_ < 0) {
        return false;
    }
    pollfd signal{signals_, POLLIN, 0};
    return ::poll(&signal, 1, 0) > 0;
}

ChangeSource::Waited InotifySource::Wait(std::optional<std::chrono::milliseconds> timeout) {
    Waited waited;
    std::array<pollfd, 2> descriptors{pollfd{signals_, POLLIN, 0}, pollfd{inotify_, POLLIN, 0}};
    const int ready =
        ::poll(descriptors.data(), descriptors.size(), timeout ? int(timeout->count()) : -1);
    if (ready < 0 && errno != EINTR) {
        // Nothing can be waited for any more: end as on Ctrl-C rather than spin.
        waited.stop = true;
        return waited;
    }
    if ((descriptors[0].revents & POLLIN) != 0) {
        signalfd_siginfo signal{};
        waited.stop = ::read(signals_, &signal, sizeof signal) == sizeof signal;
    }
    if ((descriptors[1].revents & POLLIN) != 0) {
        ReadEvents(waited.events);
    }
    return waited;
}

void InotifySource::ReadEvents(std::vector<FileEvent>& events) {
    alignas(inotify_event) std::array<char, 64 * 1024> buffer;
    for (;;) {
        const ssize_t size = ::read(inotify_, buffer.data(), buffer.size());
        if (size <= 0) {
            return;
        }
        for (ssize_t at = 0; at < size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if ((event->mask & IN_Q_OVERFLOW) != 0) {
                events.push_back({FileEvent::Kind::kLost, {}, false});
                WatchRoots(nullptr);
                continue;
            }
            auto directory = directories_.find(event->wd);
            if (directory == directories_.end() || event->len == 0) {
                if ((event->mask & IN_IGNORED) != 0) {
                    directories_.erase(event->wd);
                    fileRootWatches_.erase(event->wd);
                }
                continue;
            }
            const std::string path = Joined(directory->second.path, event->name);
            const bool recurse = directory->second.recurse;
            if (fileRootWatches_.contains(event->wd) && !fileRoots_.contains(path)) {
                continue;
            }
            const bool isDirectory = (event->mask & IN_ISDIR) != 0;
            FileEvent change{FileEvent::Kind::kWritten, path, isDirectory};
            if ((event->mask & IN_DELETE) != 0) {
                change.kind = FileEvent::Kind::kRemoved;
            } else if ((event->mask & IN_MOVED_FROM) != 0) {
                change.kind = FileEvent::Kind::kMovedAway;
            } else if ((event->mask & IN_MOVED_TO) != 0) {
                change.kind = FileEvent::Kind::kMovedHere;
            } else if ((event->mask & IN_CREATE) != 0) {
                change.kind = FileEvent::Kind::kCreated;
            }
            const bool arrived = change.kind == FileEvent::Kind::kCreated ||
                                 change.kind == FileEvent::Kind::kMovedHere;
            const bool left = change.kind == FileEvent::Kind::kRemoved ||
                              change.kind == FileEvent::Kind::kMovedAway;
            if (isDirectory && left) {
                Unwatch(change.path);
            }
            events.push_back(std::move(change));
            if (isDirectory && arrived && recurse) {
                Entered entered;
                WatchTree(path, true, &events, entered);
            }
        }
    }
}

std::vector<std::string> InotifySource::Files() {
    std::vector<FileEvent> found;
    WatchRoots(&found);
    std::vector<std::string> files;
    files.reserve(found.size());
    for (FileEvent& file : found) {
        files.push_back(std::move(file.path));
    }
    return files;
}

}  // namespace sylva
