// Items from comments and declarations.
#include "scan/doxygen/items.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "scan/rich_text.h"
#include "support/text_format.h"
#include "support/warning_kind.h"
#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr WarningKind kUnknownParameter = {"doxygen.unknown-parameter",
                                           "%s is not a parameter of %s"};
constexpr WarningKind kUndocumentedParameters = {"doxygen.undocumented-parameters",
                                                 "%s documents some of its parameters but not %s"};
constexpr std::string_view kElided = "...";
constexpr std::string_view kVariadic = "...";
constexpr std::string_view kSeeAlsoLabel = "See also: ";

void AppendLines(std::vector<DoxygenLine>& into, std::vector<DoxygenLine> more) {
    into.insert(into.end(), std::make_move_iterator(more.begin()),
                std::make_move_iterator(more.end()));
}

void AppendAll(std::vector<std::string>& into, const std::vector<std::string>& more) {
    into.insert(into.end(), more.begin(), more.end());
}

// The inline text of a paragraph block, or nothing for any other block.
std::optional<std::string_view> ParagraphText(std::string_view line) {
    if (!rich::StartsWithBlock(line)) {
        return line;
    }
    rich::Block block = rich::ReadBlock(line, 0);
    if (block.kind != rich::BlockKind::kParagraph || block.end != line.size()) {
        return std::nullopt;
    }
    return block.content;
}

