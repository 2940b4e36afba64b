// Digests: 128-bit fingerprints of bytes (XXH3), for telling whether an input or an output is
// the same as in an earlier run. They guard against change, not against an adversary: whoever
// can write the cache could as well write the pages.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct XXH3_state_s;

namespace sylva {

struct Digest {
    std::uint64_t low = 0;
    std::uint64_t high = 0;

    friend bool operator==(const Digest&, const Digest&) = default;
};

// Feeds bytes, numbers and texts into one digest. Texts are framed by their length, so that
// ("ab", "c") and ("a", "bc") give different digests.
class Hasher {
  public:
    Hasher();
    Hasher(const Hasher&) = delete;
    Hasher& operator=(const Hasher&) = delete;
    ~Hasher();

    Hasher& Bytes(std::string_view bytes);
    Hasher& Text(std::string_view text);
    Hasher& Number(std::uint64_t value);
    Hasher& Add(const Digest& digest);
    // The digest of everything fed so far; more may be fed afterwards.
    Digest Finish() const;

  private:
    struct StateDeleter {
        void operator()(XXH3_state_s* state) const;
    };
    std::unique_ptr<XXH3_state_s, StateDeleter> state_;
};

// The digest of `bytes` alone.
Digest DigestOf(std::string_view bytes);

}  // namespace sylva
