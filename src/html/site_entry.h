// The site's entry page: "index.html" in the output directory, which leads to the master index,
// so that an output directory published as it is answers its root address.
#pragma once

#include <string>
#include <string_view>

#include "html/html.h"
#include "support/reporter.h"

namespace sylva {

// The entry page that leads to the master index `masterIndexName`: a refresh and a plain link,
// so that it needs no script and works from file:// as from a server.
std::string SiteEntryPage(std::string_view masterIndexName);

// Writes the entry page of `outputPath` unless the file there already holds it. A file of that
// name that Sylva did not write (the user's own start page) or that is a symbolic link is left
// as it is, with a protocol line; nor is anything written when the master index itself is named
// "index.html". A page that cannot be written is a failure of the run.
// REQUIRES: the caller holds the master index's lock, which also guards this page.
void WriteSiteEntry(Reporter& reporter, const std::string& outputPath,
                    std::string_view masterIndexName);

}  // namespace sylva
