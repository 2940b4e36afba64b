#include "support/byte_codec.h"

namespace sylva {

namespace {

constexpr int kDigitBits = 7;
constexpr unsigned kMore = 0x80;
// A 64-bit number takes at most ten digits of seven bits.
constexpr int kMaxDigits = 10;

}  // namespace

ByteWriter& ByteWriter::Number(std::uint64_t value) {
    if (value < kMore) {
        bytes_.push_back(static_cast<char>(value));
        return *this;
    }
    // Made apart and appended at once: most numbers are one byte, the rest few.
    char digits[kMaxDigits];
    std::size_t count = 0;
    while (value >= kMore) {
        digits[count++] = static_cast<char>((value & (kMore - 1)) | kMore);
        value >>= kDigitBits;
    }
    digits[count++] = static_cast<char>(value);
    bytes_.append(digits, count);
    return *this;
}

ByteWriter& ByteWriter::Signed(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    return Number((bits << 1) ^ (value < 0 ? ~std::uint64_t{0} : 0));
}

ByteWriter& ByteWriter::Text(std::string_view text) {
    Number(text.size());
    bytes_.append(text);
    return *this;
}

ByteWriter& ByteWriter::Add(const Digest& digest) {
    return Number(digest.low).Number(digest.high);
}

std::uint64_t ByteReader::Number() {
    std::uint64_t value = 0;
    for (int digit = 0; ok_ && digit < kMaxDigits; ++digit) {
        if (rest_.empty()) {
            break;
        }
        const auto byte = static_cast<unsigned char>(rest_.front());
        rest_.remove_prefix(1);
        value |= static_cast<std::uint64_t>(byte & (kMore - 1)) << (kDigitBits * digit);
        if ((byte & kMore) == 0) {
            return value;
        }
    }
    ok_ = false;
    return 0;
}

std::int64_t ByteReader::Signed() {
    const std::uint64_t bits = Number();
    return static_cast<std::int64_t>((bits >> 1) ^ (~(bits & 1) + 1));
}

std::string_view ByteReader::Text() {
    const std::uint64_t size = Number();
    if (!ok_ || size > rest_.size()) {
        ok_ = false;
        return {};
    }
    std::string_view text = rest_.substr(0, size);
    rest_.remove_prefix(size);
    return text;
}

Digest ByteReader::ReadDigest() {
    Digest digest;
    digest.low = Number();
    digest.high = Number();
    return ok_ ? digest : Digest{};
}

std::uint64_t ByteReader::Below(std::uint64_t limit) {
    const std::uint64_t value = Number();
    if (value >= limit) {
        ok_ = false;
        return 0;
    }
    return value;
}

}  // namespace sylva
