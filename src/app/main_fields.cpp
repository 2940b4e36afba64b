#include "app/main_fields.h"

#include <filesystem>
#include <system_error>

namespace sylva {

MainFields MainFields::Initial() {
    MainFields fields;
    std::error_code error;
    fields.outputPath = std::filesystem::current_path(error).string();
    return fields;
}

}  // namespace sylva
