#include "support/file_stamp.h"

namespace sylva {

namespace {

constexpr std::int64_t kNsPerSecond = 1000000000;

std::int64_t Nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * kNsPerSecond + time.tv_nsec;
}

}  // namespace

FileStamp FileStamp::Of(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::uint64_t>(info.st_size), Nanoseconds(info.st_mtim),
            Nanoseconds(info.st_ctim)};
}

void FileStamp::Encode(ByteWriter& out) const {
    out.Number(device).Number(inode).Number(size).Signed(modifiedNs).Signed(changedNs);
}

FileStamp FileStamp::Decode(ByteReader& in) {
    FileStamp stamp;
    stamp.device = in.Number();
    stamp.inode = in.Number();
    stamp.size = in.Number();
    stamp.modifiedNs = in.Signed();
    stamp.changedNs = in.Signed();
    return stamp;
}

std::optional<FileStamp> StampOfEntry(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileStamp::Of(info);
}

}  // namespace sylva
