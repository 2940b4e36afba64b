#include "test_support/tmpfs_mount.h"

#include <sys/mount.h>
#include <unistd.h>

namespace sylva::test {

TmpfsMount::TmpfsMount(const std::string& directory, std::size_t bytes)
    : directory_(directory), sizeOption_("size=" + std::to_string(bytes)) {
    mounted_ = ::geteuid() == 0 &&
               ::mount("tmpfs", directory_.c_str(), "tmpfs", 0, sizeOption_.c_str()) == 0;
}

TmpfsMount::~TmpfsMount() {
    if (mounted_) {
        ::umount2(directory_.c_str(), MNT_DETACH);
    }
}

bool TmpfsMount::MakeReadOnly() {
    return mounted_ && ::mount("tmpfs", directory_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                               sizeOption_.c_str()) == 0;
}

}  // namespace sylva::test
