#include "support/staged_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "support/atomic_file.h"

namespace sylva {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kIsFolder = "it is a folder";
constexpr std::string_view kIsLink = "it is a symbolic link, which is not written through";

}  // namespace

std::string OutputTargetProblem(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (fs::is_symlink(status)) {
        return std::string(kIsLink);
    }
    if (fs::is_directory(status)) {
        return std::string(kIsFolder);
    }
    return {};
}

StagedFile::StagedFile(std::string path) : path_(std::move(path)) {
    if (std::string problem = OutputTargetProblem(path_); !problem.empty()) {
        status_ = Status::OpenFailed(std::move(problem));
        return;
    }
    temporary_ = UniqueTemporaryPath(path_);
    out_ = std::fopen(temporary_.c_str(), "wbx");
    if (out_ == nullptr) {
        status_ = Status::OpenFailed(std::strerror(errno));
    }
}

StagedFile::~StagedFile() {
    if (out_ != nullptr) {
        std::fclose(out_);
        std::remove(temporary_.c_str());
    }
}

void StagedFile::Append(std::string_view bytes) {
    if (ok() && std::fwrite(bytes.data(), 1, bytes.size(), out_) != bytes.size()) {
        status_ = Status::WriteFailed(std::strerror(errno));
    }
}

Status StagedFile::Commit() {
    if (out_ == nullptr) {
        return status_;
    }
    std::FILE* out = out_;
    out_ = nullptr;
    if (std::fflush(out) != 0 && status_.ok()) {
        status_ = Status::WriteFailed(std::strerror(errno));
    }
    if (std::fclose(out) != 0 && status_.ok()) {
        status_ = Status::WriteFailed(std::strerror(errno));
    }
    // A link or folder put there meanwhile is refused as one there from the start.
    if (std::string problem = OutputTargetProblem(path_); status_.ok() && !problem.empty()) {
        status_ = Status::WriteFailed(std::move(problem));
    }
    std::error_code error;
    if (status_.ok()) {
        fs::rename(temporary_, path_, error);
        if (error) {
            status_ = Status::WriteFailed(error.message());
        }
    }
    if (!status_.ok()) {
        fs::remove(temporary_, error);
    }
    return status_;
}

}  // namespace sylva
