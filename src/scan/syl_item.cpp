// Building a CSylItem: its name and page file, its sections, group, sort key and short
// description, all derived once when the scan creates it.
#include "scan/syl_item.h"

#include "engine/scan_source.h"
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

CSylItem::CSylItem(CZTScanSource* itemOwner) : owner(itemOwner) {}

CSylItem::CSylItem(CZTScanSource* itemOwner, std::string declarationText,
                   const CZTStringArray& blockLines, CZTTime time, Prompter* messages) {
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
    owner = itemOwner;
    sourceTime = time;
    declaration = TrimLeftView(declarationText, kDeclarationLeadIn);
    if (declaration.empty()) {
        declaration = kUntitledName;
    }

    DerivedName derived = DeriveName(declaration);
    name = std::move(derived.name);
    hasSyntax = derived.hasSyntax;
    CZTString safe(name);
    safeName = safe.ReplaceInvalidFilenameChars('_');
    memberName = SplitClassMember(name);
    MakePageNames();

    for (CZTStringArray& section : sections) {
        section.RemoveAll();
    }
    ParseSections(*this, blockLines);
    SetGroupAndSortKey();
    MakeShortDescription();
    MakeTypeLabel(*this);
    return 0;
}

void CSylItem::MakePageNames() {
    if (owner->IsPageNameUsed(name)) {
        pageNumber = owner->duplicateCounter++;
        SetPageFile(FormatLine(kNumberedPageFile, {safeName, ThreeDigits(pageNumber)}));
    } else {
        UsePlainPageName();
    }
}

void CSylItem::UsePlainPageName() {
    pageNumber = -1;
    SetPageFile(FormatLine(kPageFile, {safeName}));
}

void CSylItem::SetPageFile(std::string file) {
    pageFile = std::move(file);
    pagePath = FormatLine(kPagePath, {owner->outputPath, owner->projectDirName, pageFile});
}

void CSylItem::SetGroupAndSortKey() {
    const CZTStringArray& groupLines = sections[kSectionGroup];
    group = groupLines.IsEmpty() ? std::string(kDefaultGroup)
                                 : std::string(TrimView(groupLines.GetAt(0), "\n "));
    sortKey = group + "-" + name;
}

void CSylItem::MakeShortDescription() {
    const CZTStringArray& description = sections[kSectionDescription];
    if (description.IsEmpty()) {
        shortDesc = std::string(kEmptyShortDescription);
        return;
    }
    std::string text;
    std::size_t lines = std::min<std::size_t>(kShortDescriptionLines, description.Lines().size());
    for (std::size_t i = 0; i < lines; ++i) {
        text.append(TrimView(description.Lines()[i], "\n ,"));
        text.push_back(' ');
    }
    if (text.size() > kShortDescriptionLimit) {
        text.replace(kShortDescriptionLimit, std::string::npos, kShortDescriptionCut);
    }
    shortDesc = std::move(text);
}

CZTStringArray* CSylItem::GetSection(int index) {
    return index >= 0 && index < kSectionCount ? &sections[static_cast<std::size_t>(index)]
                                               : nullptr;
}

const CZTStringArray* CSylItem::GetSection(int index) const {
    return index >= 0 && index < kSectionCount ? &sections[static_cast<std::size_t>(index)]
                                               : nullptr;
}

}  // namespace sylva
