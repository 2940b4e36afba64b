// Writes the manual page at build time:
//   sylva_man_page OUTPUT THEMES_DIRECTORY [THEME_FILE...]
#include <cstdio>
#include <string>
#include <vector>

#include "app/man_page.h"
#include "support/file_output.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: sylva_man_page OUTPUT THEMES_DIRECTORY [THEME_FILE...]\n", stderr);
        return 2;
    }
    const std::vector<std::string> themes(argv + 3, argv + argc);
    sylva::Status status = sylva::WriteWholeFile(argv[1], sylva::ManPage(argv[2], themes));
    if (!status.ok()) {
        std::fprintf(stderr, "sylva_man_page: cannot write %s: %s\n", argv[1],
                     status.reason().c_str());
        return 1;
    }
    return 0;
}
