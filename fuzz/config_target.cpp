// Fuzzing the configuration loader: the bytes of a configuration file, loaded over the defaults;
// then a small source is scanned and cross-linked under whatever settings they gave, so that
// hostile markers, keyword lists, type words and templates meet the scanner.
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "fuzz_targets.h"
#include "support/file_output.h"

namespace sylva::fuzz {

namespace {

constexpr std::string_view kSample =
    "// Drawing\n"
    "/**--\n"
    "Group: Canvas\n"
    "Description: Draws a \"Line\" on the \"Canvas\".\n"
    "Parameter: SEE BELOW\n"
    "Doc type: public constructor\n"
    "See also: Line\n"
    "--e*/\n"
    "void Canvas::Draw(int x,   // the column\n"
    "                  int y)   // the row\n"
    "{\n"
    "/**==\n"
    "Description:\n"
    "<pre>\n"
    "  Line(1, 2);\n"
    "</pre>\n"
    "Return: \"Draw\"\n"
    "History: 1.0\n"
    "Doc type: private helper internal\n"
    "==e*/\n"
    "typedef struct {\n"
    "    int a;  // first\n"
    "} Line;\n"
    "\n";

}  // namespace

int FuzzConfig(const std::uint8_t* data, std::size_t size) {
    const std::string path = ScratchDirectory() + "/config.ini";
    Require(WriteWholeFile(path, AsText(data, size)).ok(), "cannot write the input");
    FuzzProject fuzzed(size > 0 ? data[0] : 0);
    MemoryListBox protocol;
    Require(LoadConfig(fuzzed.settings, path, &protocol), "an existing file was not read");
    // A value read from the file is one line's; only built-in defaults span lines.
    for (int id = 0; id < kSettingCount; ++id) {
        const std::string& value = fuzzed.settings[static_cast<SettingId>(id)];
        Require(
            value == kSettingDefinitions[id].defaultValue || value.find('\n') == std::string::npos,
            "a setting read from the file holds a line feed");
    }
    fuzzed.Scan(kSample, "/src/sample.cpp");
    RequireSoundItems(fuzzed);
    PageJob job = fuzzed.Job();
    CrossLink(job);
    return 0;
}

}  // namespace sylva::fuzz
