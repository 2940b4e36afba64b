#include "support/protocol.h"

namespace sylva {

void MemoryListBox::AddSelString(std::string_view line, int /*select*/, int maxLines) {
    lines_.emplace_back(line);
    while (maxLines > 0 && lines_.size() > static_cast<std::size_t>(maxLines)) {
        lines_.pop_front();
    }
}

}  // namespace sylva
