#include "scan/item_records.h"

#include <tuple>
#include <vector>

#include "support/byte_codec.h"

namespace sylva {

// The one list of an item's fields that the records follow.
struct ItemFields {
    // Every field of CSylItem, in declaration order.
    static auto Of(CSylItem& item) {
        return std::tie(item.name, item.group, item.sourceTime, item.sourceFile, item.sourceLine,
                        item.hasSyntax, item.pageNumber, item.accessRank, item.isPublic, item.style,
                        item.sourceText_, item.declarationSize_);
    }
    static auto Of(const CSylItem& item) { return Of(const_cast<CSylItem&>(item)); }

    // The same members in a struct of their own: when a field is added to CSylItem but not here
    // (and to Of), the sizes differ and the build stops, before a cache could lose the field.
    struct Mirror {
        std::string name;
        std::string group;
        CZTTime sourceTime;
        std::string_view sourceFile;
        int sourceLine;
        int hasSyntax;
        int pageNumber;
        int accessRank;
        int isPublic;
        CommentStyle style;
        std::string sourceText;
        std::size_t declarationSize;
    };

    static const std::vector<ItemList::Slot>& Slots(const ItemList& items) { return items.slots_; }
    static const std::vector<std::pair<std::string, std::string>>& Titles(const ItemList& items) {
        return items.titleOffers_;
    }
    static void OfferTitle(ItemList& items, std::string label, std::string title) {
        items.titleOffers_.emplace_back(std::move(label), std::move(title));
    }
    static std::unique_ptr<CSylItem> NewItem() { return std::unique_ptr<CSylItem>(new CSylItem()); }
    static void File(ItemList& items, std::unique_ptr<CSylItem> item) {
        items.File(std::move(item));
    }
    static bool Consistent(const CSylItem& item) {
        return item.declarationSize_ <= item.sourceText_.size();
    }
};

static_assert(sizeof(ItemFields::Mirror) == sizeof(CSylItem),
              "a field of CSylItem is missing from ItemFields: add it to Of and Mirror");

namespace {

// A version of their own, so that a record of another layout is refused, not misread.
constexpr std::uint64_t kRecordVersion = 1;

void Put(ByteWriter& out, const std::string& value) {
    out.Text(value);
}
void Put(ByteWriter& out, int value) {
    out.Signed(value);
}
void Put(ByteWriter& out, std::size_t value) {
    out.Number(value);
}
void Put(ByteWriter& out, CommentStyle value) {
    out.Number(static_cast<std::uint64_t>(value));
}
void Put(ByteWriter& out, const CZTTime& value) {
    out.Signed(value.Seconds());
}
// The source file is the record's own; the list gives it back.
void Put(ByteWriter&, std::string_view) {}

void Get(ByteReader& in, std::string& value) {
    value = in.Text();
}
void Get(ByteReader& in, int& value) {
    value = static_cast<int>(in.Signed());
}
void Get(ByteReader& in, std::size_t& value) {
    value = in.Number();
}
void Get(ByteReader& in, CommentStyle& value) {
    value = static_cast<CommentStyle>(in.Below(2));
}
void Get(ByteReader& in, CZTTime& value) {
    value = CZTTime(static_cast<std::time_t>(in.Signed()));
}
void Get(ByteReader&, std::string_view&) {}

void EncodeItem(ByteWriter& out, const CSylItem& item) {
    std::apply([&out](const auto&... field) { (Put(out, field), ...); }, ItemFields::Of(item));
}

void DecodeItem(ByteReader& in, CSylItem& item) {
    std::apply([&in](auto&... field) { (Get(in, field), ...); }, ItemFields::Of(item));
}

}  // namespace

std::string EncodeFileItems(const ItemList& items, ItemList::Mark from) {
    ByteWriter out;
    out.Number(kRecordVersion);
    const auto& titles = ItemFields::Titles(items);
    out.Number(titles.size() - from.title);
    for (std::size_t i = from.title; i < titles.size(); ++i) {
        out.Text(titles[i].first).Text(titles[i].second);
    }
    const auto& slots = ItemFields::Slots(items);
    out.Number(slots.size() - from.slot);
    for (std::size_t i = from.slot; i < slots.size(); ++i) {
        EncodeItem(out, *slots[i]);
    }
    return out.Take();
}

bool DecodeFileItems(std::string_view bytes, ItemList& items, const std::string& sourcePath,
                     CZTTime lastWrite) {
    ByteReader in(bytes);
    if (in.Number() != kRecordVersion) {
        return false;
    }
    // The counts are not trusted to size anything: a damaged one only makes the record run short.
    std::vector<std::pair<std::string, std::string>> titles;
    for (std::uint64_t count = in.Number(); in.ok() && titles.size() < count;) {
        std::string label(in.Text());
        titles.emplace_back(std::move(label), in.Text());
    }
    std::vector<std::unique_ptr<CSylItem>> decoded;
    for (std::uint64_t count = in.Number(); in.ok() && decoded.size() < count;) {
        decoded.push_back(ItemFields::NewItem());
        DecodeItem(in, *decoded.back());
        if (!ItemFields::Consistent(*decoded.back())) {
            return false;
        }
    }
    if (!in.Done()) {
        return false;
    }
    for (auto& [label, title] : titles) {
        ItemFields::OfferTitle(items, std::move(label), std::move(title));
    }
    std::string_view sourceName =
        decoded.empty() ? std::string_view() : items.KeepSourceName(sourcePath);
    for (auto& item : decoded) {
        item->sourceFile = sourceName;
        item->sourceTime = lastWrite;
        ItemFields::File(items, std::move(item));
    }
    return true;
}

Digest ItemDigest(const CSylItem& item) {
    ByteWriter out;
    EncodeItem(out, item);
    return Hasher().Text(item.sourceFile).Bytes(out.bytes()).Finish();
}

}  // namespace sylva
