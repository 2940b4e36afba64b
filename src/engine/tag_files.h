// The tag files of a run: those of other sites, read before the scan so that the pages link names
// documented there, and the project's own, written after its pages.
#pragma once

#include <optional>
#include <string>

#include "scan/items.h"
#include "scan/settings.h"
#include "scan/tag_file.h"
#include "support/digest.h"
#include "support/reporter.h"

namespace sylva {

// A tag file bigger than this is not read: no site's is near it, and reading one would hold the
// run up for nothing.
inline constexpr long long kMaxTagFileBytes = 1LL << 30;

// Why the run cannot be right: a tag file SYL_TAG_FILES names does not exist or is a folder, so
// every link it was named for would silently be missing. Nothing when each is a file.
std::optional<std::string> TagFilesProblem(const Settings& settings);

// The names of the tag files SYL_TAG_FILES names, in order (the first to name a name wins). A
// file that is malformed, binary, too big or whose location is unsafe gives one warning and
// nothing; entries with an unsafe address give one warning per file and are left out.
ExternalNames ReadTagFiles(const Settings& settings, Reporter& reporter);

// The digest of every name and address of `names`: the pages depend on it.
Digest DigestOf(const ExternalNames& names);

// Writes the tag file of `items` where SYL_TAG_FILE says, replacing it in one step; a failure is
// the run's failure. Nothing when the setting is empty.
void WriteTagFile(const Settings& settings, const ItemList& items, Reporter& reporter);

}  // namespace sylva
