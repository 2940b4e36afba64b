// DiagnosticLog: every warning and error of a run written to a file for machines, as it is
// reported: SARIF 2.1.0, which code hosts turn into annotations on the changed lines, or JSON
// Lines, one object per diagnostic with the same fields. Nothing is kept in memory but the set of
// rule ids; the file appears under its name only when it is complete.
//
// File locations are written relative to a base directory the user names (default: the current
// one), as code hosts need them: SARIF gives the base as the uriBaseId "SRCROOT" with its absolute
// address in originalUriBaseIds; a file outside the base keeps its absolute address.
#pragma once

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "support/diagnostic_sink.h"
#include "support/staged_file.h"
#include "support/status.h"

namespace sylva {

enum class DiagnosticFormat { kSarif, kJsonLines };

// The format `name` asks for ("sarif" or "jsonl", any letter case); nothing for another word.
std::optional<DiagnosticFormat> ParseDiagnosticFormat(std::string_view name);
// The format a file of that name is written in: JSON Lines for a ".jsonl" name, else SARIF.
DiagnosticFormat DiagnosticFormatOf(std::string_view path);

// `directory` (empty: the current one) as an absolute, normal path ending in '/'.
std::string DiagnosticsBase(const std::string& directory);

// `file` as a URI reference relative to the absolute directory `base`: its path below the base
// with every byte outside the unreserved set and '/' written as %XX, or, for a file outside the
// base, the absolute "file://" address. Sets `relative` to which of the two it is.
std::string FileUri(std::string_view file, const std::string& base, bool& relative);

class DiagnosticLog : public DiagnosticSink {
  public:
    // Opens a temporary file beside `path`; see status(). `next` (none: nobody) also receives
    // every warning and error, so the log can stand between a run and its terminal.
    DiagnosticLog(std::string path, DiagnosticFormat format, const std::string& baseDirectory,
                  std::string_view toolVersion, DiagnosticSink* next);
    ~DiagnosticLog() override;
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    void Warning(std::string_view file, int line, std::string_view text) override;
    void WarningOfKind(std::string_view file, int line, const WarningMessage& message) override;
    void Error(std::string_view line) override;

    // Writes the end of the document and puts the file in place. REQUIRES: called once. Fails when
    // the file could not be opened, written or renamed (a folder or a symbolic link at `path`, a
    // directory that cannot be written, a full disk); the file at `path` is then as it was.
    Status Finish();

  private:
    void Write(std::string_view level, std::string_view rule, std::string_view text,
               std::string_view file, int line, std::string_view entity);
    void Append(const std::string& bytes);

    std::string path_;
    DiagnosticFormat format_;
    std::string base_;
    std::string toolVersion_;
    DiagnosticSink* next_;
    StagedFile out_;
    std::set<std::string, std::less<>> rules_;
    bool first_ = true;
};

}  // namespace sylva
