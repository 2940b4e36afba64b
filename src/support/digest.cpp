#include "support/digest.h"

#include <xxhash.h>

namespace sylva {

namespace {

Digest FromXxh(XXH128_hash_t hash) {
    return Digest{hash.low64, hash.high64};
}

}  // namespace

void Hasher::StateDeleter::operator()(XXH3_state_s* state) const {
    XXH3_freeState(state);
}

Hasher::Hasher() : state_(XXH3_createState()) {
    XXH3_128bits_reset(state_.get());
}

Hasher::~Hasher() = default;

Hasher& Hasher::Bytes(std::string_view bytes) {
    XXH3_128bits_update(state_.get(), bytes.data(), bytes.size());
    return *this;
}

Hasher& Hasher::Number(std::uint64_t value) {
    unsigned char bytes[sizeof value];
    for (std::size_t i = 0; i < sizeof value; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
    XXH3_128bits_update(state_.get(), bytes, sizeof bytes);
    return *this;
}

Hasher& Hasher::Text(std::string_view text) {
    return Number(text.size()).Bytes(text);
}

Hasher& Hasher::Add(const Digest& digest) {
    return Number(digest.low).Number(digest.high);
}

Digest Hasher::Finish() const {
    return FromXxh(XXH3_128bits_digest(state_.get()));
}

Digest DigestOf(std::string_view bytes) {
    return FromXxh(XXH3_128bits(bytes.data(), bytes.size()));
}

}  // namespace sylva
