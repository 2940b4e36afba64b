// The wording of the warning summary, shared by the window's protocol and the terminal.
#include "support/diagnostic_sink.h"

namespace sylva {

std::string WarningSummary(int count) {
    return std::to_string(count) + (count == 1 ? " warning given" : " warnings given");
}

}  // namespace sylva
