// Scope names and declared bases: byte walks over one name or declaration, nothing looked up.
#include "scan/class_bases.h"

namespace sylva {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";
constexpr std::string_view kBaseQualifiers[] = {"public", "protected", "private", "virtual"};

std::string_view Trimmed(std::string_view text) {
    std::size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

// `base` without the access and "virtual" words before it.
std::string_view WithoutQualifiers(std::string_view base) {
    for (bool found = true; found;) {
        found = false;
        base = Trimmed(base);
        for (std::string_view word : kBaseQualifiers) {
            if (base.starts_with(word) && base.size() > word.size() &&
                kBlanks.find(base[word.size()]) != std::string_view::npos) {
                base.remove_prefix(word.size());
                found = true;
            }
        }
    }
    return base;
}

// Where the ":" that opens the base clause of a class declaration stands, or npos: the first
// single colon outside brackets, before any body.
std::size_t BaseClauseColon(std::string_view declaration) {
    int depth = 0;
    for (std::size_t i = 0; i < declaration.size(); ++i) {
        char ch = declaration[i];
        if (ch == '<' || ch == '(' || ch == '[') {
            ++depth;
        } else if ((ch == '>' || ch == ')' || ch == ']') && depth > 0) {
            --depth;
        } else if (depth > 0) {
            continue;
        } else if (ch == ':' && i + 1 < declaration.size() && declaration[i + 1] == ':') {
            ++i;
        } else if (ch == ':') {
            return i;
        } else if (ch == '{' || ch == ';') {
            break;
        }
    }
    return std::string_view::npos;
}

}  // namespace

std::string_view EnclosingScopeName(std::string_view name) {
    int depth = 0;
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i + 1 < name.size(); ++i) {
        char ch = name[i];
        if (ch == '<' || ch == '(') {
            ++depth;
        } else if ((ch == '>' || ch == ')') && depth > 0) {
            --depth;
        } else if (depth == 0 && ch == ':' && name[i + 1] == ':') {
            last = i;
            ++i;
        }
    }
    return last == std::string_view::npos ? std::string_view() : name.substr(0, last);
}

std::vector<std::string_view> DeclaredBases(std::string_view declaration) {
    std::vector<std::string_view> bases;
    const std::size_t colon = BaseClauseColon(declaration);
    if (colon == std::string_view::npos) {
        return bases;
    }
    int depth = 0;
    std::size_t start = colon + 1;
    for (std::size_t i = start; i < declaration.size(); ++i) {
        char ch = declaration[i];
        if (ch == '<' || ch == '(' || ch == '[') {
            ++depth;
        } else if ((ch == '>' || ch == ')' || ch == ']') && depth > 0) {
            --depth;
        } else if (depth == 0 && (ch == ',' || ch == '{' || ch == ';')) {
            bases.push_back(WithoutQualifiers(declaration.substr(start, i - start)));
            start = ch == ',' ? i + 1 : std::string_view::npos;
            if (ch != ',') {
                break;
            }
        }
    }
    if (start != std::string_view::npos) {
        bases.push_back(WithoutQualifiers(declaration.substr(start)));
    }
    std::erase_if(bases, [](std::string_view base) { return base.empty(); });
    return bases;
}

std::string_view WithoutTemplateArguments(std::string_view name) {
    return Trimmed(name.substr(0, name.find('<')));
}

bool DeclaresSpecialization(std::string_view declaration, std::string_view name) {
    const std::size_t colons = name.rfind("::");
    name = colons == std::string_view::npos ? name : name.substr(colons + 2);
    if (name.empty()) {
        return false;
    }
    // Template arguments behind the name in a base ("class D : public B<D>") make no
    // specialization of it.
    declaration = declaration.substr(0, BaseClauseColon(declaration));
    for (std::size_t at = declaration.find(name); at != std::string_view::npos;
         at = declaration.find(name, at + 1)) {
        const std::size_t next = declaration.find_first_not_of(kBlanks, at + name.size());
        if (next != std::string_view::npos && declaration[next] == '<') {
            return true;
        }
    }
    return false;
}

}  // namespace sylva
