// Building a CSylItem: its name and page file, its group, short description and type label,
// derived once when the scan creates it, and its sections, derived whenever they are asked for.
#include "scan/syl_item.h"

#include <algorithm>
#include <optional>

#include "engine/scan_source.h"
#include "scan/block_text.h"
#include "scan/declaration_name.h"
#include "scan/section_parser.h"
#include "support/prompter.h"
#include "support/text_format.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kNoOwnerMessage =
    "Cannot work without a valid base class (CZTScanSource)!\nCancel execution!";
constexpr std::string_view kDeclarationLeadIn = "\n ";
constexpr std::string_view kPageFile = "SYLVA_%s.html";
// The number is written with at least three digits.
constexpr std::string_view kNumberedPageFile = "SYLVA_%s_%d.html";
constexpr std::string_view kPagePath = "%s/%s/%s";
constexpr std::string_view kDefaultGroup = "Common";
constexpr std::string_view kSortKeyJoint = "-";
constexpr std::size_t kShortDescriptionLines = 3;
constexpr std::size_t kShortDescriptionLimit = 120;
constexpr std::string_view kShortDescriptionCut = "...";
constexpr std::string_view kEmptyShortDescription = " ";

}  // namespace

bool DeclaresNothing(std::string_view declaration) {
    return TrimLeftView(declaration, kDeclarationLeadIn).empty();
}

std::string SplitClassMember(const std::string& name) {
    std::size_t first = name.find("::");
    if (first == std::string::npos) {
        return name;
    }
    std::size_t begin = first + 2;
    std::size_t next = name.find("::", begin);
    return name.substr(begin, next == std::string::npos ? std::string::npos : next - begin);
}

CSylItem::CSylItem(CZTScanSource* itemOwner)
    : owner(itemOwner), details_(std::make_unique<ItemDetails>()) {}

CSylItem::CSylItem(CZTScanSource* itemOwner, std::string declarationText,
                   const CZTStringArray& blockLines, CZTTime time, Prompter* messages)
    : details_(std::make_unique<ItemDetails>()) {
    Init(itemOwner, std::move(declarationText), blockLines, time, messages);
}

CSylItem::~CSylItem() = default;

int CSylItem::Init(CZTScanSource* itemOwner, std::string declarationText,
                   const CZTStringArray& blockLines, CZTTime time, Prompter* messages) {
    if (itemOwner == nullptr) {
        if (messages != nullptr) {
            messages->Warning(kNoOwnerMessage);
        }
        return -1;
    }
    std::string blockText;
    for (const std::string& line : blockLines) {
        AppendBlockLine(blockText, line);
    }
    if (!details_) {
        details_ = std::make_unique<ItemDetails>();
    }
    Build(itemOwner, declarationText, blockText, time);
    static_cast<ItemText&>(*details_) = DerivePageText();
    return 0;
}

std::unique_ptr<CSylItem> CSylItem::FromBlock(CZTScanSource& itemOwner,
                                              std::string_view declarationText,
                                              std::string_view blockText, CZTTime time) {
    auto item = std::make_unique<CSylItem>(&itemOwner);
    item->details_.reset();
    item->Build(&itemOwner, declarationText, blockText, time);
    return item;
}

void CSylItem::Build(CZTScanSource* itemOwner, std::string_view declarationText,
                     std::string_view blockText, CZTTime time) {
    owner = itemOwner;
    sourceTime = time;
    std::string_view declared = TrimLeftView(declarationText, kDeclarationLeadIn);
    if (declared.empty()) {
        declared = kUntitledName;
    }
    sourceText_.clear();
    sourceText_.reserve(declared.size() + blockText.size());
    sourceText_.append(declared);
    sourceText_.append(blockText);
    declarationSize_ = declared.size();

    DerivedName derived = DeriveName(SourceDeclaration());
    name = std::move(derived.name);
    hasSyntax = derived.hasSyntax;
    MakePageNames();
    DeriveIndexFields();
}

void CSylItem::MakePageNames() {
    pageNumber = owner->IsPageNameUsed(name) ? owner->duplicateCounter++ : -1;
}

