#include "html/placeholders.h"

#include "support/zt_string.h"

namespace sylva {

std::string FillTemplate(std::string_view templateText,
                         std::initializer_list<Substitution> substitutions) {
    CZTString text(templateText);
    for (const Substitution& substitution : substitutions) {
        text.FindReplace(substitution.placeholder, substitution.value);
    }
    return text;
}

}  // namespace sylva
