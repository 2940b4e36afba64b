#include "support/line_reader.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "test_support/scratch_dir.h"

namespace sylva {
namespace {

std::vector<std::string> Pieces(LineReader& reader, std::size_t maxChars) {
    std::vector<std::string> pieces;
    std::string piece;
    while (reader.ReadPiece(piece, maxChars)) {
        pieces.push_back(piece);
    }
    return pieces;
}

TEST(LineReaderReadPiece, BehavesAsATextModeLineReadWithAFixedBuffer) {
    struct Case {
        const char* name;
        std::string content;
        std::size_t maxChars;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"lf lines", "one\ntwo\n", 999, {"one\n", "two\n"}},
        {"last line without lf", "one\ntwo", 999, {"one\n", "two"}},
        {"cr lf pairs become lf", "one\r\ntwo\r\n", 999, {"one\n", "two\n"}},
        {"lone cr stays", "a\rb\r", 999, {"a\rb\r"}},
        {"cr cr lf keeps the first cr", "a\r\r\n", 999, {"a\r\n"}},
        {"long line in pieces", "abcdefgh\n", 3, {"abc", "def", "gh\n"}},
        {"line of exactly the limit leaves its lf alone", "abc\nd\n", 3, {"abc", "\n", "d\n"}},
        {"cr lf counts as one character", "ab\r\nc\n", 3, {"ab\n", "c\n"}},
        {"cr lf after a full piece", "abc\r\n", 3, {"abc", "\n"}},
        {"empty lines", "\n\n", 999, {"\n", "\n"}},
        {"nul bytes are data", std::string("a\0b\n", 4), 999, {std::string("a\0b\n", 4)}},
        {"empty file", "", 999, {}},
        {"byte-order mark at the start is skipped", "\xEF\xBB\xBF/**--\n", 999, {"/**--\n"}},
        {"byte-order mark counts toward no piece",
         "\xEF\xBB\xBF"
         "abcd\n",
         3,
         {"abc", "d\n"}},
        {"byte-order mark alone is an empty file", "\xEF\xBB\xBF", 999, {}},
        {"byte-order mark after the start is data",
         "a\n\xEF\xBB\xBF\n",
         999,
         {"a\n", "\xEF\xBB\xBF\n"}},
        {"part of a byte-order mark is data", "\xEF\xBB\n", 999, {"\xEF\xBB\n"}},
    };
    test::ScratchDir dir;
    for (const Case& c : cases) {
        LineReader fromFile;
        ASSERT_TRUE(fromFile.Open(dir.Write("file.txt", c.content)));
        EXPECT_EQ(Pieces(fromFile, c.maxChars), c.expected) << c.name;
        LineReader fromMemory;
        fromMemory.OpenBuffer(c.content);
        EXPECT_EQ(Pieces(fromMemory, c.maxChars), c.expected) << c.name << " (in memory)";
    }
}

TEST(LineReaderReadPiece, CrLfSplitAcrossTheInternalBufferIsStillOnePair) {
    test::ScratchDir dir;
    // 64 KiB is the reader's buffer; put the CR last in the first buffer load.
    std::string content(64 * 1024 - 1, 'x');
    content += "\r\nend\n";
    std::string path = dir.Write("big.txt", content);
    LineReader reader;
    ASSERT_TRUE(reader.Open(path));
    std::string line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, std::string(64 * 1024 - 1, 'x'));
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "end");
    EXPECT_FALSE(reader.ReadLine(line));
}

TEST(LineReaderReadLine, ReadsWholeLinesOfAnyLength) {
    test::ScratchDir dir;
    std::string longLine(300000, 'r');
    std::string path = dir.Write("index.html", longLine + "\r\nshort\n\nlast");
    LineReader reader;
    ASSERT_TRUE(reader.Open(path));
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) {
        lines.push_back(line);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{longLine, "short", "", "last"}));
}

TEST(LineReaderOpen, RefusesAnythingButARegularFileWithoutBlocking) {
    test::ScratchDir dir;
    EXPECT_FALSE(LineReader().Open(dir.File("missing")));
    EXPECT_FALSE(LineReader().Open(dir.path()));

    std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(LineReader().Open(fifo));

    std::string socketPath = dir.File("socket");
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(LineReader().Open(socketPath));
    ::close(fd);

    std::string dangling = dir.File("dangling");
    ASSERT_EQ(::symlink(dir.File("nowhere").c_str(), dangling.c_str()), 0);
    EXPECT_FALSE(LineReader().Open(dangling));
}

TEST(LineReaderReadError, EndsTheReadingAndIsToldApartFromTheEnd) {
    test::ScratchDir dir;
    LineReader reader;
    std::string piece;
    ASSERT_TRUE(reader.Open(dir.Write("file.txt", "one\n")));
    while (reader.ReadPiece(piece, 999)) {
    }
    EXPECT_EQ(reader.readError(), 0);

    // A regular file as far as stat can tell, whose first read fails.
    ASSERT_TRUE(reader.Open("/proc/self/mem"));
    EXPECT_FALSE(reader.ReadPiece(piece, 999));
    EXPECT_EQ(reader.readError(), EIO);
    EXPECT_FALSE(reader.ReadLine(piece));
    EXPECT_EQ(reader.readError(), EIO);

    reader.OpenBuffer("again\n");
    EXPECT_EQ(reader.readError(), 0);
    EXPECT_TRUE(reader.ReadLine(piece));
}

}  // namespace
}  // namespace sylva
