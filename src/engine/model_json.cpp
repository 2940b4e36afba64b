#include "engine/model_json.h"

#include <unordered_map>
#include <vector>

#include "engine/rich_json.h"
#include "html/page_names.h"
#include "html/page_text.h"
#include "scan/cpp/declaration.h"
#include "support/json_text.h"

namespace sylva {

namespace {

// The keys of the sections, indexed by SectionKind.
constexpr std::string_view kSectionKeys[kSectionCount] = {
    "parameter", "content",  "group",   "description", "attention", "remarks",
    "return",    "examples", "author",  "copyright",   "version",   "history",
    "request",   "source",   "seeAlso", "docType",     "throws"};

bool HasMembers(DoxygenKind kind) {
    return kind == DoxygenKind::kClass || kind == DoxygenKind::kStruct ||
           kind == DoxygenKind::kUnion || kind == DoxygenKind::kEnum;
}

// The bases a class or struct declaration names behind its ":", access and "virtual" words
// left out: "class A : public B, protected C<int> {" gives B and C<int>.
std::vector<std::string> BasesOf(std::string_view declaration) {
    std::vector<std::string> bases;
    int depth = 0;
    std::size_t colon = std::string_view::npos;
    for (std::size_t i = 0; i < declaration.size() && colon == std::string_view::npos; ++i) {
        const char ch = declaration[i];
        if (ch == '<' || ch == '(' || ch == '[') {
            ++depth;
        } else if (ch == '>' || ch == ')' || ch == ']') {
            --depth;
        } else if (ch == '{' || ch == ';') {
            return bases;
        } else if (ch == ':' && depth == 0) {
            if (i + 1 < declaration.size() && declaration[i + 1] == ':') {
                ++i;
            } else {
                colon = i;
            }
        }
    }
    if (colon == std::string_view::npos) {
        return bases;
    }
    std::string current;
    const auto finish = [&bases, &current] {
        std::string_view base = current;
        for (std::string_view word : {"public ", "protected ", "private ", "virtual "}) {
            while (true) {
                base = base.substr(std::min(base.find_first_not_of(" \t\r\n"), base.size()));
                if (base.substr(0, word.size()) != word) {
                    break;
                }
                base.remove_prefix(word.size());
            }
        }
        base = base.substr(0, base.find_last_not_of(" \t\r\n") + 1);
        if (!base.empty()) {
            bases.emplace_back(base);
        }
        current.clear();
    };
    depth = 0;
    for (std::size_t i = colon + 1; i < declaration.size(); ++i) {
        const char ch = declaration[i];
        if (depth == 0 && (ch == '{' || ch == ';')) {
            break;
        }
        if (ch == '<' || ch == '(') {
            ++depth;
        } else if (ch == '>' || ch == ')') {
            --depth;
        }
        if (ch == ',' && depth == 0) {
            finish();
        } else {
            current.push_back(ch == '\n' || ch == '\t' ? ' ' : ch);
        }
    }
    finish();
    return bases;
}

// Appends `,"key":`. REQUIRES: `key` is one of this file's keys, plain ASCII letters that need no
// escaping.
void AppendKey(std::string& out, std::string_view key) {
    out.append(",\"").append(key).append("\":");
}

// The key and the string `value` after it, both escaped straight into `out`.
void AppendStringField(std::string& out, std::string_view key, std::string_view value) {
    AppendKey(out, key);
    AppendJsonString(out, value);
}

// A member's `type` and `tail`, the words its scope's row shows before and behind its name.
void AppendMemberShape(std::string& out, std::string_view type, std::string_view tail) {
    AppendStringField(out, "type", type);
    AppendStringField(out, "tail", tail);
}

// A text of the item as the model gives it: rich text as blocks for the doxygen style; the
// default style's HTML as written, in one block of type "html".
void AppendText(std::string& out, const CSylItem& item, std::string_view text,
                const LinkLookup& lookup) {
    if (item.style == CommentStyle::kDoxygen) {
        AppendRichJson(out, text, lookup);
    } else {
        out.append("[{\"type\":\"html\",\"text\":");
        AppendJsonString(out, text);
        out.append("}]");
    }
}

}  // namespace

// The listed items, and the members each scope holds: looked up while the objects are written.
struct ModelIndex {
    std::vector<const CSylItem*> listed;
    std::unordered_map<std::string_view, std::vector<const CSylItem*>> membersOf;
};

namespace {

std::unique_ptr<const ModelIndex> IndexItems(const ItemList& items) {
    auto made = std::make_unique<ModelIndex>();
    ModelIndex& index = *made;
    for (const ItemList::Slot& item : items) {
        if (item) {
            index.listed.push_back(item.get());
            if (item->style == CommentStyle::kDoxygen && !ScopeOf(item->name).empty()) {
                index.membersOf[ScopeOf(item->name)].push_back(item.get());
            }
        }
    }
    return made;
}

// Appends the object of `item`, whose derived text is `text`, to `out`.
void AppendItemObject(std::string& out, const CSylItem& item, const ItemText& text,
                      const FinishedItems& finished, const ModelIndex& index) {
    const LinkLookup lookup = ReferencesOf(item, finished.items);
    out.append("{\"name\":");
    AppendJsonString(out, item.name);
    const std::string_view scope =
        item.style == CommentStyle::kDoxygen ? ScopeOf(item.name) : std::string_view();
    AppendStringField(out, "scope", scope);
    AppendStringField(out, "kind", DoxygenKindName(item.kind));
    AppendStringField(out, "page", PageFile(item));
    AppendStringField(out, "file", item.sourceFile);
    AppendKey(out, "line");
    out.append(std::to_string(item.sourceLine));
    if (item.hasSyntax != 0) {
        AppendStringField(out, "declaration", text.declaration);
    } else {
        AppendKey(out, "declaration");
        out.append("null");
    }
    AppendStringField(out, "group", item.ShownGroup());
    AppendKey(out, "public");
    out.append(item.isPublic != 0 ? "true" : "false");
    AppendStringField(out, "type", text.typeText);
    AppendKey(out, "sections");
    out.push_back('[');
    bool first = true;
    for (int kind = 0; kind < kSectionCount; ++kind) {
        const CZTStringArray& lines = text.sections[kind];
        if (lines.GetSize() == 0) {
            continue;
        }
        out.append(first ? "" : ",").append("{\"section\":");
        AppendJsonString(out, kSectionKeys[kind]);
        out.append(",\"lines\":[");
        for (int i = 0; i < lines.GetSize(); ++i) {
            out.append(i == 0 ? "" : ",");
            AppendText(out, item, lines.GetAt(i), lookup);
        }
        out.append("]}");
        first = false;
    }
    out.push_back(']');
    // A type's rows are its members; anything else's, its parameters.
    const bool rowsAreMembers = HasMembers(item.kind);
    AppendKey(out, "parameters");
    out.push_back('[');
    first = true;
    // Template parameters stand first, as the template head declares them before the others.
    std::vector<const ParameterRow*> parameters;
    for (const ParameterRow& row : text.templateRows) {
        parameters.push_back(&row);
    }
    for (const ParameterRow& row : text.parameterRows) {
        if (!rowsAreMembers) {
            parameters.push_back(&row);
        }
    }
    for (const ParameterRow* parameter : parameters) {
        const ParameterRow& row = *parameter;
        out.append(first ? "" : ",").append("{\"name\":");
        AppendJsonString(out, row.name);
        AppendStringField(out, "direction", row.direction);
        out.append(",\"description\":");
        AppendText(out, item, row.comment, lookup);
        out.push_back('}');
        first = false;
    }
    out.push_back(']');
    AppendKey(out, "members");
    out.push_back('[');
    first = true;
    if (rowsAreMembers) {
        for (const ParameterRow& row : text.parameterRows) {
            out.append(first ? "" : ",").append("{\"name\":");
            AppendJsonString(out, row.name);
            AppendMemberShape(out, row.type, row.tail);
            out.append(",\"item\":null,\"description\":");
            AppendText(out, item, row.comment, lookup);
            out.push_back('}');
            first = false;
        }
    }
    if (auto found = index.membersOf.find(item.name); found != index.membersOf.end()) {
        for (const CSylItem* member : found->second) {
            const std::string_view name =
                std::string_view(member->name).substr(item.name.size() + 2);
            out.append(first ? "" : ",").append("{\"name\":");
            AppendJsonString(out, name);
            const MemberShape shape = member->kind == DoxygenKind::kVariable
                                          ? ShapeOfVariable(member->Declaration())
                                          : MemberShape();
            AppendMemberShape(out, shape.type, shape.tail);
            AppendStringField(out, "item", member->name);
            out.append(",\"description\":[]}");
            first = false;
        }
    }
    out.push_back(']');
    AppendKey(out, "bases");
    out.push_back('[');
    if (rowsAreMembers && item.kind != DoxygenKind::kEnum) {
        first = true;
        for (const std::string& base : BasesOf(item.Declaration())) {
            out.append(first ? "" : ",");
            AppendJsonString(out, base);
            first = false;
        }
    }
    out.append("]}");
}

}  // namespace

std::string_view ScopeOf(std::string_view name) {
    int depth = 0;
    std::size_t last = std::string_view::npos;
    // "operator" ends the name's scopes: what follows is an operator's symbol.
    const std::size_t limit = std::min(name.find("operator"), name.size());
    for (std::size_t i = 0; i + 1 < limit; ++i) {
        const char ch = name[i];
        if (ch == '<' || ch == '(' || ch == '[') {
            ++depth;
        } else if (ch == '>' || ch == ')' || ch == ']') {
            --depth;
        } else if (ch == ':' && name[i + 1] == ':' && depth == 0) {
            last = i;
            ++i;
        }
    }
    return last == std::string_view::npos ? std::string_view() : name.substr(0, last);
}

ModelJsonWriter::ModelJsonWriter(std::string path, const FinishedItems& finished)
    : finished_(finished), index_(IndexItems(finished.items)), out_(std::move(path)) {
    std::string head = "{\"schema\":" + JsonString(kModelSchemaName);
    head.append(",\"schemaVersion\":").append(JsonString(kModelSchemaVersion));
    head.append(",\"program\":{\"name\":\"sylva\",\"version\":").append(JsonString(SYLVA_VERSION));
    head.append("},\"project\":{\"name\":").append(JsonString(finished.project.name));
    head.append(",\"description\":").append(JsonString(finished.project.description));
    head.append(",\"style\":")
        .append(JsonString(finished.style == CommentStyle::kDoxygen ? "doxygen" : "sylva"));
    head.append("},\"items\":[");
    out_.Append(head);
}

ModelJsonWriter::~ModelJsonWriter() = default;

std::string ModelJsonWriter::Read(const CSylItem& item, const ItemText* text) {
    if (text == nullptr) {
        const ItemText derived = DeriveItemText(item, finished_.settings, finished_.options);
        return Read(item, &derived);
    }
    std::string object;
    AppendItemObject(object, item, *text, finished_, *index_);
    return object;
}

void ModelJsonWriter::Append(std::string_view object) {
    out_.Append(next_ == 0 ? "\n" : ",\n");
    out_.Append(object);
    ++next_;
}

void ModelJsonWriter::Take(const CSylItem& item, std::string read) {
    const std::vector<const CSylItem*>& listed = index_->listed;
    // The pages come in the order of the list; the items before `item` that had none come first.
    while (next_ < listed.size() && listed[next_] != &item) {
        Append(Read(*listed[next_], nullptr));
    }
    if (next_ < listed.size()) {
        Append(read);
    }
}

Status ModelJsonWriter::Finish() {
    const std::vector<const CSylItem*>& listed = index_->listed;
    const std::size_t from = next_;
    RunInOrder<std::string>(
        listed.size() - from, WorkersFor(finished_.threadCount, false),
        [&](std::size_t i) { return Read(*listed[from + i], nullptr); },
        [&](std::size_t, std::string& object) { Append(object); });
    out_.Append("\n]}\n");
    return out_.Commit();
}

Status WriteModelJson(const std::string& path, const FinishedItems& finished) {
    return ModelJsonWriter(path, finished).Finish();
}

}  // namespace sylva
