#include "scan/doxygen/predefined_macros.h"

#include <algorithm>

namespace sylva {

namespace {

bool IsIdentifierStart(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '_';
}

bool IsIdentifierChar(char ch) {
    return IsIdentifierStart(ch) || (ch >= '0' && ch <= '9');
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsIdentifier(std::string_view text) {
    return !text.empty() && IsIdentifierStart(text[0]) &&
           std::all_of(text.begin(), text.end(), IsIdentifierChar);
}

// The index behind the comment, literal or preprocessor line that starts at `at`, or `at` when
// none starts there. `lineStart` tells whether only blanks stand before `at` on its line.
std::size_t SkipPassage(std::string_view code, std::size_t at, bool lineStart) {
    const char ch = code[at];
    const char next = at + 1 < code.size() ? code[at + 1] : '\0';
    if (ch == '/' && next == '/') {
        const std::size_t end = code.find('\n', at);
        return end == std::string_view::npos ? code.size() : end;
    }
    if (ch == '/' && next == '*') {
        const std::size_t end = code.find("*/", at + 2);
        return end == std::string_view::npos ? code.size() : end + 2;
    }
    if (ch == '"' || ch == '\'') {
        std::size_t i = at + 1;
        while (i < code.size() && code[i] != ch && code[i] != '\n') {
            i += code[i] == '\\' ? 2 : 1;
        }
        return std::min(i + 1, code.size());
    }
    if (ch == '#' && lineStart) {
        // To the end of the logical line: a macro's own definition keeps its name.
        std::size_t i = at;
        while (i < code.size()) {
            const std::size_t end = code.find('\n', i);
            if (end == std::string_view::npos) {
                return code.size();
            }
            if (end == 0 || code[end - 1] != '\\') {
                return end;
            }
            i = end + 1;
        }
        return code.size();
    }
    return at;
}

// Where to go on behind a replacement `body` that ends at `at`: a name replaced by nothing after
// a blank or an opening takes the blanks behind it along, so "class CV_EXPORTS Box" reads
// "class Box".
std::size_t SkipBlanksBehindNothing(std::string_view body, std::string_view code, std::size_t at,
                                    const std::string& out) {
    if (!body.empty() ||
        (!out.empty() && std::string_view(" \t\n(").find(out.back()) == std::string_view::npos)) {
        return at;
    }
    while (at < code.size() && (code[at] == ' ' || code[at] == '\t')) {
        ++at;
    }
    return at;
}

}  // namespace

PredefinedMacros::PredefinedMacros(const std::vector<std::string>& definitions) {
    for (std::string_view definition : definitions) {
        const std::size_t equals = definition.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        std::string_view head = definition.substr(0, equals);
        if (!head.empty() && head.back() == ':') {
            head.remove_suffix(1);
        }
        head = Trimmed(head);
        Macro macro;
        macro.body = Trimmed(definition.substr(equals + 1));
        const std::size_t open = head.find('(');
        if (open != std::string_view::npos) {
            if (head.back() != ')') {
                continue;
            }
            macro.functionLike = true;
            std::string_view list = head.substr(open + 1, head.size() - open - 2);
            while (!Trimmed(list).empty()) {
                const std::size_t comma = list.find(',');
                macro.parameters.emplace_back(Trimmed(list.substr(0, comma)));
                list =
                    comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
            }
            head = Trimmed(head.substr(0, open));
        }
        if (!IsIdentifier(head)) {
            continue;
        }
        macro.name = head;
        macros_.insert_or_assign(macro.name, std::move(macro));
    }
}

const PredefinedMacros::Macro* PredefinedMacros::Find(std::string_view name) const {
    auto found = macros_.find(name);
    return found == macros_.end() ? nullptr : &found->second;
}

std::size_t PredefinedMacros::AppendCall(const Macro& macro, std::string_view code,
                                         std::size_t open, std::string& out) const {
    std::vector<std::string> arguments(1);
    int depth = 0;
    int lineEnds = 0;
    std::size_t i = open + 1;
    for (; i < code.size(); ++i) {
        const char ch = code[i];
        if (ch == ')' && depth == 0) {
            break;
        }
        if (ch == '(') {
            ++depth;
        } else if (ch == ')') {
            --depth;
        } else if (ch == ',' && depth == 0) {
            arguments.emplace_back();
            continue;
        } else if (ch == '\n') {
            ++lineEnds;
        }
        arguments.back().push_back(ch);
    }
    if (i >= code.size()) {
        return open;
    }
    std::string_view body = macro.body;
    std::size_t at = 0;
    while (at < body.size()) {
        if (!IsIdentifierStart(body[at])) {
            out.push_back(body[at++]);
            continue;
        }
        std::size_t end = at;
        while (end < body.size() && IsIdentifierChar(body[end])) {
            ++end;
        }
        const std::string_view word = body.substr(at, end - at);
        auto parameter = std::find(macro.parameters.begin(), macro.parameters.end(), word);
        const auto index = static_cast<std::size_t>(parameter - macro.parameters.begin());
        if (parameter != macro.parameters.end() && index < arguments.size()) {
            out.append(Trimmed(arguments[index]));
        } else {
            out.append(word);
        }
        at = end;
    }
    out.append(static_cast<std::size_t>(lineEnds), '\n');
    return i + 1;
}

std::string PredefinedMacros::Expand(std::string_view code) const {
    std::string out;
    out.reserve(code.size());
    bool lineStart = true;
    std::size_t i = 0;
    while (i < code.size()) {
        const char ch = code[i];
        if (const std::size_t skipped = SkipPassage(code, i, lineStart); skipped != i) {
            out.append(code.substr(i, skipped - i));
            i = skipped;
            lineStart = false;
            continue;
        }
        if (!IsIdentifierStart(ch)) {
            out.push_back(ch);
            lineStart = ch == '\n' || (lineStart && (ch == ' ' || ch == '\t'));
            ++i;
            continue;
        }
        lineStart = false;
        std::size_t end = i;
        while (end < code.size() && IsIdentifierChar(code[end])) {
            ++end;
        }
        const std::string_view word = code.substr(i, end - i);
        const Macro* macro = Find(word);
        if (macro == nullptr) {
            out.append(word);
            i = end;
            continue;
        }
        if (!macro->functionLike) {
            out.append(macro->body);
            i = SkipBlanksBehindNothing(macro->body, code, end, out);
            continue;
        }
        std::size_t open = end;
        while (open < code.size() && (code[open] == ' ' || code[open] == '\t')) {
            ++open;
        }
        const std::size_t behind =
            open < code.size() && code[open] == '(' ? AppendCall(*macro, code, open, out) : open;
        if (behind == open) {
            out.append(word);  // a name without a call, or a call that does not close
            i = end;
            continue;
        }
        i = SkipBlanksBehindNothing(macro->body, code, behind, out);
    }
    return out;
}

}  // namespace sylva
