// The record of the names a page looked up.
#include <algorithm>

#include "scan/items.h"

namespace sylva {

namespace {

thread_local NameLookups* recording = nullptr;

}  // namespace

void NameLookups::Note(Kind kind, std::string_view name, std::string_view answer) {
    if (recording != nullptr) {
        recording->lookups_.push_back({kind, std::string(name), std::string(answer)});
    }
}

std::vector<NameLookups::Lookup> NameLookups::Distinct() const {
    std::vector<Lookup> distinct = lookups_;
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    return distinct;
}

void NameLookups::Merge(const NameLookups& other) {
    lookups_.insert(lookups_.end(), other.lookups_.begin(), other.lookups_.end());
}

void NameLookups::Encode(ByteWriter& out) const {
    const std::vector<Lookup> distinct = Distinct();
    out.Number(distinct.size());
    for (const Lookup& lookup : distinct) {
        out.Number(static_cast<std::uint64_t>(lookup.kind)).Text(lookup.name).Text(lookup.answer);
    }
}

std::optional<NameLookups> NameLookups::Decode(ByteReader& in) {
    NameLookups log;
    for (std::uint64_t count = in.Number(); in.ok() && log.lookups_.size() < count;) {
        const auto kind = static_cast<Kind>(in.Below(static_cast<std::uint64_t>(Kind::kCount)));
        std::string name(in.Text());
        log.lookups_.push_back({kind, std::move(name), std::string(in.Text())});
    }
    if (!in.ok()) {
        return std::nullopt;
    }
    return log;
}

NameLookups::Recording::Recording(NameLookups& log) : previous_(recording) {
    recording = &log;
}

NameLookups::Recording::~Recording() {
    recording = previous_;
}

}  // namespace sylva
