#include "scan/item_records.h"

#include <tuple>
#include <vector>

#include "scan/doxygen/reader.h"
#include "support/byte_codec.h"

namespace sylva {

// The one list of an item's fields that the records follow.
struct ItemFields {
    // Every field of CSylItem, in declaration order.
    static auto Of(CSylItem& item) {
        return std::tie(item.name, item.group, item.groupTitle, item.sourceTime, item.sourceFile,
                        item.sourceLine, item.declarationLine, item.hasSyntax, item.pageNumber,
                        item.accessRank, item.isPublic, item.style, item.kind, item.sourceText_,
                        item.declarationSize_);
    }
    static auto Of(const CSylItem& item) { return Of(const_cast<CSylItem&>(item)); }

    // The same members in a struct of their own: when a field is added to CSylItem but not here
    // (and to Of), the sizes differ and the build stops, before a cache could lose the field.
    struct Mirror {
        std::string name;
        std::string group;
        std::string groupTitle;
        CZTTime sourceTime;
        std::string_view sourceFile;
        int sourceLine;
        int declarationLine;
        int hasSyntax;
        int pageNumber;
        int accessRank;
        int isPublic;
        CommentStyle style;
        DoxygenKind kind;
        std::string sourceText;
        std::size_t declarationSize;
    };

    static const std::vector<ItemList::Slot>& Slots(const ItemList& items) { return items.slots_; }
    static const std::vector<ItemList::GroupDefinition>& Groups(const ItemList& items) {
        return items.groups_;
    }
    static void Define(ItemList& items, ItemList::GroupDefinition group) {
        items.groups_.push_back(std::move(group));
    }
    static const std::vector<ItemList::ImageLookup>& Images(const ItemList& items) {
        return items.imageLookups_;
    }
    static const std::vector<ItemList::ExampleLookup>& Examples(const ItemList& items) {
        return items.exampleLookups_;
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
constexpr std::uint64_t kRecordVersion = 8;

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
void Put(ByteWriter& out, DoxygenKind value) {
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
void Get(ByteReader& in, DoxygenKind& value) {
    value = static_cast<DoxygenKind>(in.Below(static_cast<std::uint64_t>(DoxygenKind::kOther) + 1));
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
    const auto& groups = ItemFields::Groups(items);
    out.Number(groups.size() - from.group);
    for (std::size_t i = from.group; i < groups.size(); ++i) {
        out.Text(groups[i].label).Text(groups[i].title).Signed(groups[i].sourceLine);
        out.Number(groups[i].defines ? 1 : 0);
    }
    const auto& images = ItemFields::Images(items);
    out.Number(images.size() - from.image);
    for (std::size_t i = from.image; i < images.size(); ++i) {
        out.Text(images[i].written).Text(images[i].shown).Text(images[i].found);
    }
    const auto& examples = ItemFields::Examples(items);
    out.Number(examples.size() - from.example);
    for (std::size_t i = from.example; i < examples.size(); ++i) {
        out.Text(examples[i].written).Text(examples[i].found).Add(examples[i].bytes);
    }
    const auto& declarations = items.Declarations();
    out.Number(declarations.size() - from.declaration);
    for (std::size_t i = from.declaration; i < declarations.size(); ++i) {
        const SeenDeclaration& seen = declarations[i].seen;
        out.Signed(seen.line).Number(static_cast<std::uint64_t>(seen.kind)).Text(seen.name);
        out.Text(seen.space).Text(seen.group).Number(seen.documented ? 1 : 0);
    }
    const auto& slots = ItemFields::Slots(items);
    out.Number(slots.size() - from.slot);
    for (std::size_t i = from.slot; i < slots.size(); ++i) {
        EncodeItem(out, *slots[i]);
    }
    return out.Take();
}

RecordUse DecodeFileItems(std::string_view bytes, ItemList& items, const std::string& sourcePath,
                          CZTTime lastWrite, const Settings& settings,
                          const std::string& scanPath) {
    ByteReader in(bytes);
    if (in.Number() != kRecordVersion) {
        return RecordUse::kDamaged;
    }
    // The counts are not trusted to size anything: a damaged one only makes the record run short.
    std::vector<ItemList::GroupDefinition> groups;
    for (std::uint64_t count = in.Number(); in.ok() && groups.size() < count;) {
        ItemList::GroupDefinition& group = groups.emplace_back();
        group.label = in.Text();
        group.title = in.Text();
        group.sourceLine = static_cast<int>(in.Signed());
        group.defines = in.Below(2) != 0;
    }
    std::vector<ItemList::ImageLookup> images;
    for (std::uint64_t count = in.Number(); in.ok() && images.size() < count;) {
        ItemList::ImageLookup& image = images.emplace_back();
        image.written = in.Text();
        image.shown = in.Text();
        image.found = in.Text();
    }
    std::vector<ItemList::ExampleLookup> examples;
    for (std::uint64_t count = in.Number(); in.ok() && examples.size() < count;) {
        ItemList::ExampleLookup& example = examples.emplace_back();
        example.written = in.Text();
        example.found = in.Text();
        example.bytes = in.ReadDigest();
    }
    std::vector<SeenDeclaration> declarations;
    for (std::uint64_t count = in.Number(); in.ok() && declarations.size() < count;) {
        SeenDeclaration& seen = declarations.emplace_back();
        seen.line = static_cast<int>(in.Signed());
        Get(in, seen.kind);
        seen.name = in.Text();
        seen.space = in.Text();
        seen.group = in.Text();
        seen.documented = in.Below(2) != 0;
    }
    std::vector<std::unique_ptr<CSylItem>> decoded;
    for (std::uint64_t count = in.Number(); in.ok() && decoded.size() < count;) {
        decoded.push_back(ItemFields::NewItem());
        DecodeItem(in, *decoded.back());
        if (!ItemFields::Consistent(*decoded.back())) {
            return RecordUse::kDamaged;
        }
    }
    if (!in.Done()) {
        return RecordUse::kDamaged;
    }
    // The images and examples lie outside the file: one that came, went or moved changes what it
    // gives, and so does an example whose bytes changed, since the items hold its text.
    for (const ItemList::ImageLookup& image : images) {
        if (!(LookUpImage(settings, scanPath, sourcePath, image.written) == image)) {
            return RecordUse::kStale;
        }
    }
    for (const ItemList::ExampleLookup& example : examples) {
        if (!(ReadExample(settings, example.written).lookup == example)) {
            return RecordUse::kStale;
        }
    }
    std::string_view sourceName = decoded.empty() && groups.empty() && declarations.empty()
                                      ? std::string_view()
                                      : items.KeepSourceName(sourcePath);
    for (ItemList::GroupDefinition& group : groups) {
        group.sourceFile = sourceName;
        ItemFields::Define(items, std::move(group));
    }
    for (ItemList::ImageLookup& image : images) {
        items.NoteImage(std::move(image));
    }
    for (ItemList::ExampleLookup& example : examples) {
        items.NoteExample(std::move(example));
    }
    for (SeenDeclaration& seen : declarations) {
        items.NoteDeclaration(sourceName, std::move(seen));
    }
    for (auto& item : decoded) {
        item->sourceFile = sourceName;
        item->sourceTime = lastWrite;
        ItemFields::File(items, std::move(item));
    }
    return RecordUse::kFiled;
}

Digest ItemDigest(const CSylItem& item) {
    ByteWriter out;
    EncodeItem(out, item);
    return Hasher().Text(item.sourceFile).Bytes(out.bytes()).Finish();
}

}  // namespace sylva
