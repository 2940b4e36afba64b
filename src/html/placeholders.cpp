#include "html/placeholders.h"

#include <algorithm>
#include <optional>

#include "support/zt_string.h"

namespace sylva {

namespace {

// The first '[' or ']' at or after `from`. (Two searches for one byte each: find_first_of would
// test each byte with a call of its own.)
std::size_t FindBracket(std::string_view text, std::size_t from) {
    return std::min(text.find('[', from), text.find(']', from));
}

bool HoldsBracket(std::string_view text) {
    return FindBracket(text, 0) != std::string_view::npos;
}

// A placeholder shaped "[Name]", with no other bracket inside.
bool IsBracketToken(std::string_view placeholder) {
    return placeholder.size() >= 2 && placeholder.front() == '[' && placeholder.back() == ']' &&
           !HoldsBracket(placeholder.substr(1, placeholder.size() - 2));
}

// The template filled in one pass, when that gives what replacing each placeholder in turn
// gives; nothing otherwise. It does when every placeholder is a bracket token, no value holds a
// bracket (so no value brings a placeholder, whole or in part), and every '[' of the template
// that begins no placeholder is closed before the next '[' (so no substitution can join template
// text into a new placeholder).
std::optional<std::string> FilledInOnePass(std::string_view templateText,
                                           std::initializer_list<Substitution> substitutions) {
    std::size_t valueSizes = 0;
    for (const Substitution& substitution : substitutions) {
        if (!IsBracketToken(substitution.placeholder) || HoldsBracket(substitution.value)) {
            return std::nullopt;
        }
        valueSizes += substitution.value.size();
    }
    std::string text;
    text.reserve(templateText.size() + valueSizes);
    std::size_t from = 0;
    for (std::size_t open = templateText.find('['); open != std::string_view::npos;
         open = templateText.find('[', from)) {
        text.append(templateText.substr(from, open - from));
        const Substitution* match = nullptr;
        for (const Substitution& substitution : substitutions) {
            if (templateText.substr(open).starts_with(substitution.placeholder)) {
                match = &substitution;
                break;
            }
        }
        if (match != nullptr) {
            text.append(match->value);
            from = open + match->placeholder.size();
            continue;
        }
        const std::size_t next = FindBracket(templateText, open + 1);
        if (next != std::string_view::npos && templateText[next] == '[') {
            return std::nullopt;
        }
        text.push_back('[');
        from = open + 1;
    }
    text.append(templateText.substr(from));
    return text;
}

}  // namespace

std::string FillTemplate(std::string_view templateText,
                         std::initializer_list<Substitution> substitutions) {
    if (std::optional<std::string> filled = FilledInOnePass(templateText, substitutions)) {
        return std::move(*filled);
    }
    CZTString text(templateText);
    for (const Substitution& substitution : substitutions) {
        text.FindReplace(substitution.placeholder, substitution.value);
    }
    return text;
}

}  // namespace sylva
