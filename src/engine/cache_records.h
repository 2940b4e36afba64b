// The records a run keeps in its cache (support/cache_store.h), as bytes. Every record is sealed
// with the digest of its bytes, so a damaged one is told apart and taken for missing, never
// misread; and every record is checked against the file system before it is trusted, so records
// of different runs mixed by a crash can only cost work, never a wrong page.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/html.h"
#include "scan/items.h"
#include "support/digest.h"
#include "support/file_stamp.h"
#include "support/output_sink.h"
#include "support/report_log.h"

namespace sylva {

// Bytes followed by their digest; Unseal gives them back when the digest matches.
std::string Seal(std::string bytes);
std::optional<std::string_view> Unseal(std::string_view sealed);

// What the store belongs to: a store of another format, program version or project is foreign.
struct CacheIdentity {
    std::string format;
    std::string program;
    std::string project;  // the project directory, absolute

    std::string Encode() const;
    static std::optional<CacheIdentity> Decode(std::string_view bytes);
    friend bool operator==(const CacheIdentity&, const CacheIdentity&) = default;
};

// A source file as the last run read it.
struct SourceRecord {
    FileStamp stamp;
    // False when the file was written too shortly before it was read: another write within the
    // file system's clock tick would leave the same stamp, so its bytes are compared next time.
    bool stampTrusted = false;
    Digest bytes;    // of its content
    Digest scanKey;  // of everything besides its bytes that shapes its items

    std::string Encode() const;
    static std::optional<SourceRecord> Decode(std::string_view bytes);
};

// What reading a source file gave: its items and what the scan reported meanwhile.
struct SourceItems {
    std::string items;  // EncodeFileItems
    ReportLog told;

    std::string Encode() const;
    static std::optional<SourceItems> Decode(std::string_view bytes);
};

// How a description page was built: what a later run needs to tell and file it again without
// building it.
struct PageBuilding {
    std::vector<std::string> seeAlsoWarnings;
    std::string page;  // EncodePageRecord

    std::string Encode() const;
    // Nothing when the bytes hold no building.
    static std::optional<PageBuilding> Decode(std::string_view bytes);
};

// Every name a description page's building looked up. They are kept apart from the page's record:
// they are most of its bytes, and a later run needs them only when the item names changed.
std::string EncodeLookups(const NameLookups& lookups);
// Nothing unless the bytes hold exactly what EncodeLookups gives.
std::optional<NameLookups> DecodeLookups(std::string_view bytes);

// An output file of the project as the last run left it.
struct OutputRecord {
    OutputKind kind = OutputKind::kDescriptionPage;
    // Of its bytes, the date left out unless the run's date is fixed (SOURCE_DATE_EPOCH).
    Digest content;
    // None while the file is being written: a run killed then leaves a file it may not know.
    std::optional<FileStamp> stamp;
    // For a description page: how it was built.
    Digest pageContext;  // the run's settings and everything else all pages share
    Digest item;         // ItemDigest of its item

    // `building`: of a description page, PageBuilding::Encode; ignored for other files.
    std::string Encode(std::string_view building) const;
    // Decodes all but the building, whose bytes `building` is left viewing.
    static std::optional<OutputRecord> Decode(std::string_view bytes, std::string_view& building);
};

}  // namespace sylva
