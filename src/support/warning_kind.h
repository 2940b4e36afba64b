// WarningKind: one kind of warning about the documented sources, declared as a named constant next
// to the code that gives it. Its rule id names the kind for machines (SARIF rules, baseline keys),
// so it stays the same when the wording of the message changes; its pattern is the message.
//
// WarningMessage is one warning's text with the kind that produced it and, where the code that
// gives it knows one, the documented entity it is about. It converts to its text, so code that
// only shows warnings reads it as a line.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace sylva {

struct WarningKind {
    std::string_view rule;     // lower-case words joined by '-' and '.', unique among the kinds
    std::string_view pattern;  // the message, "%s" for each value
};

// The rule of a warning whose kind is not known (a caller that passes plain text).
inline constexpr std::string_view kUnclassifiedRule = "sylva.warning";

struct WarningMessage {
    // A kind whose pattern has no values is its own message.
    WarningMessage(const WarningKind& kind) : rule(kind.rule), text(kind.pattern) {}  // NOLINT
    WarningMessage(std::string_view kindRule, std::string messageText,
                   std::string entityName = std::string())
        : rule(kindRule), text(std::move(messageText)), entity(std::move(entityName)) {}

    operator std::string_view() const { return text; }  // NOLINT: a message reads as its line

    // The same message about the documented entity `name`.
    WarningMessage About(std::string_view name) const {
        return WarningMessage(rule, text, std::string(name));
    }

    std::string_view rule;  // REQUIRES: outlives the message (the kinds' ids are literals)
    std::string text;
    std::string entity;  // empty: the warning is about no one entity
};

// The kind's pattern filled with `values`, as FormatLine fills a protocol line.
WarningMessage FormatLine(const WarningKind& kind, std::initializer_list<std::string_view> values);

}  // namespace sylva