namespace {

// The lines of the sections the index fields come from, as ForEachSectionLine passes them.
struct IndexLines {
    std::optional<std::string_view> group;
    std::vector<std::string_view> description;  // the first lines only
    std::vector<std::string_view> docType;
    std::vector<std::string_view> seeAlso;
};

IndexLines CollectIndexLines(const CZTScanSource& generator, std::string_view blockText) {
    IndexLines lines;
    ForEachSectionLine(generator.Keywords(), blockText,
                       [&lines](SectionKind kind, std::string_view line) {
                           if (kind == kSectionGroup && !lines.group) {
                               lines.group = line;
                           } else if (kind == kSectionDescription &&
                                      lines.description.size() < kShortDescriptionLines) {
                               lines.description.push_back(line);
                           } else if (kind == kSectionDocType) {
                               lines.docType.push_back(line);
                           } else if (kind == kSectionSeeAlso) {
                               lines.seeAlso.push_back(line);
                           }
                       });
    return lines;
}

// From the first (at most three) Description lines.
std::string ShortDescriptionOf(const std::vector<std::string_view>& firstLines) {
    if (firstLines.empty()) {
        return std::string(kEmptyShortDescription);
    }
    std::string text;
    for (std::string_view line : firstLines) {
        text.append(TrimView(line, "\n ,"));
        text.push_back(' ');
    }
    if (text.size() > kShortDescriptionLimit) {
        text.replace(kShortDescriptionLimit, std::string::npos, kShortDescriptionCut);
    }
    return text;
}

// The names of the See also lines, when the run writes that section.
std::vector<std::string> SeeAlsoNamesOf(const CZTScanSource& generator,
                                        const std::vector<std::string_view>& seeAlsoLines) {
    std::vector<std::string> names;
    if (generator.options.sectionSeeAlso != 0) {
        for (std::string_view line : seeAlsoLines) {
            names.emplace_back(SeeAlsoName(line));
        }
    }
    return names;
}

}  // namespace

void CSylItem::DeriveIndexFields() {
    IndexLines lines = CollectIndexLines(*owner, SourceBlock());
    group = lines.group ? std::string(TrimView(*lines.group, "\n ")) : std::string(kDefaultGroup);
    ItemType type = TypeOf(*owner, group, lines.docType);
    accessRank = type.accessRank;
    isPublic = type.isPublic;
    if (details_) {
        details_->typeLabel = std::move(type.label);
        details_->shortDesc = ShortDescriptionOf(lines.description);
        details_->seeAlsoNames = SeeAlsoNamesOf(*owner, lines.seeAlso);
    }
}

std::string CSylItem::TypeLabel(const ItemText& text) const {
    if (details_) {
        return details_->typeLabel;
    }
    const CZTStringArray& docType = text.sections[kSectionDocType];
    return TypeOf(*owner, group, std::vector<std::string_view>(docType.begin(), docType.end()))
        .label;
}

std::string CSylItem::ShortDescription() const {
    return details_ ? details_->shortDesc
                    : ShortDescriptionOf(CollectIndexLines(*owner, SourceBlock()).description);
}

std::vector<std::string> CSylItem::SeeAlsoNames() const {
    return details_ ? details_->seeAlsoNames
                    : SeeAlsoNamesOf(*owner, CollectIndexLines(*owner, SourceBlock()).seeAlso);
}

ItemText CSylItem::DerivePageText() const {
    ItemText text;
    text.declaration = SourceDeclaration();
    ParseSections(*this, SourceBlock(), text);
    return text;
}

std::string CSylItem::SafeName() const {
    CZTString safe(name);
    return safe.ReplaceInvalidFilenameChars('_');
}

std::string CSylItem::MemberName() const {
    return SplitClassMember(name);
}

std::string CSylItem::SortKey() const {
    return group + std::string(kSortKeyJoint) + name;
}

std::string CSylItem::PageFile() const {
    return pageNumber < 0 ? FormatLine(kPageFile, {SafeName()})
                          : FormatLine(kNumberedPageFile, {SafeName(), ThreeDigits(pageNumber)});
}

std::string CSylItem::PagePath() const {
    return FormatLine(kPagePath, {owner->outputPath, owner->projectDirName, PageFile()});
}

CZTStringArray* CSylItem::GetSection(int index) {
    return index >= 0 && index < kSectionCount ? &details_->sections[index] : nullptr;
}

const CZTStringArray* CSylItem::GetSection(int index) const {
    return index >= 0 && index < kSectionCount ? &details_->sections[index] : nullptr;
}

bool SortsBefore(const CSylItem& a, const CSylItem& b) {
    // Compares a.group + "-" + a.name with b.group + "-" + b.name, piece by piece.
    const std::array<std::string_view, 3> left = {a.group, kSortKeyJoint, a.name};
    const std::array<std::string_view, 3> right = {b.group, kSortKeyJoint, b.name};
    std::size_t li = 0;
    std::size_t ri = 0;
    std::string_view l = left[0];
    std::string_view r = right[0];
    for (;;) {
        while (l.empty() && ++li < left.size()) {
            l = left[li];
        }
        while (r.empty() && ++ri < right.size()) {
            r = right[ri];
        }
        if (l.empty() || r.empty()) {
            return l.empty() && !r.empty();
        }
        std::size_t n = std::min(l.size(), r.size());
        if (int order = l.substr(0, n).compare(r.substr(0, n)); order != 0) {
            return order < 0;
        }
        l.remove_prefix(n);
        r.remove_prefix(n);
    }
}

}  // namespace sylva
