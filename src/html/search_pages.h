// The search index in a generation run: whether the run writes it, what each description page
// gives it, and writing it into the project directory at the end of the page stage.
#pragma once

#include <string>
#include <string_view>

#include "html/search_index.h"

#include "html/page_text.h"

namespace sylva {

// True when the settings switch the search on (SYL_HTML_SEARCH).
bool SearchEnabled(const Settings& settings);

// What the index holds of `item`, whose page shows `text`: the texts of the sections its page
// shows, but for See also (names of other items, each found by its own name, and the two links
// every page ends with), Doc type (its words are the item's type) and the date line that the run
// adds to every History section. Safe to call from several threads.
IndexedEntry SearchEntryOf(const PageJob& job, const CSylItem& item, const PageText& text);

// Where a run's search index goes: files of the project directory. A file that cannot be written
// is reported as a failure of the run (and the index writes nothing more).
SearchIndexWriter::FileWriter SearchFileWriter(PageJob& job);

// Writes the rest of the index once every entry is added (SearchIndexWriter::Finish).
void FinishSearchIndex(PageJob& job, SearchIndexWriter& index);

}  // namespace sylva
