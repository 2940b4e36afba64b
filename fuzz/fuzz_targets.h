// The fuzz targets: each takes arbitrary bytes, feeds them to one reader of input that Sylva did
// not write, and aborts when a property that must hold for every input is broken. libFuzzer
// drives them through libfuzzer_entry.cpp; the test suite replays the committed inputs through
// the same functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sylva::fuzz {

// A source file's bytes: scanning, item construction and section parsing, and the reading of
// its documentation comments.
int FuzzScan(const std::uint8_t* data, std::size_t size);
// A configuration file's bytes, then a small scan under the settings they give.
int FuzzConfig(const std::uint8_t* data, std::size_t size);
// A project name (the first line) and a master index page (the rest): reading, adding the
// project and removing it again.
int FuzzMasterIndex(const std::uint8_t* data, std::size_t size);
// Blocks separated by NUL bytes, each a declaration line and its block lines: items built from
// them, then the cross-linking of their quoted names.
int FuzzCrossLink(const std::uint8_t* data, std::size_t size);
// A project name (the first line) and a source file (the rest): a whole generation run, with
// its pages and master index written to a scratch directory.
int FuzzRun(const std::uint8_t* data, std::size_t size);
// Any bytes as a JSON string of the diagnostics files and the baseline: it always parses.
int FuzzJsonText(const std::uint8_t* data, std::size_t size);

// A Doxyfile's bytes: reading (with @INCLUDE of itself and its neighbours), then the mapping to
// a run.
int FuzzDoxyfile(const std::uint8_t* data, std::size_t size);

// A tag file's bytes: reading it as another site's, under a fixed web location.
int FuzzTagFile(const std::uint8_t* data, std::size_t size);

// Aborts with `what` on standard error unless `holds`.
void Require(bool holds, std::string_view what);

}  // namespace sylva::fuzz