// The names one row documents: "a, b" gives a and b.
std::vector<std::string_view> RowNames(std::string_view name) {
    std::vector<std::string_view> names;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t comma = name.find(',', start);
        std::string_view piece = TrimView(name.substr(start, comma - start), " ");
        if (!piece.empty()) {
            names.push_back(piece);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    return names;
}

std::string Quoted(std::string_view text) {
    // Appended, not "literal" + string: GCC 12 at -O3 warns falsely of that (-Wrestrict).
    std::string quoted(1, '"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}

}  // namespace

std::string ShownDeclaration(std::string_view text, std::size_t column, char terminator) {
    std::string shown;
    std::size_t lines = 0;
    std::size_t start = 0;
    bool first = true;
    while (start <= text.size()) {
        std::size_t feed = text.find('\n', start);
        std::string_view line = text.substr(start, feed - start);
        if (!first) {
            std::size_t indent = 0;
            while (indent < line.size() && indent < column &&
                   (line[indent] == ' ' || line[indent] == '\t')) {
                ++indent;
            }
            line.remove_prefix(indent);
        }
        first = false;
        line = TrimRightView(line, " \t\r\f\v");
        if (!line.empty()) {
            if (++lines > kMaxShownLines) {
                shown.append("\n");
                shown.append(kElided);
                break;
            }
            if (!shown.empty()) {
                shown.push_back('\n');
            }
            shown.append(line);
        }
        if (feed == std::string_view::npos) {
            break;
        }
        start = feed + 1;
    }
    if (terminator == ';' && lines <= kMaxShownLines && !shown.ends_with(";")) {
        shown.push_back(';');
    }
    return shown;
}

DoxygenKind KindOf(DeclarationKind kind) {
    switch (kind) {
        case DeclarationKind::kNamespace:
            return DoxygenKind::kNamespace;
        case DeclarationKind::kClass:
            return DoxygenKind::kClass;
        case DeclarationKind::kStruct:
            return DoxygenKind::kStruct;
        case DeclarationKind::kUnion:
            return DoxygenKind::kUnion;
        case DeclarationKind::kEnum:
            return DoxygenKind::kEnum;
        case DeclarationKind::kTypedef:
        case DeclarationKind::kAlias:
            return DoxygenKind::kTypedef;
        case DeclarationKind::kFunction:
            return DoxygenKind::kFunction;
        case DeclarationKind::kVariable:
            return DoxygenKind::kVariable;
        case DeclarationKind::kLinkage:
        case DeclarationKind::kUnknown:
            break;
    }
    return DoxygenKind::kOther;
}

DoxygenItem ItemFromComment(DoxygenComment&& comment) {
    DoxygenItem item;
    item.line = comment.line;
    item.group = std::move(comment.group);
    item.lines = std::move(comment.lines);
    item.parameters = std::move(comment.parameters);
    item.anchors = std::move(comment.anchors);
    item.bases = std::move(comment.bases);
    item.relatesTo = std::move(comment.relatesTo);
    item.example = comment.example;
    item.addsToGroup = comment.addsToGroup;
    if (comment.internal) {
        item.lines.push_back({kSectionDocType, std::string(kInternalType)});
    }
    return item;
}

void MergeComment(DoxygenComment& into, DoxygenComment more) {
    AppendLines(into.lines, std::move(more.lines));
    into.parameters.insert(into.parameters.end(), std::make_move_iterator(more.parameters.begin()),
                           std::make_move_iterator(more.parameters.end()));
    into.parameterLines.insert(into.parameterLines.end(), more.parameterLines.begin(),
                               more.parameterLines.end());
    if (into.group.empty()) {
        into.group = std::move(more.group);
    }
    AppendAll(into.anchors, more.anchors);
    AppendAll(into.bases, more.bases);
    if (into.relatesTo.empty()) {
        into.relatesTo = std::move(more.relatesTo);
        into.memberOf = more.memberOf;
    }
    into.internal = into.internal || more.internal;
}

void MergeComment(DoxygenItem& into, DoxygenComment more) {
    if (into.group.empty()) {
        into.group = more.group;
    }
    DoxygenItem added = ItemFromComment(std::move(more));
    AppendLines(into.lines, std::move(added.lines));
    AppendAll(into.anchors, added.anchors);
    AppendAll(into.bases, added.bases);
    if (into.relatesTo.empty()) {
        into.relatesTo = std::move(added.relatesTo);
    }
    into.parameters.insert(into.parameters.end(), std::make_move_iterator(added.parameters.begin()),
                           std::make_move_iterator(added.parameters.end()));
}

std::string RowText(const DoxygenComment& comment) {
    // Paragraphs run together into one line of text; a comment with a list, a table or code keeps
    // its blocks, its paragraphs as blocks too.
    std::vector<std::string> parts;
    bool inlineOnly = true;
    bool seeAlso = false;
    for (const DoxygenLine& line : comment.lines) {
        if (line.section == kSectionSeeAlso && line.text.find(' ') == std::string::npos) {
            // A See also name: a reference, the first one under a label.
            std::string reference = seeAlso ? "" : std::string(kSeeAlsoLabel);
            reference += rich::kReferenceOpen;
            reference.append(line.text);
            reference += rich::kReferenceClose;
            parts.push_back(std::move(reference));
            seeAlso = true;
        } else if (!line.text.empty() && line.text.front() != kCopyMark) {
            inlineOnly = inlineOnly && ParagraphText(line.text).has_value();
            parts.push_back(line.text);
        }
    }
    for (const DoxygenParameter& row : comment.parameters) {
        parts.push_back(std::string(1, rich::kCodeOpen) + row.name + rich::kCodeClose + " " +
                        row.text);
    }
    std::string text;
    for (const std::string& part : parts) {
        std::optional<std::string_view> paragraph = ParagraphText(part);
        if (inlineOnly) {
            text += text.empty() ? "" : " ";
            text += *paragraph;
        } else if (paragraph) {
            rich::OpenBlock(text, rich::BlockKind::kParagraph);
            text += *paragraph;
            rich::CloseBlock(text);
        } else {
            text += part;
        }
    }
    return text;
}

void CheckParameters(const DoxygenItem& item, const CppDeclaration& declaration,
                     const std::vector<int>& rowLines, const DoxygenWarning& warn) {
    if (!declaration.hasParameterList) {
        return;
    }
    const std::vector<std::string>& declared = declaration.parameters;
    if (std::any_of(declared.begin(), declared.end(),
                    [](const std::string& name) { return name.empty(); })) {
        return;
    }
    const std::unordered_set<std::string_view> isDeclared(declared.begin(), declared.end());
    std::unordered_set<std::string_view> documented;
    bool documentsSome = false;
    for (std::size_t row = 0; row < item.parameters.size(); ++row) {
        const DoxygenParameter& parameter = item.parameters[row];
        if (parameter.templateParameter) {
            continue;
        }
        documentsSome = true;
        for (std::string_view name : RowNames(parameter.name)) {
            documented.insert(name);
            if (!isDeclared.contains(name)) {
                int line = row < rowLines.size() ? rowLines[row] : item.line;
                warn(line, FormatLine(kUnknownParameter, {Quoted(name), Quoted(item.name)})
                               .About(item.name));
            }
        }
    }
    if (!documentsSome) {
        return;
    }
    std::string missing;
    for (const std::string& name : declared) {
        if (!documented.contains(name) && name != kVariadic) {
            missing += (missing.empty() ? "" : ", ") + Quoted(name);
        }
    }
    if (!missing.empty()) {
        warn(item.line,
             FormatLine(kUndocumentedParameters, {Quoted(item.name), missing}).About(item.name));
    }
}

}  // namespace sylva
