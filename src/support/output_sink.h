// OutputSink: where a run's stages hand their output files. The plain sink writes each file as
// it comes; a run that keeps what earlier runs wrote gives the stages one that leaves a file
// alone when it already holds the bytes (so its inode and modification time stay) and tells
// which files a run no longer writes.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "support/status.h"

namespace sylva {

// The bytes of an output file. Pages end with the run's date: from `datedFrom` on the bytes are
// `undatedTail` with the date filled in, so that a sink can tell two pages apart by all but
// their date. Files without a date have datedFrom == npos.
struct OutputText {
    // A file without a date.
    OutputText(std::string_view text) : bytes(text) {}  // NOLINT: a text is an undated file
    OutputText(std::string_view text, std::size_t from, std::string_view tail)
        : bytes(text), datedFrom(from), undatedTail(tail) {}

    std::string_view bytes;
    std::size_t datedFrom = std::string_view::npos;
    std::string_view undatedTail;
};

// What an output file is: a sink keeps the files of a kind together.
enum class OutputKind : unsigned char {
    kDescriptionPage,
    kProjectIndex,  // the project index page and the index frame
    kFrameSet,
    kSearchIndex,
    kImage,  // a copy of an image the comments show
    kCount
};

// An output file written while it is assembled, too large to be held whole first.
class OutputStream {
  public:
    virtual ~OutputStream() = default;
    virtual void Append(std::string_view text) = 0;
    // `dated` holds the run's date; `undated` is the same text without it.
    virtual void AppendDated(std::string_view dated, std::string_view undated) = 0;
    // Ends the file; the first failure of creating or writing it, or Ok.
    virtual Status Close() = 0;
    // True when the file could not even be created.
    virtual bool OpenFailed() const = 0;
};

class OutputSink {
  public:
    virtual ~OutputSink() = default;
    // Writes `text` to `path` (or finds it there already). OpenFailed when the file cannot be
    // created, WriteFailed when it cannot be written whole, as WriteWholeFile tells them.
    virtual Status Write(const std::string& path, const OutputText& text, OutputKind kind) = 0;
    // A file to be written piece by piece, its outcome known at Close. May be called on another
    // thread than Write, and while Write runs.
    virtual std::unique_ptr<OutputStream> Open(const std::string& path, OutputKind kind) = 0;
};

// The sink that writes every file as it comes, replacing what was there.
OutputSink& DirectOutput();

}  // namespace sylva
