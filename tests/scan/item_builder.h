// Test helpers: block lines from a list, items built by the real constructor, and a generator
// set up for a run.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "engine/scan_source.h"
#include "scan/syl_item.h"

namespace sylva::test {

inline CZTStringArray Lines(std::initializer_list<std::string> lines) {
    CZTStringArray array;
    for (const std::string& line : lines) {
        array.Add(line);
    }
    return array;
}

// An item made as the file scan makes one, with the time 2001-02-03 (any fixed moment).
inline std::unique_ptr<CSylItem> BuildItem(CZTScanSource& generator, std::string declaration,
                                           std::initializer_list<std::string> blockLines = {}) {
    return std::make_unique<CSylItem>(&generator, std::move(declaration), Lines(blockLines),
                                      CZTTime(981158400));
}

// Builds the item and files it into the generator's list, as the scan does.
inline CSylItem& AddBuiltItem(CZTScanSource& generator, std::string declaration,
                              std::initializer_list<std::string> blockLines = {}) {
    int slot = generator.AddItem(BuildItem(generator, std::move(declaration), blockLines));
    return *generator.items[static_cast<std::size_t>(slot)];
}

// A generator with the run fields that item names and links read: output "/out", project
// directory "My_Project", master index "SYLVA_MAIN_INDEX.HTML".
class GeneratorTest : public ::testing::Test {
  protected:
    GeneratorTest() {
        generator_.outputPath = "/out";
        generator_.projectDirName = "My_Project";
        generator_.masterIndexName = "SYLVA_MAIN_INDEX.HTML";
    }

    CZTScanSource generator_;
};

}  // namespace sylva::test
