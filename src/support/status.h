// Status: the outcome of a step that can fail, with the reason in words.
#pragma once

#include <string>
#include <utility>

namespace sylva {

class [[nodiscard]] Status {
  public:
    enum class Code { kOk, kOpenFailed, kWriteFailed };

    Status() = default;
    static Status Ok() { return Status(); }
    static Status OpenFailed(std::string reason) {
        return Status(Code::kOpenFailed, std::move(reason));
    }
    static Status WriteFailed(std::string reason) {
        return Status(Code::kWriteFailed, std::move(reason));
    }

    bool ok() const { return code_ == Code::kOk; }
    Code code() const { return code_; }
    // Why the step failed ("No space left on device"); empty when it did not.
    const std::string& reason() const { return reason_; }

  private:
    Status(Code code, std::string reason) : code_(code), reason_(std::move(reason)) {}

    Code code_ = Code::kOk;
    std::string reason_;
};

}  // namespace sylva
