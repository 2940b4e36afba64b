#include "scan/doxygen/aliases.h"

#include <algorithm>

#include "support/zt_string.h"

namespace sylva {

namespace {

constexpr std::string_view kLineEnd = "^^";
constexpr std::string_view kNameBlanks = " \t";

bool IsNameByte(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
           ch == '_';
}

bool IsName(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsNameByte);
}

// The arguments between the "{" at `open` and its "}" (braces nest, "\" escapes the byte behind
// it), split at the commas outside inner braces, "\," kept as a comma; `end` is behind the "}".
// False when the braces do not close.
bool ReadArguments(std::string_view text, std::size_t open, std::vector<std::string>& arguments,
                   std::size_t& end) {
    arguments.assign(1, std::string());
    int depth = 0;
    for (std::size_t at = open + 1; at < text.size(); ++at) {
        const char ch = text[at];
        if (ch == '\\' && at + 1 < text.size()) {
            if (text[at + 1] != ',') {
                arguments.back().push_back(ch);
            }
            arguments.back().push_back(text[++at]);
            continue;
        }
        if (ch == '}' && depth == 0) {
            end = at + 1;
            return true;
        }
        depth += ch == '{' ? 1 : ch == '}' ? -1 : 0;
        if (ch == ',' && depth == 0) {
            arguments.emplace_back();
        } else {
            arguments.back().push_back(ch);
        }
    }
    return false;
}

// `body` with "\1" to "\9" replaced by the arguments they number; a number past the last
// argument stays as written, and so does an escaped "\\".
std::string Substituted(std::string_view body, const std::vector<std::string>& arguments) {
    std::string text;
    for (std::size_t at = 0; at < body.size(); ++at) {
        const char next = at + 1 < body.size() ? body[at + 1] : '\0';
        if (body[at] == '\\' && next >= '1' && next <= '9' &&
            static_cast<std::size_t>(next - '1') < arguments.size()) {
            text.append(arguments[static_cast<std::size_t>(next - '1')]);
            ++at;
        } else if (body[at] == '\\' && next == '\\') {
            text.append(body.substr(at++, 2));
        } else {
            text.push_back(body[at]);
        }
    }
    return text;
}

}  // namespace

CommentAliases::CommentAliases(const std::vector<std::string>& definitions) {
    for (const std::string& definition : definitions) {
        const std::size_t equals = definition.find('=');
        std::string_view name =
            TrimView(std::string_view(definition).substr(0, equals), kNameBlanks);
        std::size_t count = 0;
        const std::size_t brace = name.find('{');
        if (brace != std::string_view::npos && name.ends_with('}')) {
            const std::string_view digits = name.substr(brace + 1, name.size() - brace - 2);
            const bool numeric = !digits.empty() && digits.size() <= 2 &&
                                 digits.find_first_not_of("0123456789") == std::string_view::npos;
            count = numeric ? std::stoul(std::string(digits)) : 0;
            name = numeric && count > 0 ? TrimView(name.substr(0, brace), kNameBlanks)
                                        : std::string_view();
        }
        if (equals == std::string::npos || !IsName(name)) {
            rejected_.push_back(definition);
            continue;
        }
        std::string body =
            std::string(TrimLeftView(std::string_view(definition).substr(equals + 1), kNameBlanks));
        for (std::size_t at = body.find(kLineEnd); at != std::string::npos;
             at = body.find(kLineEnd, at + 1)) {
            body.replace(at, kLineEnd.size(), "\n");
        }
        aliases_[std::string(name)][count] = std::move(body);
    }
}

const std::string* CommentAliases::Find(std::string_view text, std::size_t nameEnd,
                                        std::string_view name, std::vector<std::string>& arguments,
                                        std::size_t& end) const {
    const auto named = aliases_.find(name);
    if (named == aliases_.end()) {
        return nullptr;
    }
    const std::map<std::size_t, std::string>& byCount = named->second;
    if (nameEnd < text.size() && text[nameEnd] == '{' &&
        ReadArguments(text, nameEnd, arguments, end)) {
        if (const auto fits = byCount.find(arguments.size()); fits != byCount.end()) {
            return &fits->second;
        }
        // Commas in the one argument of an alias that takes one are its text.
        if (const auto one = byCount.find(1); one != byCount.end()) {
            arguments.assign(1, std::string(text.substr(nameEnd + 1, end - nameEnd - 2)));
            return &one->second;
        }
    }
    arguments.clear();
    end = nameEnd;
    const auto none = byCount.find(0);
    return none == byCount.end() ? nullptr : &none->second;
}

void CommentAliases::ExpandInto(std::string_view text, int depth, std::string& out,
                                std::string& runaway) const {
    std::vector<std::string> arguments;
    for (std::size_t at = 0; at < text.size();) {
        const char ch = text[at];
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        const bool prefix = ch == '\\' || ch == '@';
        if (prefix && (next == '\\' || next == '@')) {
            out.append(text.substr(at, 2));
            at += 2;
            continue;
        }
        std::size_t nameEnd = at + 1;
        // An "@" behind a word is text ("user@example.com"), as the command reader takes it.
        if (prefix && !(ch == '@' && at > 0 && IsNameByte(text[at - 1]))) {
            while (nameEnd < text.size() && IsNameByte(text[nameEnd])) {
                ++nameEnd;
            }
        }
        std::size_t end = nameEnd;
        const std::string* body =
            nameEnd > at + 1
                ? Find(text, nameEnd, text.substr(at + 1, nameEnd - at - 1), arguments, end)
                : nullptr;
        if (body == nullptr) {
            out.append(text.substr(at, nameEnd - at));
        } else if (depth >= kMaxAliasDepth || out.size() > kMaxAliasExpansion) {
            runaway = text.substr(at + 1, nameEnd - at - 1);
        } else {
            ExpandInto(Substituted(*body, arguments), depth + 1, out, runaway);
        }
        at = end;
    }
}

std::string CommentAliases::Expand(std::string_view text, std::string& runaway) const {
    std::string out;
    ExpandInto(text, 0, out, runaway);
    return out;
}

}  // namespace sylva
