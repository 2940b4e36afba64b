// The record of the names a page looked up.
#include <algorithm>
#include <tuple>

#include "scan/items.h"

namespace sylva {

namespace {

thread_local NameLookups* recording = nullptr;

std::size_t HashOf(NameLookups::Kind kind, std::string_view name) {
    return std::hash<std::string_view>{}(name)*31 + static_cast<std::size_t>(kind);
}

}  // namespace

void NameLookups::Note(Kind kind, std::string_view name, std::string_view answer) {
    if (recording != nullptr) {
        recording->Add(kind, name, answer);
    }
}

void NameLookups::Add(Kind kind, std::string_view name, std::string_view answer) {
    const std::size_t hash = HashOf(kind, name);
    auto [first, last] = places_.equal_range(hash);
    for (auto place = first; place != last; ++place) {
        const Lookup& held = lookups_[place->second];
        if (held.kind == kind && held.name == name && held.answer == answer) {
            return;
        }
    }
    places_.emplace(hash, lookups_.size());
    lookups_.push_back({kind, std::string(name), std::string(answer)});
}

std::vector<const NameLookups::Lookup*> NameLookups::InOrder() const {
    std::vector<const Lookup*> order;
    order.reserve(lookups_.size());
    for (const Lookup& lookup : lookups_) {
        order.push_back(&lookup);
    }
    std::sort(order.begin(), order.end(), [](const Lookup* a, const Lookup* b) { return *a < *b; });
    return order;
}

std::vector<NameLookups::Lookup> NameLookups::Distinct() const {
    std::vector<Lookup> distinct;
    distinct.reserve(lookups_.size());
    for (const Lookup* lookup : InOrder()) {
        distinct.push_back(*lookup);
    }
    return distinct;
}

void NameLookups::Merge(const NameLookups& other) {
    if (lookups_.empty()) {
        // Nothing to find twice: the other log holds each of its lookups once already.
        lookups_ = other.lookups_;
        places_ = other.places_;
        return;
    }
    for (const Lookup& lookup : other.lookups_) {
        Add(lookup.kind, lookup.name, lookup.answer);
    }
}

void NameLookups::Encode(ByteWriter& out) const {
    const std::vector<const Lookup*> order = InOrder();
    out.Number(order.size());
    for (const Lookup* lookup : order) {
        out.Number(static_cast<std::uint64_t>(lookup->kind))
            .Text(lookup->name)
            .Text(lookup->answer);
    }
}

bool NameLookups::Visit(ByteReader& in, const Visitor& visit) {
    std::optional<std::tuple<Kind, std::string_view, std::string_view>> previous;
    for (std::uint64_t count = in.Number(), read = 0; in.ok() && read < count; ++read) {
        const auto kind = static_cast<Kind>(in.Below(static_cast<std::uint64_t>(Kind::kCount)));
        const std::string_view name = in.Text();
        const std::string_view answer = in.Text();
        // Encode writes each lookup once, sorted: one out of that order or held twice is damage.
        const auto lookup = std::make_tuple(kind, name, answer);
        if (!in.ok() || (previous && !(*previous < lookup)) || !visit(kind, name, answer)) {
            return false;
        }
        previous = lookup;
    }
    return in.ok();
}

std::optional<NameLookups> NameLookups::Decode(ByteReader& in) {
    NameLookups log;
    const bool read = Visit(in, [&log](Kind kind, std::string_view name, std::string_view answer) {
        // Visit lets each lookup through once: no search for one held already.
        log.places_.emplace(HashOf(kind, name), log.lookups_.size());
        log.lookups_.push_back({kind, std::string(name), std::string(answer)});
        return true;
    });
    return read ? std::optional(std::move(log)) : std::nullopt;
}

NameLookups::Recording::Recording(NameLookups& log) : previous_(recording) {
    recording = &log;
}

NameLookups::Recording::~Recording() {
    recording = previous_;
}

}  // namespace sylva
