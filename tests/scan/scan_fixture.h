// Test helpers for the scan layer: documentation blocks written as source text and scanned from
// a buffer, as the scanner makes every item, with the protocol and progress kept in memory.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "scan/scan.h"
#include "support/protocol.h"
#include "test_support/recording_progress.h"
#include "test_support/scratch_dir.h"

namespace sylva::test {

// The last write time of every test source: 2001-02-03 (any fixed moment).
inline const CZTTime kSourceTime(981158400);

// The source text of one block with the default markers: its lines, then `declaration` on the
// lines below it, then an empty line. REQUIRES: no line of `declaration` is shorter than two
// characters or opens with '{' (that would end the declaration early).
inline std::string Block(std::string_view declaration,
                         std::initializer_list<std::string_view> lines = {}) {
    std::string source = "/**--\n";
    for (std::string_view line : lines) {
        source.append(line);
        source.push_back('\n');
    }
    source.append("--e*/\n");
    source.append(declaration);
    source.append("\n\n");
    return source;
}

// A scan's settings, item list and reporting, kept in memory.
class Scanned {
  public:
    // Scans `source` as the file `path`; returns the number of items made. The list is not
    // sorted: call items.Sort() before reading it in order.
    int Scan(std::string_view source, const std::string& path = "test.h",
             CZTTime time = kSourceTime) {
        ScanJob job = Job();
        return ScanBuffer(job, source, path, time);
    }

    // The item made of one block (Block); it is the last of the list until the list is sorted.
    const CSylItem& Add(std::string_view declaration,
                        std::initializer_list<std::string_view> lines = {},
                        CZTTime time = kSourceTime) {
        EXPECT_EQ(Scan(Block(declaration, lines), "test.h", time), 1) << declaration;
        return *items[items.size() - 1];
    }

    // A job over these settings, list and reporter, as a run sets it up.
    ScanJob Job(const std::string& scanPath = {}) {
        return ScanJob{settings, items, reporter, scanPath, ".CPP|.C|.H|.SYL", "/out", "Demo"};
    }

    std::vector<std::string> ProtocolLines() const {
        return {protocol.Lines().begin(), protocol.Lines().end()};
    }

    // Item names in list order.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const ItemList::Slot& item : items) {
            names.push_back(item ? item->name : "(empty)");
        }
        return names;
    }

    Settings settings;
    RunOptions options;
    ItemList items;
    MemoryListBox protocol;
    RecordingProgress progress;
    Reporter reporter{&protocol, &progress};
};

// A test with a Scanned and a scratch directory for trees to walk.
class ScanTest : public ::testing::Test {
  protected:
    ScratchDir dir_;
    Scanned scanned_;
};

}  // namespace sylva::test
