// LineReader: reads a text file piece by piece, as a C text-mode line read with a fixed buffer
// does, without ever blocking.
//
// Only regular files are opened: a FIFO, a socket, a device or a directory is refused at Open, so
// a walk over a hostile tree can never hang on a read. A CR directly before an LF is dropped (the
// CR LF pair counts as one character); a lone CR stays. A read error ends the reading as the end
// of the file does, and readError() then tells them apart. Bytes already in memory can be read the
// same way, as the content of a file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace sylva {

class LineReader {
  public:
    LineReader() = default;
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;
    ~LineReader();

    // Returns false, with nothing open, when `path` is not a regular file that can be read.
    bool Open(const std::string& path);
    // Reads `content` as if it were a file's bytes. REQUIRES: `content` outlives the reading.
    void OpenBuffer(std::string_view content);
    void Close();

    // The next piece of at most `maxChars` bytes (at least 1): it ends after the first '\n', or
    // when `maxChars` bytes are taken, or at the end of the file. A line of exactly `maxChars`
    // characters therefore arrives as itself and then a piece holding only "\n". Returns false
    // when nothing was left to read.
    bool ReadPiece(std::string& piece, std::size_t maxChars);

    // The next whole line without its line end; false when nothing was left to read.
    bool ReadLine(std::string& line);

    // Appends every byte left to `content` as it stands, CR LF pairs included (for readers that
    // take a whole file at once). Returns false when a read failed (readError() tells why).
    bool ReadRest(std::string& content);

    // True iff a NUL byte stands within the first `bytes` unread bytes (as far as the first read
    // brought them: a regular file's first read is short only when the file is). Reads nothing
    // away: the next piece starts where it would have.
    bool HeadHoldsNul(std::size_t bytes);

    // The errno of the read that ended the reading early; 0 while no read has failed.
    int readError() const { return readError_; }

  private:
    // Makes at least one unread byte available; false at the end of the file or on an error.
    bool Fill();
    // Moves begin_ past a byte-order mark at begin_. REQUIRES: begin_ is the start of the content,
    // and for a file its first read, which takes the whole mark (a regular file's first read is
    // short only when the file is).
    void SkipByteOrderMark();

    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;  // what reads from `fd_` fill
    // Invariant: data_[begin_, end_) are the bytes read but not yet handed out.
    const char* data_ = nullptr;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atFileStart_ = false;  // no read from `fd_` yet
    int readError_ = 0;
};

}  // namespace sylva
