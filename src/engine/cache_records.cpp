#include "engine/cache_records.h"

#include "support/byte_codec.h"

namespace sylva {

namespace {

constexpr std::size_t kSealSize = 16;

void PutDigest(std::string& out, const Digest& digest) {
    for (std::uint64_t word : {digest.low, digest.high}) {
        for (int byte = 0; byte < 8; ++byte) {
            out.push_back(static_cast<char>(word >> (8 * byte)));
        }
    }
}

void EncodeTexts(ByteWriter& out, const std::vector<std::string>& texts) {
    out.Number(texts.size());
    for (const std::string& text : texts) {
        out.Text(text);
    }
}

std::vector<std::string> DecodeTexts(ByteReader& in) {
    std::vector<std::string> texts;
    for (std::uint64_t count = in.Number(); in.ok() && texts.size() < count;) {
        texts.emplace_back(in.Text());
    }
    return texts;
}

}  // namespace

std::string Seal(std::string bytes) {
    const Digest digest = DigestOf(bytes);
    PutDigest(bytes, digest);
    return bytes;
}

std::optional<std::string_view> Unseal(std::string_view sealed) {
    if (sealed.size() < kSealSize) {
        return std::nullopt;
    }
    std::string_view bytes = sealed.substr(0, sealed.size() - kSealSize);
    std::string expected;
    PutDigest(expected, DigestOf(bytes));
    if (sealed.substr(bytes.size()) != expected) {
        return std::nullopt;
    }
    return bytes;
}

std::string CacheIdentity::Encode() const {
    return ByteWriter().Text(format).Text(program).Text(project).Take();
}

std::optional<CacheIdentity> CacheIdentity::Decode(std::string_view bytes) {
    ByteReader in(bytes);
    CacheIdentity identity;
    identity.format = in.Text();
    identity.program = in.Text();
    identity.project = in.Text();
    return in.Done() ? std::optional(identity) : std::nullopt;
}

std::string SourceRecord::Encode() const {
    ByteWriter out;
    stamp.Encode(out);
    out.Number(stampTrusted ? 1 : 0).Add(bytes).Add(scanKey);
    return out.Take();
}

std::optional<SourceRecord> SourceRecord::Decode(std::string_view bytes) {
    ByteReader in(bytes);
    SourceRecord record;
    record.stamp = FileStamp::Decode(in);
    record.stampTrusted = in.Below(2) == 1;
    record.bytes = in.ReadDigest();
    record.scanKey = in.ReadDigest();
    return in.Done() ? std::optional(record) : std::nullopt;
}

std::string SourceItems::Encode() const {
    ByteWriter out;
    out.Text(items);
    told.Encode(out);
    return out.Take();
}

std::optional<SourceItems> SourceItems::Decode(std::string_view bytes) {
    ByteReader in(bytes);
    SourceItems record;
    record.items = in.Text();
    std::optional<ReportLog> told = ReportLog::Decode(in);
    if (!told || !in.Done()) {
        return std::nullopt;
    }
    record.told = std::move(*told);
    return record;
}

std::string PageBuilding::Encode() const {
    ByteWriter out;
    EncodeTexts(out, seeAlsoWarnings);
    out.Text(page);
    return out.Take();
}

std::optional<PageBuilding> PageBuilding::Decode(std::string_view bytes) {
    ByteReader in(bytes);
    PageBuilding building;
    building.seeAlsoWarnings = DecodeTexts(in);
    building.page = in.Text();
    return in.Done() ? std::optional(std::move(building)) : std::nullopt;
}

std::string EncodeLookups(const NameLookups& lookups) {
    ByteWriter out;
    lookups.Encode(out);
    return out.Take();
}

std::optional<NameLookups> DecodeLookups(std::string_view bytes) {
    ByteReader in(bytes);
    std::optional<NameLookups> lookups = NameLookups::Decode(in);
    return lookups && in.Done() ? std::move(lookups) : std::nullopt;
}

std::string OutputRecord::Encode(std::string_view building) const {
    ByteWriter out;
    out.Number(static_cast<std::uint64_t>(kind)).Add(content).Number(stamp ? 1 : 0);
    if (stamp) {
        stamp->Encode(out);
    }
    if (kind == OutputKind::kDescriptionPage) {
        out.Add(pageContext).Add(item).Text(building);
    }
    return out.Take();
}

std::optional<OutputRecord> OutputRecord::Decode(std::string_view bytes,
                                                 std::string_view& building) {
    ByteReader in(bytes);
    OutputRecord record;
    record.kind = static_cast<OutputKind>(in.Below(static_cast<std::uint64_t>(OutputKind::kCount)));
    record.content = in.ReadDigest();
    if (in.Below(2) == 1) {
        record.stamp = FileStamp::Decode(in);
    }
    building = {};
    if (record.kind == OutputKind::kDescriptionPage) {
        record.pageContext = in.ReadDigest();
        record.item = in.ReadDigest();
        building = in.Text();
    }
    return in.Done() ? std::optional(std::move(record)) : std::nullopt;
}

}  // namespace sylva
