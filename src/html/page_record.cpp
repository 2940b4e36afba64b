// A page's record as bytes.
#include "html/html.h"
#include "support/byte_codec.h"

namespace sylva {

std::string EncodePageRecord(const PageRecord& record) {
    ByteWriter out;
    out.Number(record.linkWarnings.size());
    for (const std::string& warning : record.linkWarnings) {
        out.Text(warning);
    }
    out.Text(record.typeLabel).Text(record.searchEntry).Text(record.indexBrief);
    return out.Take();
}

std::optional<PageRecord> DecodePageRecord(std::string_view bytes) {
    ByteReader in(bytes);
    PageRecord record;
    for (std::uint64_t count = in.Number(); in.ok() && record.linkWarnings.size() < count;) {
        record.linkWarnings.emplace_back(in.Text());
    }
    record.typeLabel = in.Text();
    record.searchEntry = in.Text();
    record.indexBrief = in.Text();
    if (!in.Done()) {
        return std::nullopt;
    }
    return record;
}

}  // namespace sylva
