#include "support/warning_kind.h"

#include "support/text_format.h"

namespace sylva {

WarningMessage FormatLine(const WarningKind& kind, std::initializer_list<std::string_view> values) {
    return WarningMessage(kind.rule, FormatLine(kind.pattern, values));
}

}  // namespace sylva
