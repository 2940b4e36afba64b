// FileStamp: what the file system tells of a file without reading it. Two equal stamps mean the
// file was not written in between: every write changes its change time, which no program can set
// back, and replacing it changes its inode.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

#include "support/byte_codec.h"

namespace sylva {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // since the epoch
    std::int64_t changedNs = 0;

    static FileStamp Of(const struct stat& info);
    void Encode(ByteWriter& out) const;
    static FileStamp Decode(ByteReader& in);

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of `path` itself (a symbolic link is not followed), or nothing when there is no
// such entry.
std::optional<FileStamp> StampOfEntry(const std::string& path);

}  // namespace sylva
