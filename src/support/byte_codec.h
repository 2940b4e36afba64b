// Writing values into a byte record and reading them back: unsigned numbers as variable-length
// integers, texts framed by their length. The reader checks every length against what is left,
// so a truncated or garbled record is told apart (ok() turns false) and never read past its end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/digest.h"

namespace sylva {

class ByteWriter {
  public:
    ByteWriter& Number(std::uint64_t value);
    // A signed number, zig-zag coded so that small negative numbers stay short.
    ByteWriter& Signed(std::int64_t value);
    ByteWriter& Text(std::string_view text);
    ByteWriter& Add(const Digest& digest);

    const std::string& bytes() const { return bytes_; }
    std::string Take() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

class ByteReader {
  public:
    explicit ByteReader(std::string_view bytes) : rest_(bytes) {}

    // Each returns a zero value, and leaves ok() false for good, once the record runs short.
    std::uint64_t Number();
    std::int64_t Signed();
    std::string_view Text();
    Digest ReadDigest();
    // A number that must be below `limit` (a count or an enumerator); fails the record otherwise.
    std::uint64_t Below(std::uint64_t limit);

    bool ok() const { return ok_; }
    // True when the whole record was read and nothing failed.
    bool Done() const { return ok_ && rest_.empty(); }

  private:
    std::string_view rest_;
    bool ok_ = true;
};

}  // namespace sylva
