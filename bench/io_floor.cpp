// The I/O floor of a documentation run: what the machine needs to read the input tree and to
// create the output files, with no work in between.
//
//     io_floor <input dir> <manifest> <output dir>
//
// Reads every regular file below <input dir> whole, then creates, below <output dir>, every file
// the manifest lists ("<size> <relative path>" per line) with that many bytes, creating the
// directories on the way. The benchmark writes the manifest from a real run's output, so the
// floor writes exactly the files and bytes that run wrote.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::size_t ReadAll(const std::filesystem::path& root) {
    std::size_t total = 0;
    std::vector<char> buffer(1 << 16);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            continue;
        }
        for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;) {
            total += static_cast<std::size_t>(got);
        }
        ::close(fd);
    }
    return total;
}

bool WriteFiles(const std::string& manifest, const std::filesystem::path& out) {
    std::ifstream list(manifest);
    std::string content;
    std::size_t size = 0;
    std::string relative;
    while (list >> size && std::getline(list >> std::ws, relative)) {
        std::filesystem::path target = out / relative;
        std::filesystem::create_directories(target.parent_path());
        content.assign(size, 'x');
        int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(size)) {
            std::perror(target.c_str());
            return false;
        }
        ::close(fd);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: io_floor <input dir> <manifest> <output dir>\n", stderr);
        return 2;
    }
    std::size_t read = ReadAll(argv[1]);
    if (!WriteFiles(argv[2], argv[3])) {
        return 1;
    }
    std::printf("%zu bytes read\n", read);
    return 0;
}
