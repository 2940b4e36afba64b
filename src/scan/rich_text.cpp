// Reading the blocks of a rich text flow.
#include "scan/rich_text.h"

#include <algorithm>

namespace sylva::rich {

Block ReadBlock(std::string_view text, std::size_t at) {
    Block block;
    std::size_t p = at + 1;
    if (p < text.size()) {
        block.kind = static_cast<BlockKind>(text[p++]);
    }
    std::size_t argumentEnd = text.find(kArgumentEnd, p);
    argumentEnd = argumentEnd == std::string_view::npos ? text.size() : argumentEnd;
    block.argument = text.substr(p, argumentEnd - p);
    std::size_t contentStart = std::min(argumentEnd + 1, text.size());
    std::size_t close = text.size();
    if (HasLiteralContent(block.kind)) {
        // Literal content holds no markup: the first close byte ends it.
        close = std::min(text.find(kBlockClose, contentStart), text.size());
    } else {
        int depth = 0;
        for (std::size_t i = contentStart; i < text.size(); ++i) {
            if (text[i] == kBlockOpen) {
                ++depth;
            } else if (text[i] == kBlockClose && depth-- == 0) {
                close = i;
                break;
            }
        }
    }
    block.content = text.substr(contentStart, close - contentStart);
    block.end = std::min(close + 1, text.size());
    return block;
}

namespace {

void AppendInline(std::string& out, std::string_view flow) {
    std::size_t at = 0;
    while (at < flow.size()) {
        if (flow[at] != kBlockOpen) {
            std::size_t next = std::min(flow.find(kBlockOpen, at), flow.size());
            std::string_view text = flow.substr(at, next - at);
            if (!out.empty() && out.back() != ' ' && !text.empty()) {
                out.push_back(' ');
            }
            out.append(text);
            at = next;
            continue;
        }
        Block block = ReadBlock(flow, at);
        at = block.end;
        if (HasLiteralContent(block.kind) || block.kind == BlockKind::kRule) {
            continue;
        }
        AppendInline(out, block.content);
    }
}

}  // namespace

std::string InlineText(std::string_view flow) {
    if (!StartsWithBlock(flow) && flow.find(kBlockOpen) == std::string_view::npos) {
        return std::string(flow);
    }
    std::string out;
    AppendInline(out, flow);
    return out;
}

}  // namespace sylva::rich
